#include "pages/ImageRows.h"

#include <cstring>

namespace qv {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EndsWithNoCase(const std::string& text, const char* tail) {
  const size_t n = std::strlen(tail);
  if (text.size() < n) return false;
  for (size_t i = 0; i < n; ++i)
    if (Lower(text[text.size() - n + i]) != Lower(tail[i])) return false;
  return true;
}

int Sign(long long v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

}  // namespace

void SplitFilePath(const std::string& path, std::string* name, std::string* location) {
  size_t start = 0;
  for (size_t i = 0; i + 1 < path.size(); ++i)
    if (path[i] == '\\' || path[i] == ':') start = i + 1;
  *name = path.substr(start);
  const size_t slash = path.find_last_of('\\');
  *location = slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool SplitFolderPath(const std::string& path, std::string* name, std::string* location) {
  if (path.size() <= 1) return false;
  if (path.size() >= 2 && path.compare(path.size() - 2, 2, ":\\") == 0) {
    *name = path;
    location->clear();
    return true;
  }
  std::string trimmed = path;
  if (trimmed.back() == '\\') trimmed.pop_back();
  SplitFilePath(trimmed, name, location);
  return true;
}

std::string RowFullPath(const ImageRowFields& row) {
  if (row.location.empty()) return row.name;
  if (row.location.back() == '\\') return row.location + row.name;
  return row.location + "\\" + row.name;
}

bool IsDroppablePictureName(const std::string& path) {
  static const char* const kExtensions[] = {".bmp", ".jpg", ".gif", ".emf", ".wmf",
                                            ".tga", ".png", ".dib", ".rle", ".tiff"};
  if (path.size() <= 5) return false;
  for (const char* extension : kExtensions)
    if (EndsWithNoCase(path, extension)) return true;
  return false;
}

int CompareRows(int column, const ImageRowFields& a, const ImageRowFields& b) {
  switch (column) {
    case 0:
      // Byte order: the lead byte of a double-byte character decides first, as in the
      // multi-byte comparison of the system's code page.
      return Sign(std::strcmp(a.name.c_str(), b.name.c_str()));
    case 1:
      return Sign(std::strcmp(a.location.c_str(), b.location.c_str()));
    case 2:
      return Sign(static_cast<long long>(a.width) - b.width);
    case 3:
      return Sign(static_cast<long long>(a.height) - b.height);
    case 4:
      return Sign(static_cast<long long>(a.depth) - b.depth);
    case 5:
      if (a.isFolder != b.isFolder) return a.isFolder ? -1 : 1;
      return Sign(static_cast<long long>(a.includeSubFolders) - b.includeSubFolders);
  }
  return 0;
}

std::string LowerExtension(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of("\\/:");
  if (dot == std::string::npos || (slash != std::string::npos && slash > dot)) return std::string();
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) c = Lower(c);
  return extension;
}

bool IsProgramFileName(const std::string& path) {
  const std::string extension = LowerExtension(path);
  return extension == "exe" || extension == "dll" || extension == "cpl" || extension == "scr";
}

}  // namespace qv
