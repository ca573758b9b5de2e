// Reference decodes for the tests over real files: ImageMagick (the real convert, never a
// wrapper) writes a picture's pixels as raw RGBA, and the tests compare ours with them.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "image/CxImage.h"

namespace qvtest {

inline bool FileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

// The folder of the test pictures, one folder per Debian source package; the environment's
// QV_TEST_PICTURES wins over the build's.
inline std::string TestPicturesRoot() {
  const char* env = std::getenv("QV_TEST_PICTURES");
  std::string root = env && *env ? env : "";
#ifdef QV_TEST_PICTURES
  if (root.empty()) root = QV_TEST_PICTURES;
#endif
  return root;
}

// The unpacked source package ("libpng1.6") among the test pictures, or "" when it is not there.
std::string SourceFolder(const std::string& package);

// Every file of folder whose name ends with one of the suffixes, sorted.
std::vector<std::string> FilesIn(const std::string& folder, const std::vector<std::string>& suffixes);

inline const char* ConvertProgram() { return "/usr/bin/convert"; }

// Runs the real ImageMagick convert with the arguments; its standard output.
std::vector<uint8_t> RunConvert(const std::string& arguments);
bool RunConvertToFile(const std::string& arguments);

// ImageMagick's RGBA pixels of a file, top row first; empty on failure. Sizes too. Frame 0
// unless the path ends in a frame selection such as "[1]".
// extra goes after the input: "-set colorspace sRGB" keeps ImageMagick from applying a file's
// gamma, which the image object does not apply either.
std::vector<uint8_t> ReferenceRgba(const std::string& path, uint32_t* width, uint32_t* height,
                                   const std::string& extra = "");

// The largest channel difference between our picture and the RGBA reference, or -1 when the
// sizes differ. Alpha is compared as our picture defines it: alpha plane, alpha palette,
// transparent index, else opaque; colours are not compared where both are fully transparent.
int MaxDifference(const CxImage& image, const std::vector<uint8_t>& rgba, uint32_t width, uint32_t height,
                  bool compareAlpha = true);

}  // namespace qvtest
