// libFuzzer target: the thumbnail maker on any file. The last byte names the file's extension
// (the maker recognises most formats by their first bytes, the rest by the name); the thumbnail
// must fit its box.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "image/CxImage.h"
#include "image/ImageLimits.h"
#include "thumbs/ThumbnailCore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const char* kExtensions[] = {".jpg", ".png", ".gif", ".bmp", ".tif", ".tga", ".pcx", ".ico", ".wbmp", ".dat"};
  static const std::string base = [] {
    qv::image::SetPixelLimit(uint64_t(1) << 22);
    return "/tmp/qv-thumb-fuzz-" + std::to_string(getpid());
  }();
  if (size == 0) return 0;
  const std::string path = base + kExtensions[data[size - 1] % 10];
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size - 1, f);
  std::fclose(f);
  CxImage thumb;
  uint32_t w = 0, h = 0;
  if (qv::thumbs::MakeThumbnail(path.c_str(), 96, 64, thumb, &w, &h) &&
      (!thumb.IsValid() || thumb.GetWidth() > 96 || thumb.GetHeight() > 64 || thumb.GetBpp() != 24))
    std::abort();
  std::remove(path.c_str());
  return 0;
}
