#include "pages/ImageRows.h"

#include <gtest/gtest.h>

namespace {

TEST(ImageRows, FilePathsSplitIntoNameAndLocationAndBack) {
  struct Case {
    const char* path;
    const char* name;
    const char* location;
    const char* full;
  } cases[] = {
      {"C:\\Pictures\\sea.jpg", "sea.jpg", "C:\\Pictures", "C:\\Pictures\\sea.jpg"},
      {"C:\\sea.jpg", "sea.jpg", "C:", "C:\\sea.jpg"},
      {"sea.jpg", "sea.jpg", "", "sea.jpg"},
      {"\\\\server\\share\\a.bmp", "a.bmp", "\\\\server\\share", "\\\\server\\share\\a.bmp"},
  };
  for (const Case& c : cases) {
    qv::ImageRowFields row;
    qv::SplitFilePath(c.path, &row.name, &row.location);
    EXPECT_EQ(row.name, c.name) << c.path;
    EXPECT_EQ(row.location, c.location) << c.path;
    EXPECT_EQ(qv::RowFullPath(row), c.full) << c.path;
  }
}

TEST(ImageRows, FolderPathsKeepDriveRootsWhole) {
  qv::ImageRowFields row;
  ASSERT_TRUE(qv::SplitFolderPath("C:\\", &row.name, &row.location));
  EXPECT_EQ(row.name, "C:\\");
  EXPECT_EQ(row.location, "");
  EXPECT_EQ(qv::RowFullPath(row), "C:\\");
  ASSERT_TRUE(qv::SplitFolderPath("D:\\Photos\\2024\\", &row.name, &row.location));
  EXPECT_EQ(row.name, "2024");
  EXPECT_EQ(row.location, "D:\\Photos");
  EXPECT_EQ(qv::RowFullPath(row), "D:\\Photos\\2024");
  EXPECT_FALSE(qv::SplitFolderPath("C", &row.name, &row.location));
  EXPECT_FALSE(qv::SplitFolderPath("", &row.name, &row.location));
}

TEST(ImageRows, DropFilterTakesOnlyItsOwnExtensions) {
  for (const char* yes : {"C:\\x.bmp", "C:\\x.JPG", "C:\\x.gif", "C:\\x.emf", "C:\\x.wmf",
                          "C:\\x.tga", "C:\\x.Png", "C:\\x.dib", "C:\\x.rle", "C:\\x.tiff", "ab.bmp"})
    EXPECT_TRUE(qv::IsDroppablePictureName(yes)) << yes;
  for (const char* no : {"C:\\x.pcx", "C:\\x.jpeg", "C:\\x.tif", "a.bmp", ".bmp", "C:\\x.txt",
                         "C:\\bmp", "C:\\x.bmp.txt"})
    EXPECT_FALSE(qv::IsDroppablePictureName(no)) << no;
}

TEST(ImageRows, ComparisonsPerColumn) {
  qv::ImageRowFields a, b;
  a.name = "b.jpg";
  b.name = "a.jpg";
  EXPECT_GT(qv::CompareRows(0, a, b), 0);
  b.name = "B.jpg";  // case-sensitive: capitals first
  EXPECT_GT(qv::CompareRows(0, a, b), 0);
  a.location = "C:\\a";
  b.location = "C:\\b";
  EXPECT_LT(qv::CompareRows(1, a, b), 0);
  a.width = 640;
  b.width = 2000000000;
  EXPECT_LT(qv::CompareRows(2, a, b), 0);
  b.width = -2000000000;  // numbers, not differences that overflow
  EXPECT_GT(qv::CompareRows(2, a, b), 0);
  a.height = b.height = 7;
  EXPECT_EQ(qv::CompareRows(3, a, b), 0);
  a.depth = 24;
  b.depth = 8;
  EXPECT_GT(qv::CompareRows(4, a, b), 0);
  // Column 5: folders before files, then include-sub-folders 0 before 1.
  a.isFolder = 0;
  b.isFolder = 1;
  EXPECT_GT(qv::CompareRows(5, a, b), 0);
  a.isFolder = 1;
  a.includeSubFolders = 1;
  b.includeSubFolders = 0;
  EXPECT_GT(qv::CompareRows(5, a, b), 0);
}

TEST(ImageRows, LowerExtensionLooksAtTheNameOnly) {
  EXPECT_EQ(qv::LowerExtension("C:\\a\\Logon.EXE"), "exe");
  EXPECT_EQ(qv::LowerExtension("C:\\a.b\\name"), "");
  EXPECT_EQ(qv::LowerExtension("name"), "");
}

}  // namespace
