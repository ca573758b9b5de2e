#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "core/mainwindow/MainWindowKeys.h"
#include "i18n/LanguageFile.h"
#include "i18n/LanguageKeys.h"
#include "i18n/LanguageManager.h"
#include "i18n/MessageKeys.h"
#include "platform/AsciiText.h"

namespace {

const char* const kShippedFiles[] = {"qveng.lng", "qvdeu.lng"};

std::string ShippedPath(const char* name) { return std::string(QV_LANGUAGE_SOURCE_DIR) + "/" + name; }

qv::LanguageText LoadShipped(const char* name) {
  std::string bytes;
  EXPECT_TRUE(qv::ReadFileBytes(ShippedPath(name), &bytes)) << name;
  qv::LanguageText text;
  qv::LanguageParseError error;
  EXPECT_TRUE(qv::ParseLanguage(bytes.data(), bytes.size(), &text, &error))
      << name << ": " << error.reason << " at line " << error.line;
  return text;
}

const std::pair<std::string, std::string>* Find(const qv::LanguageText& text, const char* section,
                                               const char* key) {
  auto s = text.sections.find(platform::LowerAscii(section));
  if (s == text.sections.end()) return nullptr;
  auto k = s->second.find(platform::LowerAscii(key));
  return k == s->second.end() ? nullptr : &k->second;
}

// Every (section, key) the program looks up has a text in every shipped language.
TEST(LanguageKeys, ShippedFilesHoldEveryKeyTheProgramLooksUp) {
  for (const char* file : kShippedFiles) {
    qv::LanguageText text = LoadShipped(file);
    std::size_t checked = 0;
    for (const qv::LanguageKeyTable& table : qv::LanguageKeyTables()) {
      for (std::size_t i = 0; i < table.count; ++i) {
        const qv::LanguageKey& k = table.keys[i];
        const auto* pair = Find(text, k.section, k.key);
        ASSERT_NE(pair, nullptr) << file << " lacks [" << k.section << "] " << k.key << " of "
                                 << table.user;
        EXPECT_FALSE(pair->second.empty()) << file << " [" << k.section << "] " << k.key;
        ++checked;
      }
    }
    EXPECT_GT(checked, 150u);
  }
}

// The main window keeps its keys beside its menus and registers them; the registry then holds
// every one of them, each once.
TEST(LanguageKeys, TheMainWindowRegistersTheKeysItUses) {
  ASSERT_TRUE(qv::MainWindowKeysRegistered());
  const qv::LanguageKeyTable* table = qv::FindLanguageKeyTable("Main Window");
  ASSERT_NE(table, nullptr);
  std::set<std::pair<std::string, std::string>> registered;
  for (std::size_t i = 0; i < table->count; ++i)
    EXPECT_TRUE(registered.insert({table->keys[i].section, table->keys[i].key}).second)
        << table->keys[i].key << " is registered twice";
  std::vector<std::pair<std::string, std::string>> used;
  for (const char* heading : qv::MenuBarHeadings()) used.push_back({"Menubar", heading});
  for (const qv::MenuText& item : qv::MenuBarTexts()) used.push_back({"Menu", item.key});
  for (const qv::MenuText& item : qv::TrayMenuTexts()) used.push_back({"Menu", item.key});
  used.push_back({"Menu", qv::ScreenSaverToggleKey(true)});
  used.push_back({"Menu", qv::ScreenSaverToggleKey(false)});
  for (const qv::PageEntry& page : qv::PageEntries()) used.push_back({"Page Name", page.nameKey});
  for (const auto& key : used)
    EXPECT_TRUE(registered.count(key)) << "[" << key.first << "] " << key.second;
  EXPECT_EQ(registered.size(), 25u);
}

// A key in a shipped file that nothing looks up is a typo or a leftover.
TEST(LanguageKeys, ShippedFilesHoldNoUnknownKeys) {
  std::set<std::pair<std::string, std::string>> known;
  for (const qv::LanguageKeyTable& table : qv::LanguageKeyTables())
    for (std::size_t i = 0; i < table.count; ++i)
      known.insert({platform::LowerAscii(table.keys[i].section), platform::LowerAscii(table.keys[i].key)});
  for (const char* file : kShippedFiles) {
    qv::LanguageText text = LoadShipped(file);
    for (const auto& section : text.sections)
      for (const auto& key : section.second)
        EXPECT_TRUE(known.count({section.first, key.first}))
            << file << ": [" << section.first << "] " << key.second.first << " is looked up nowhere";
  }
}

// Texts used as formats take exactly one "%s" (the range refusal two "%d"); every other text has none, so that a "%" can
// never swallow a path or show a stray placeholder.
TEST(LanguageKeys, FormatsTakeExactlyOnePath) {
  const std::set<std::pair<std::string, std::string>> formats = {
      {"strings", qv::msg::kPictureLoad},  {"strings", qv::msg::kPictureSave},
      {"strings", qv::msg::kLogonFailed},  {"strings", qv::msg::kApplyFailed},
      {"strings", qv::msg::kNoBootBitmap}, {"quick setup wizard", "0001"},
      {"quick setup welcome page", "0002"}, {"about page", "001"},
  };
  for (const char* file : kShippedFiles) {
    qv::LanguageText text = LoadShipped(file);
    for (const auto& section : text.sections) {
      for (const auto& key : section.second) {
        std::string value = qv::ResolveEscapes(key.second.second);
        std::size_t count = 0;
        for (std::size_t at = value.find('%'); at != std::string::npos; at = value.find('%', at + 1))
          ++count;
        // The range refusal takes the two limits instead of a path.
        if (section.first == "strings" && key.first == qv::msg::kNumberRange) {
          EXPECT_EQ(count, 2u) << file;
          EXPECT_NE(value.find("%d"), value.rfind("%d")) << file << " " << key.first;
          continue;
        }
        bool isFormat = formats.count({section.first, key.first}) > 0;
        EXPECT_EQ(count, isFormat ? 1u : 0u) << file << " [" << section.first << "] " << key.first;
        if (isFormat) EXPECT_NE(value.find("%s"), std::string::npos) << file << " " << key.first;
      }
    }
  }
}

TEST(LanguageKeys, TablesHaveNoRepeatsAndCanBeFound) {
  for (const qv::LanguageKeyTable& table : qv::LanguageKeyTables()) {
    std::set<std::pair<std::string, std::string>> seen;
    for (std::size_t i = 0; i < table.count; ++i)
      EXPECT_TRUE(seen.insert({platform::LowerAscii(table.keys[i].section), platform::LowerAscii(table.keys[i].key)}).second)
          << table.user << ": " << table.keys[i].section << "/" << table.keys[i].key;
    EXPECT_EQ(qv::FindLanguageKeyTable(table.user), &table);
  }
  EXPECT_EQ(qv::FindLanguageKeyTable("No Such Page"), nullptr);
}

TEST(LanguageKeys, ShippedFolderListsDeutschThenEnglish) {
  qv::LanguageManager manager;
  ASSERT_TRUE(manager.ScanLanguages(QV_LANGUAGE_SOURCE_DIR, "qv*.lng"));
  std::vector<std::string> names;
  manager.GetLanguageNames(&names);
  EXPECT_EQ(names, (std::vector<std::string>{"Deutsch", "English"}));
  ASSERT_TRUE(manager.LoadLanguageOrFirst(manager.DefaultLanguagePath()));
  std::string text;
  ASSERT_TRUE(manager.Lookup("menu", "select all", &text));
  EXPECT_EQ(text, "Select All\tCtrl + A");
  ASSERT_TRUE(manager.LoadLanguageAt(0));
  ASSERT_TRUE(manager.Lookup("Item List Column", "Height", &text));
  EXPECT_EQ(text, "H\xf6he");  // 8-bit text of the Windows Latin-1 code page
}

}  // namespace
