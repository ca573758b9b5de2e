#include <gtest/gtest.h>

#include <string>

#include "i18n/ProfileReader.h"

namespace {

using qv::ProfileDocument;
using qv::ProfilePair;

// The document in a compact form: "[name]key=value|key=value|[name]..." .
std::string Render(const ProfileDocument& document) {
  std::string out;
  for (const auto& section : document.sections) {
    out += "[" + section.header.name + "]";
    for (const auto& pair : section.pairs) out += pair.key + "=" + pair.value + "|";
  }
  return out;
}

TEST(ProfileReader, SyntaxRules) {
  struct Row {
    const char* name;
    std::string input;
    std::string expected;
  } rows[] = {
      {"crlf, blanks around = and comment lines", "[a]\r\n; note\r\n key = value \r\nk2=v2\r\n",
       "[a]key=value|k2=v2|"},
      {"bytes before the first header are skipped, even a [ in a comment",
       "x=1\r\n;[\r\n[a]\r\nk=v", "[[a]k=v|"},
      {"section names are trimmed, case kept", "[ \tOperating Systems  ]\r\nk=v",
       "[Operating Systems]k=v|"},
      {"a comment in key position empties the key", "[a]\r\nabc;x=1\r\nkey=v", "[a]key=v|"},
      {"a line without = adds to the next key", "[a]\r\nfoo\r\nbar=1", "[a]foobar=1|"},
      {"control and 8-bit bytes never enter a key", "[a]\r\nk\x80\xff" "e\x01\ty=v", "[a]key=v|"},
      {"values keep 8-bit bytes", "[a]\r\nk=\xe4\xf6\x81\x40", "[a]k=\xe4\xf6\x81\x40|"},
      {"a comment after a value", "[a]\r\nk = v  ; said \r\nk2=w", "[a]k=v|k2=w|"},
      {"= and [ inside a value", "[a]\r\nk=a=b [c]\r\nm=n", "[a]k=a=b [c]|m=n|"},
      {"an empty value", "[a]\r\nk=\r\nm=  \r\n", "[a]k=|m=|"},
      {"[ in key position ends the section, pending key dropped", "[a]\r\nfoo\r\n[b]\r\nk=v",
       "[a][b]k=v|"},
      {"end of file in key position drops the key", "[a]\r\nk=v\r\ndangling", "[a]k=v|"},
      {"end of file in value position ends the pair", "[a]\r\nk=v", "[a]k=v|"},
      {"end of file before ] ends the file", "[a]\r\nk=v\r\n[bro", "[a]k=v|"},
      {"header and pair on one line", "[a]k=v\r\n[b] ; c\r\nm=n", "[a]k=v|[b]m=n|"},
      {"font lines are comments", "[a]\r\n;font name=Tahoma\r\n;font size=8\r\n;font weight=700\r\nk=v",
       "[a]k=v|"},
      {"repeats are kept in file order", "[a]\r\nk=1\r\nk=2\r\n[A]\r\nk=3",
       "[a]k=1|k=2|[A]k=3|"},
      {"lone carriage returns end a value", "[a]\rk=v\rm=n\r", "[a]k=v|m=n|"},
      {"tab inside a value is kept, ends trimmed", "[a]\r\nk=\t x\ty \t", "[a]k=x\ty|"},
      {"empty file", "", ""},
  };
  for (const Row& r : rows) {
    ProfileDocument document;
    EXPECT_TRUE(qv::ReadProfile(r.input.data(), r.input.size(), &document)) << r.name;
    EXPECT_EQ(Render(document), r.expected) << r.name;
  }
}

TEST(ProfileReader, EmptyKeyFailsAndKeepsWhatCameBefore) {
  struct Row {
    std::string input;
    std::string kept;
    std::size_t offset;
    int line;
  } rows[] = {
      {"[a]\r\nk=v\r\n=x\r\nm=n", "[a]k=v|", 10, 3},
      {"[a]\r\nk=v\r\n[b]\r\n   = x", "[a]k=v|[b]", 18, 4},
      {"[boot loader]\r\n=", "[boot loader]", 15, 2},
      {"[a]\r\n;c=1\r\n\t=2", "[a]", 12, 3},
  };
  for (const Row& r : rows) {
    ProfileDocument document;
    ProfilePair empty;
    EXPECT_FALSE(qv::ReadProfile(r.input.data(), r.input.size(), &document, &empty)) << r.input;
    EXPECT_EQ(Render(document), r.kept) << r.input;
    EXPECT_EQ(empty.offset, r.offset) << r.input;
    EXPECT_EQ(empty.line, r.line) << r.input;
    EXPECT_EQ(r.input[empty.offset], '=');
  }
}

TEST(ProfileReader, PositionsOfHeadersAndPairs) {
  const std::string text = "; top\r\n[info]\r\n  lang name = English\r\nab\r\ncd=1\r\n\r\n[Strings]\r\n0003=x";
  qv::ProfileReader reader(text);
  qv::ProfileSectionHeader header;
  ProfilePair pair;

  ASSERT_TRUE(reader.NextSection(&header));
  EXPECT_EQ(header.name, "info");
  EXPECT_EQ(header.offset, text.find("[info]"));
  EXPECT_EQ(header.line, 2);

  ASSERT_EQ(reader.NextPair(&pair), qv::ProfileStep::Pair);
  EXPECT_EQ(pair.key, "lang name");
  EXPECT_EQ(pair.offset, text.find("lang name"));
  EXPECT_EQ(pair.line, 3);

  ASSERT_EQ(reader.NextPair(&pair), qv::ProfileStep::Pair);
  EXPECT_EQ(pair.key, "abcd");  // begins on the line without "="
  EXPECT_EQ(pair.offset, text.find("ab\r\n"));
  EXPECT_EQ(pair.line, 4);

  ASSERT_EQ(reader.NextPair(&pair), qv::ProfileStep::SectionEnd);
  EXPECT_EQ(reader.offset(), text.find("[Strings]"));
  ASSERT_TRUE(reader.NextSection(&header));
  EXPECT_EQ(header.name, "Strings");
  EXPECT_EQ(header.line, 7);
  ASSERT_EQ(reader.NextPair(&pair), qv::ProfileStep::Pair);
  EXPECT_EQ(pair.value, "x");
  EXPECT_EQ(reader.NextPair(&pair), qv::ProfileStep::FileEnd);
  EXPECT_FALSE(reader.NextSection(&header));
}

TEST(ProfileReader, NullBufferReadsAsEmpty) {
  qv::ProfileReader reader(nullptr, 10);
  qv::ProfileSectionHeader header;
  EXPECT_FALSE(reader.NextSection(&header));
}

TEST(ProfileReader, TrimTouchesOnlyWhiteSpace) {
  struct Row {
    std::string in, out;
  } rows[] = {{" \t\r\n\v\fa b\f\v\n\r\t ", "a b"}, {"\xa0x\xa0", "\xa0x\xa0"}, {"   ", ""}, {"", ""}};
  for (const Row& r : rows) EXPECT_EQ(qv::TrimProfileSpace(r.in), r.out);
}

}  // namespace
