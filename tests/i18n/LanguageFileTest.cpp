#include <gtest/gtest.h>

#include <string>

#include "i18n/LanguageFile.h"

namespace {

using qv::LanguageText;

std::string ValueOf(const LanguageText& text, const std::string& section, const std::string& key) {
  auto s = text.sections.find(section);
  if (s == text.sections.end()) return "<no section>";
  auto k = s->second.find(key);
  return k == s->second.end() ? "<no key>" : k->second.second;
}

bool Parse(const std::string& bytes, LanguageText* text, qv::LanguageParseError* error = nullptr) {
  return qv::ParseLanguage(bytes.data(), bytes.size(), text, error);
}

TEST(LanguageInfo, DescriptorFromTheInfoSection) {
  struct Row {
    const char* name;
    std::string file;
    bool ok;
    const char *lang, *author, *version, *programVersion;
  } rows[] = {
      {"plain", "[info]\r\nlang name=English\r\nauthor=A B\r\nversion=1.2\r\nqv ver=1.04\r\n", true,
       "English", "A B", "1.2", "1.04"},
      {"names and keys ignore case", "[INFO]\r\nLang Name = Deutsch \r\nAUTHOR=x", true, "Deutsch", "x", "", ""},
      {"after another section", "[Strings]\r\n0003=a\r\n[ info ]\r\nlang name=L", true, "L", "", "", ""},
      {"values stay unescaped", "[info]\r\nlang name=a\\nb", true, "a\\nb", "", "", ""},
      {"other keys ignored", "[info]\r\ncolour=red\r\nlang name=L", true, "L", "", "", ""},
      {"stops at an empty key", "[info]\r\nauthor=x\r\n=y\r\nlang name=L", true, "", "x", "", ""},
      {"a [ inside an earlier value is no header", "[a]\r\nk=[info]\r\n[b]\r\nlang name=X", false, "", "", "", ""},
      {"no info section", "[Strings]\r\nlang name=L", false, "", "", "", ""},
      {"info header cut off", "[inf", false, "", "", "", ""},
  };
  for (const Row& r : rows) {
    qv::LanguageInfo info;
    EXPECT_EQ(qv::ParseLanguageInfo(r.file.data(), r.file.size(), &info), r.ok) << r.name;
    if (!r.ok) continue;
    EXPECT_EQ(info.name, r.lang) << r.name;
    EXPECT_EQ(info.author, r.author) << r.name;
    EXPECT_EQ(info.version, r.version) << r.name;
    EXPECT_EQ(info.programVersion, r.programVersion) << r.name;
  }
}

TEST(LanguageParse, SectionsAfterInfoOnly) {
  LanguageText text;
  ASSERT_TRUE(Parse("[Strings]\r\n0003=early\r\n[info]\r\nlang name=L\r\n[Menu]\r\nRemove=Remove\r\n", &text));
  EXPECT_EQ(text.info.name, "L");
  EXPECT_EQ(text.sections.count("strings"), 0u);
  EXPECT_EQ(text.sections.count("info"), 0u);
  EXPECT_EQ(ValueOf(text, "menu", "remove"), "Remove");
  EXPECT_EQ(text.sections["menu"]["remove"].first, "Remove");  // the key as written
}

TEST(LanguageParse, RepeatsReplace) {
  LanguageText text;
  ASSERT_TRUE(Parse("[info]\r\n[Menu]\r\nA=1\r\nB=2\r\nb=3\r\n[MENU]\r\nC=4\r\n[x]\r\nk=v", &text));
  EXPECT_EQ(ValueOf(text, "menu", "a"), "<no key>");  // the whole section was replaced
  EXPECT_EQ(ValueOf(text, "menu", "b"), "<no key>");
  EXPECT_EQ(ValueOf(text, "menu", "c"), "4");
  ASSERT_TRUE(Parse("[info]\r\n[s]\r\nKey=1\r\nKEY=2", &text));
  EXPECT_EQ(ValueOf(text, "s", "key"), "2");
  EXPECT_EQ(text.sections["s"]["key"].first, "KEY");
}

TEST(LanguageParse, EmptyKeyInInfoEndsInfoAndTheFileLoads) {
  LanguageText text;
  ASSERT_TRUE(Parse("[info]\r\nlang name=L\r\n=b\r\nauthor=skipped\r\n[Strings]\r\n0003=a\r\n",
                    &text));
  EXPECT_EQ(text.info.name, "L");
  EXPECT_EQ(text.info.author, "");  // info ended at the empty key
  EXPECT_EQ(ValueOf(text, "strings", "0003"), "a");
  EXPECT_EQ(text.sections.count("info"), 0u);
}

TEST(LanguageParse, EmptyKeyAfterInfoFailsTheWholeFile) {
  struct Row {
    const char* name;
    std::string file;
    bool ok;
    int line;
  } rows[] = {
      {"in a section after info", "[info]\r\nlang name=L\r\n[Strings]\r\n0003=a\r\n=b\r\n", false, 5},
      {"in the info section", "[info]\r\n=b\r\n[Strings]\r\n0003=a\r\n", true, 0},
      {"in info and again later", "[info]\r\n=b\r\n[s]\r\n=c\r\n", false, 4},
      {"blanks before =", "[info]\r\n[s]\r\n   =b", false, 3},
      {"before info it is not read", "[early]\r\n=b\r\n[info]\r\n[s]\r\nk=v", true, 0},
      {"a comment line is no key", "[info]\r\n[s]\r\n;=b\r\nk=v", true, 0},
  };
  for (const Row& r : rows) {
    LanguageText text;
    text.info.name = "previous";
    qv::LanguageParseError error;
    EXPECT_EQ(Parse(r.file, &text, &error), r.ok) << r.name;
    if (!r.ok) {
      EXPECT_EQ(text.info.name, "previous") << r.name;  // untouched on failure
      EXPECT_EQ(error.line, r.line) << r.name;
    }
  }
}

TEST(LanguageParse, CommentAfterValueAndNextLine) {
  LanguageText text;
  ASSERT_TRUE(Parse("[info]\r\n[s]\r\nk = some value   ; a remark = x\r\nnext=2\r\n", &text));
  EXPECT_EQ(ValueOf(text, "s", "k"), "some value");
  EXPECT_EQ(ValueOf(text, "s", "next"), "2");
}

TEST(Escapes, ResolvedLeftToRight) {
  struct Row {
    std::string in, out;
  } rows[] = {
      {"a\\nb", "a\nb"},       {"\\\"q\\\"", "\"q\""}, {"\\'", "'"},
      {"\\\\", "\\"},          {"\\\\n", "\\n"},       {"x\\", "x\\"},
      {"\\a\\b\\f\\r\\t\\v", "\a\b\f\r\t\v"},          {"\\q\\%", "\\q\\%"},
      {"C:\\\\Windows", "C:\\Windows"},                {"\\", "\\"},
      {"", ""},                {"\\\\\\", "\\\\"},
  };
  for (const Row& r : rows) EXPECT_EQ(qv::ResolveEscapes(r.in), r.out) << r.in;
}

TEST(FormatWithPath, OnlyTheFirstPercentSIsReplaced) {
  struct Row {
    std::string format, out;
  } rows[] = {
      {"Cannot load %s.", "Cannot load C:\\a%d.bmp."},
      {"%s and %s", "C:\\a%d.bmp and %s"},
      {"100%% of %s", "100% of C:\\a%d.bmp"},
      {"%d %n %x", "%d %n %x"},
      {"no path", "no path"},
      {"trailing %", "trailing %"},
      {"", ""},
  };
  for (const Row& r : rows) EXPECT_EQ(qv::FormatWithPath(r.format, "C:\\a%d.bmp"), r.out) << r.format;
}

}  // namespace
