// What a row of a picture page shows and how it is named, independent of the list control:
// splitting a path into name and location and back, the drop filter, and the sort comparisons.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

struct ImageRowFields {
  std::string name;      // file or folder name without its folder
  std::string location;  // the folder that holds it, without a trailing "\"
  int32_t width = 0;     // 0: no information
  int32_t height = 0;
  int32_t depth = 0;
  int32_t isFolder = 0;
  int32_t includeSubFolders = 0;
};

// Name: the text after the last "\" or ":" that has text after it; location: the path before
// its last "\" ("" when there is none).
void SplitFilePath(const std::string& path, std::string* name, std::string* location);
// As for files, but a drive root ("C:\") keeps the whole path as its name with no location,
// and any other trailing "\" is dropped first. False for a path of at most one character.
bool SplitFolderPath(const std::string& path, std::string* name, std::string* location);
// location + "\" + name ("\" not doubled); the name alone when the location is empty.
std::string RowFullPath(const ImageRowFields& row);

// The drop target's test for a file: longer than 5 characters and ending, in any case, in one of
// the picture extensions the drop accepts (".bmp", ".jpg", ".gif", ".emf", ".wmf", ".tga",
// ".png", ".dib", ".rle", ".tiff").
bool IsDroppablePictureName(const std::string& path);

// Ascending comparison of two rows by column (0 name, 1 location, 2 width, 3 height, 4 depth,
// 5 folder kind then include-sub-folders): negative, 0 or positive.
int CompareRows(int column, const ImageRowFields& a, const ImageRowFields& b);

// Lower-cased extension after the last "." of the name part ("" when none).
std::string LowerExtension(const std::string& path);
// A program file ("exe", "dll", "cpl", "scr"), shown by its bitmap resource.
bool IsProgramFileName(const std::string& path);

}  // namespace qv
