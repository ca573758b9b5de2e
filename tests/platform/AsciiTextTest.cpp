#include <gtest/gtest.h>

#include <string>

#include "platform/AsciiText.h"

namespace {

TEST(AsciiText, OnlyTheLettersAToZFold) {
  EXPECT_EQ(platform::LowerAscii(std::string("Photo.JPG @[`{\xC4\xD6")), "photo.jpg @[`{\xC4\xD6");
  EXPECT_EQ(platform::LowerAscii('Z'), 'z');
  EXPECT_EQ(platform::LowerAscii('\xC4'), '\xC4');
  EXPECT_TRUE(platform::EqualsIgnoringAsciiCase("Quorvex.EXE", "quorvex.exe"));
  EXPECT_FALSE(platform::EqualsIgnoringAsciiCase("\xC4", "\xE4"));
  EXPECT_FALSE(platform::EqualsIgnoringAsciiCase("bmp", "bmp "));
}

// The two rules differ only where a folder name holds a "."; both give the text as it stands.
TEST(AsciiText, ExtensionAfterTheLastDotAndOfTheFileName) {
  struct Row {
    const char* path;
    const char* anywhere;
    const char* fileName;
  } rows[] = {
      {"C:\\pics\\Photo.JPG", "JPG", "JPG"},
      {"C:\\pics\\archive.jpg.bmp", "bmp", "bmp"},
      {"C:\\my.pics\\photo", "pics\\photo", ""},
      {"/home/u/my.pics/photo", "pics/photo", ""},
      {"C:\\pics\\x.", "", ""},
      {"photo", "", ""},
      {".gif", "gif", "gif"},
      {"", "", ""},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(platform::ExtensionAfterLastDot(r.path), r.anywhere) << r.path;
    EXPECT_EQ(platform::FileNameExtension(r.path), r.fileName) << r.path;
  }
  EXPECT_EQ(platform::LowerExtension("C:\\A.B\\Logo.TGA"), "tga");
}

}  // namespace
