// Pictures nobody here wrote: the photos of a Debian backgrounds package, and ImageMagick's
// writers for the other formats. ImageMagick's identify is the independent reference.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "imageinfo/InfoPickers.h"
#include "tests/imageinfo/ImageInfoTestSupport.h"

namespace {

std::string Run(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

// "W H" of the first frame, as ImageMagick's own reader sees it.
std::string IdentifySize(const std::string& path) {
  return Run(std::string(QV_IDENTIFY) + " -ping -format '%w %h' '" + path + "[0]' 2>/dev/null");
}

struct Info {
  std::int32_t width = 0, height = -1, depth = -1;
};

Info InfoOf(const std::string& path) {
  Info info;
  qv::GetImageInfo(path.c_str(), info.width, info.height, info.depth);
  return info;
}

class RealFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { qv::InitInfoPickers(); }
  static void TearDownTestSuite() { qv::FreeInfoPickers(); }
};

TEST_F(RealFiles, EveryBackgroundPhotoHasImageMagicksSize) {
  int count = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(QV_PHOTO_DIR)) {
    std::string path = entry.path().string();
    std::string ext = entry.path().extension().string();
    if (ext != ".jpg" && ext != ".jpeg") continue;
    ++count;
    Info info = InfoOf(path);
    EXPECT_EQ(std::to_string(info.width) + " " + std::to_string(info.height), IdentifySize(path))
        << path;
    EXPECT_EQ(info.depth, 24) << path;
  }
  // The package holds well over ten photos; fewer means it is not installed.
  EXPECT_GE(count, 10) << "photos of " << QV_PHOTO_DIR << " missing (scripts/install-deps.sh)";
}

TEST_F(RealFiles, ImageMagicksWritersOfEveryFormat) {
  qvtest::TempDir dir;
  std::string source = dir.Path("small.png");
  ASSERT_EQ(std::system((std::string(QV_CONVERT) + " '" + QV_PHOTO_DIR +
                         "/nature/Garden.jpg' -resize 300x200! '" + source + "'")
                            .c_str()),
            0);
  struct Row {
    const char* options;
    const char* name;  // ImageMagick's format prefix, then our file name
    std::int32_t depth;
  } rows[] = {
      {"", "BMP3:plain.bmp", 24},
      {"", "BMP:v5header.bmp", 24},
      {"", "BMP2:core.bmp", 24},
      {"-type palette", "BMP3:rle8.bmp", 8},
      {"-colors 16 +dither", "BMP3:sixteen.dib", 4},
      {"-monochrome", "BMP3:mono.bmp", 1},
      {"", "plain.gif", 8},
      {"-colors 16", "sixteen.gif", 4},
      {"", "plain.tga", 24},
      {"-compress RLE", "rle.tga", 24},
      {"-alpha on -channel A -evaluate set 50% +channel", "alpha.tga", 32},
      {"", "planes.pcx", 24},
      {"-type palette", "palette.pcx", 8},
      {"", "baseline.jpg", 24},
      {"-interlace JPEG", "progressive.JPEG", 24},
      {"-colorspace Gray", "grey.jpg", 24},
  };
  for (const Row& r : rows) {
    std::string name = r.name;
    std::string prefix;
    if (std::size_t colon = name.find(':'); colon != std::string::npos) {
      prefix = name.substr(0, colon + 1);
      name = name.substr(colon + 1);
    }
    std::string path = dir.Path(name);
    std::string command = std::string(QV_CONVERT) + " '" + source + "' " + r.options + " '" +
                          prefix + path + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    Info info = InfoOf(path);
    EXPECT_EQ(std::to_string(info.width) + " " + std::to_string(info.height), IdentifySize(path))
        << name;
    EXPECT_EQ(info.width, 300) << name;
    EXPECT_EQ(info.height, 200) << name;
    EXPECT_EQ(info.depth, r.depth) << name;
  }
}

}  // namespace
