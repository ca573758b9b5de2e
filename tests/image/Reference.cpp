#include "tests/image/Reference.h"

#include <dirent.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace qvtest {

std::string SourceFolder(const std::string& package) {
  std::string root = TestPicturesRoot();
  if (root.empty() || package.empty()) return "";
  std::string folder = root + "/" + package;
  return FileExists(folder + "/.") ? folder : "";
}

std::vector<std::string> FilesIn(const std::string& folder, const std::vector<std::string>& suffixes) {
  std::vector<std::string> files;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return files;
  while (dirent* e = readdir(dir)) {
    std::string name = e->d_name;
    for (const std::string& s : suffixes)
      if (name.size() > s.size() && name.compare(name.size() - s.size(), s.size(), s) == 0) {
        files.push_back(folder + "/" + name);
        break;
      }
  }
  closedir(dir);
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<uint8_t> RunConvert(const std::string& arguments) {
  std::vector<uint8_t> out;
  std::string command = std::string(ConvertProgram()) + " " + arguments + " 2>/dev/null";
  FILE* p = popen(command.c_str(), "r");
  if (!p) return out;
  uint8_t chunk[65536];
  size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, p)) > 0) out.insert(out.end(), chunk, chunk + n);
  if (pclose(p) != 0) out.clear();
  return out;
}

bool RunConvertToFile(const std::string& arguments) {
  std::string command = std::string(ConvertProgram()) + " " + arguments + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

std::vector<uint8_t> ReferenceRgba(const std::string& path, uint32_t* width, uint32_t* height,
                                   const std::string& extra) {
  *width = *height = 0;
  // One run: a PAM file carries its size in its text header.
  std::string input = !path.empty() && path.back() == ']' ? path : path + "[0]";
  std::vector<uint8_t> pam = RunConvert("'" + input + "' " + extra + " -alpha on -depth 8 pam:-");
  std::string text(pam.begin(), pam.begin() + long(std::min<size_t>(pam.size(), 200)));
  size_t end = text.find("ENDHDR\n");
  if (text.compare(0, 3, "P7\n") != 0 || end == std::string::npos) return {};
  std::istringstream in(text.substr(3, end - 3));
  std::string key;
  uint32_t w = 0, h = 0, depth = 0;
  while (in >> key) {
    if (key == "WIDTH") in >> w;
    else if (key == "HEIGHT") in >> h;
    else if (key == "DEPTH") in >> depth;
    else in >> key;
  }
  size_t start = end + 7;
  if (depth != 4 || !w || !h || pam.size() - start != size_t(w) * h * 4) return {};
  *width = w;
  *height = h;
  return std::vector<uint8_t>(pam.begin() + long(start), pam.end());
}

int MaxDifference(const CxImage& image, const std::vector<uint8_t>& rgba, uint32_t width, uint32_t height,
                  bool compareAlpha) {
  if (image.GetWidth() != width || image.GetHeight() != height) return -1;
  int worst = 0;
  for (uint32_t row = 0; row < height; row++) {
    long y = long(height - 1 - row);
    for (uint32_t x = 0; x < width; x++) {
      const uint8_t* ref = &rgba[(size_t(row) * width + x) * 4];
      CxRgbQuad c = image.GetPixelColor(long(x), y, false);
      int a = 255;
      if (image.HasAlpha())
        a = image.AlphaGet(long(x), y);
      else if (image.IsAlphaPaletteEnabled())
        a = c.rgbReserved;
      else if (image.GetTransIndex() >= 0 && image.GetNumColors())
        a = image.GetPixelIndex(long(x), y) == image.GetTransIndex() ? 0 : 255;
      if (compareAlpha) worst = std::max(worst, std::abs(a - ref[3]));
      if (compareAlpha && a == 0 && ref[3] == 0) continue;
      worst = std::max({worst, std::abs(c.rgbRed - ref[0]), std::abs(c.rgbGreen - ref[1]), std::abs(c.rgbBlue - ref[2])});
    }
  }
  return worst;
}

}  // namespace qvtest
