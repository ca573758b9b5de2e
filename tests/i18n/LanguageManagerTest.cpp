#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "i18n/LanguageManager.h"
#include "tests/support/LogCapture.h"

namespace {

namespace fs = std::filesystem;
using qv::LanguageManager;

// A scratch language folder, removed with the object.
class LanguageFolder {
 public:
  LanguageFolder() {
    std::string pattern = (fs::temp_directory_path() / "qvlangXXXXXX").string();
    path_ = mkdtemp(&pattern[0]);
  }
  ~LanguageFolder() { fs::remove_all(path_); }
  // Writes a file and returns its path as the manager builds it (folder, "\\", name).
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream((fs::path(path_) / name).string(), std::ios::binary) << bytes;
    return qv::JoinLanguagePath(path_, name);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

std::string LanguageFile(const std::string& name, const std::string& body = "") {
  return "[info]\r\nlang name=" + name + "\r\nauthor=by " + name + "\r\nversion=2\r\nqv ver=1.04\r\n" + body;
}

std::string Look(const LanguageManager& m, const std::string& section, const std::string& key) {
  std::string out = "<unchanged>";
  m.Lookup(section, key, &out);
  return out;
}

TEST(LanguageScan, SortedByNameIgnoringCaseAndFiltered) {
  LanguageFolder folder;
  folder.Write("qveng.lng", LanguageFile("english"));
  folder.Write("qvdeu.lng", LanguageFile("Deutsch"));
  folder.Write("QVFRA.LNG", LanguageFile("Fran\xe7" "ais"));
  folder.Write("qvbad.lng", "[Strings]\r\n0003=no info\r\n");
  folder.Write("other.lng", LanguageFile("Other"));
  folder.Write("qvita.txt", LanguageFile("Italiano"));
  fs::create_directory(fs::path(folder.path()) / "qvdir.lng");

  LanguageManager manager;
  qvtest::LogCapture log;
  ASSERT_TRUE(manager.ScanLanguages(folder.path(), "qv*.lng"));
  std::vector<std::string> names;
  manager.GetLanguageNames(&names);
  EXPECT_EQ(names, (std::vector<std::string>{"Deutsch", "english", "Fran\xe7" "ais"}));
  EXPECT_EQ(manager.languages()[0].author, "by Deutsch");
  EXPECT_EQ(manager.languages()[0].path, folder.path() + "\\qvdeu.lng");
  ASSERT_EQ(log.lines().size(), 1u);  // the file without "info"
  EXPECT_NE(log.lines()[0].find("qvbad.lng"), std::string::npos);
  EXPECT_FALSE(manager.HasLanguage());  // scanning loads nothing
}

TEST(LanguageScan, FailsWithoutUsableFiles) {
  LanguageFolder empty, broken;
  broken.Write("qvbad.lng", "no sections at all");
  struct Row {
    const char* name;
    std::string folder;
  } rows[] = {{"empty folder text", ""},
              {"empty folder", empty.path()},
              {"missing folder", empty.path() + "/gone"},
              {"only a file without info", broken.path()}};
  for (const Row& r : rows) {
    LanguageManager manager;
    qvtest::LogCapture log;
    EXPECT_FALSE(manager.ScanLanguages(r.folder, "qv*.lng")) << r.name;
    EXPECT_TRUE(manager.languages().empty()) << r.name;
  }
}

TEST(LanguageLoad, ReplacesOnlyOnSuccess) {
  LanguageFolder folder;
  std::string eng = folder.Write("qveng.lng", LanguageFile("English", "[Menu]\r\nRemove=Remove\r\n"));
  std::string bad = folder.Write("qvbad.lng", LanguageFile("Bad", "[Menu]\r\nRemove=Weg\r\n=oops\r\n"));
  LanguageManager manager;
  ASSERT_TRUE(manager.ScanLanguages(folder.path(), "qv*.lng"));
  ASSERT_TRUE(manager.LoadLanguage(eng));
  EXPECT_EQ(Look(manager, "menu", "remove"), "Remove");

  {
    qvtest::LogCapture log;
    EXPECT_FALSE(manager.LoadLanguage(bad));
    EXPECT_EQ(log.lines().size(), 1u);
  }
  {
    qvtest::LogCapture log;
    EXPECT_FALSE(manager.LoadLanguage(folder.path() + "/qvnone.lng"));
    EXPECT_EQ(log.lines().size(), 1u);
  }
  EXPECT_EQ(Look(manager, "MENU", "REMOVE"), "Remove");
  std::string path;
  ASSERT_TRUE(manager.GetCurrentPath(&path));
  EXPECT_EQ(path, eng);
  EXPECT_EQ(manager.GetCurrentIndex(), 1);  // Bad, English
}

TEST(LanguageLoad, ByIndexAndCurrentIndex) {
  LanguageFolder folder;
  folder.Write("qvb.lng", LanguageFile("Beta", "[s]\r\nk=b\r\n"));
  folder.Write("qva.lng", LanguageFile("alpha", "[s]\r\nk=a\r\n"));
  LanguageManager manager;
  ASSERT_TRUE(manager.ScanLanguages(folder.path(), "qv*.lng"));
  EXPECT_EQ(manager.GetCurrentIndex(), -1);
  struct Row {
    int index;
    bool ok;
    const char* value;
    int current;
    std::size_t logLines;
  } rows[] = {{1, true, "b", 1, 0}, {0, true, "a", 0, 0}, {2, false, "a", 0, 1}, {-1, false, "a", 0, 1}};
  for (const Row& r : rows) {
    qvtest::LogCapture log;
    EXPECT_EQ(manager.LoadLanguageAt(r.index), r.ok) << r.index;
    EXPECT_EQ(Look(manager, "s", "k"), r.value) << r.index;
    EXPECT_EQ(manager.GetCurrentIndex(), r.current) << r.index;
    EXPECT_EQ(log.lines().size(), r.logLines) << r.index;
  }
  // The current path is compared without regard to case.
  std::string upper = folder.path() + "\\QVB.LNG";
  fs::copy_file(folder.path() + "/qvb.lng", folder.path() + "/QVB.LNG");
  ASSERT_TRUE(manager.LoadLanguage(upper));
  EXPECT_EQ(manager.GetCurrentIndex(), 1);
  ASSERT_TRUE(manager.LoadLanguage(folder.path() + "/../" + fs::path(folder.path()).filename().string() + "/qva.lng"));
  EXPECT_EQ(manager.GetCurrentIndex(), -1);  // the same file under another path is not in the list
}

TEST(LanguageLoad, SettingsFileElseEnglishElseFirstThatLoads) {
  LanguageFolder folder;
  std::string eng = folder.Write("qveng.lng", LanguageFile("English (UK)", "[s]\r\nk=en\r\n"));
  std::string deu = folder.Write("qvdeu.lng", LanguageFile("Deutsch", "[s]\r\nk=de\r\n"));
  folder.Write("qvaaa.lng", LanguageFile("Afrikaans", "[s]\r\n=broken\r\n"));
  LanguageManager manager;
  ASSERT_TRUE(manager.ScanLanguages(folder.path(), "qv*.lng"));
  qvtest::LogCapture log;
  EXPECT_EQ(manager.EnglishIndex(), 2);
  ASSERT_TRUE(manager.LoadLanguageOrFirst(deu));
  EXPECT_EQ(Look(manager, "s", "k"), "de");
  // A settings file that no longer exists: the English language, though Deutsch sorts first.
  ASSERT_TRUE(manager.LoadLanguageOrFirst(folder.path() + "/qvgone.lng"));
  EXPECT_EQ(Look(manager, "s", "k"), "en");
  EXPECT_EQ(manager.GetCurrentIndex(), 2);
  EXPECT_EQ(manager.DefaultLanguagePath(), eng);
  // Without an English file, the first of the sorted list that loads.
  fs::remove(fs::path(folder.path()) / "qveng.lng");
  ASSERT_TRUE(manager.ScanLanguages(folder.path(), "qv*.lng"));
  EXPECT_EQ(manager.EnglishIndex(), -1);
  ASSERT_TRUE(manager.LoadLanguageOrFirst(folder.path() + "/qvgone.lng"));
  EXPECT_EQ(Look(manager, "s", "k"), "de");
}

TEST(LanguageLoad, NothingLoadsWhenEveryFileIsBroken) {
  LanguageFolder folder;
  folder.Write("qvaaa.lng", LanguageFile("A", "[s]\r\n=x\r\n"));
  LanguageManager manager;
  qvtest::LogCapture log;
  ASSERT_TRUE(manager.ScanLanguages(folder.path(), "qv*.lng"));
  EXPECT_FALSE(manager.LoadLanguageOrFirst(""));
  EXPECT_FALSE(manager.HasLanguage());
  qv::LanguageInfo info;
  std::size_t before = log.lines().size();
  EXPECT_FALSE(manager.GetCurrentInfo(&info));
  EXPECT_EQ(Look(manager, "s", "k"), "<unchanged>");
  EXPECT_EQ(log.lines().size(), before + 2);  // no info, no language for the lookup
}

TEST(LanguageLookup, IgnoresCaseResolvesEscapesOnACopy) {
  LanguageFolder folder;
  std::string file = folder.Write(
      "qveng.lng", LanguageFile("English", "[Menu]\r\nRemove=Re\\tmove\r\n[Strings]\r\n0011=Bad:\\n%s\r\n"));
  LanguageManager manager;
  ASSERT_TRUE(manager.LoadLanguage(file));
  struct Row {
    const char *section, *key, *value;
  } rows[] = {{"menu", "remove", "Re\tmove"},   {"MENU", "Remove", "Re\tmove"},
              {"Strings", "0011", "Bad:\n%s"},  {"Strings", "0011", "Bad:\n%s"},
              {"Strings", "0012", "<unchanged>"}, {"Nope", "0011", "<unchanged>"},
              {"info", "lang name", "<unchanged>"}};
  for (const Row& r : rows) EXPECT_EQ(Look(manager, r.section, r.key), r.value) << r.section << "/" << r.key;

  qv::LanguageInfo info;
  ASSERT_TRUE(manager.GetCurrentInfo(&info));
  EXPECT_EQ(info.name, "English");
  EXPECT_EQ(info.author, "by English");
  EXPECT_EQ(info.version, "2");
  EXPECT_EQ(info.programVersion, "1.04");
  EXPECT_EQ(info.path, file);
}

TEST(LanguageRescan, PicksUpEditsAndNewFiles) {
  LanguageFolder folder;
  std::string eng = folder.Write("qveng.lng", LanguageFile("English", "[s]\r\nk=old\r\n"));
  LanguageManager manager;
  ASSERT_TRUE(manager.ScanLanguages(folder.path(), "qv*.lng"));
  ASSERT_TRUE(manager.LoadLanguageAt(0));

  folder.Write("qveng.lng", LanguageFile("English", "[s]\r\nk=new\r\n"));
  folder.Write("qvdeu.lng", LanguageFile("Deutsch"));
  ASSERT_TRUE(manager.Rescan());
  EXPECT_EQ(Look(manager, "s", "k"), "new");
  EXPECT_EQ(manager.languages().size(), 2u);
  EXPECT_EQ(manager.GetCurrentIndex(), 1);

  // The current file broken on disk: the rescan reports it and the language stays as it was.
  folder.Write("qveng.lng", LanguageFile("English", "[s]\r\n=x\r\n"));
  qvtest::LogCapture log;
  EXPECT_FALSE(manager.Rescan());
  EXPECT_EQ(Look(manager, "s", "k"), "new");
}

}  // namespace

namespace {

TEST(FilePattern, WildcardsIgnoringCase) {
  struct Row {
    const char *name, *pattern;
    bool match;
  } rows[] = {
      {"qveng.lng", "qv*.lng", true},   {"QVENG.LNG", "qv*.lng", true},  {"qv.lng", "qv*.lng", true},
      {"qveng.lngx", "qv*.lng", false}, {"xqveng.lng", "qv*.lng", false}, {"qveng.lng.lng", "qv*.lng", true},
      {"qvlng", "qv*.lng", false},      {"a.b", "?.?", true},             {"ab.b", "?.?", false},
      {"", "*", true},                  {"", "?", false},                 {"abc", "a**c", true},
      {"\xe4qv.lng", "*qv.lng", true},
  };
  for (const Row& r : rows)
    EXPECT_EQ(qv::MatchesFilePattern(r.name, r.pattern), r.match) << r.name << " " << r.pattern;
}

TEST(LanguagePath, JoinedWithOneBackslash) {
  EXPECT_EQ(qv::JoinLanguagePath("C:\\Quorvex\\language", "qveng.lng"), "C:\\Quorvex\\language\\qveng.lng");
  EXPECT_EQ(qv::JoinLanguagePath("C:\\", "qveng.lng"), "C:\\qveng.lng");
  EXPECT_EQ(qv::JoinLanguagePath("/tmp/", "qveng.lng"), "/tmp/qveng.lng");
  EXPECT_EQ(qv::JoinLanguagePath("", "qveng.lng"), "qveng.lng");
}

}  // namespace
