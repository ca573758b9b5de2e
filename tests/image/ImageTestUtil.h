// Helpers shared by the image object's tests.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "image/CxImage.h"

namespace qvtest {

// A 24-bit picture of pseudo-random colours (fixed seed, so failures reproduce).
inline CxImage Random24(uint32_t w, uint32_t h, uint32_t seed = 1) {
  CxImage image;
  image.Create(w, h, 24, 0);
  uint32_t state = seed * 2654435761u + 1;
  for (uint32_t y = 0; y < h; y++) {
    uint8_t* row = image.GetBits(y);
    for (uint32_t i = 0; i < w * 3; i++) {
      state = state * 1664525u + 1013904223u;
      row[i] = uint8_t(state >> 24);
    }
  }
  return image;
}

// A smooth 24-bit picture (gradients), friendlier to lossy coders than noise.
inline CxImage Smooth24(uint32_t w, uint32_t h) {
  CxImage image;
  image.Create(w, h, 24, 0);
  for (uint32_t y = 0; y < h; y++) {
    uint8_t* p = image.GetBits(y);
    for (uint32_t x = 0; x < w; x++, p += 3) {
      p[0] = uint8_t(x * 255 / (w > 1 ? w - 1 : 1));
      p[1] = uint8_t(y * 255 / (h > 1 ? h - 1 : 1));
      p[2] = uint8_t((x + y) * 127 / (w + h));
    }
  }
  return image;
}

// Number of pixels whose colours differ (sizes must match; a size mismatch counts everything).
inline long DifferentPixels(const CxImage& a, const CxImage& b) {
  if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight()) return -1;
  long n = 0;
  for (long y = 0; y < long(a.GetHeight()); y++)
    for (long x = 0; x < long(a.GetWidth()); x++) {
      CxRgbQuad p = a.GetPixelColor(x, y, false), q = b.GetPixelColor(x, y, false);
      if (p.rgbRed != q.rgbRed || p.rgbGreen != q.rgbGreen || p.rgbBlue != q.rgbBlue) n++;
    }
  return n;
}

inline std::vector<uint8_t> ReadFile(const std::string& path) {
  std::vector<uint8_t> data;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return data;
  uint8_t chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) data.insert(data.end(), chunk, chunk + n);
  std::fclose(f);
  return data;
}

inline bool WriteFile(const std::string& path, const std::vector<uint8_t>& data) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
  return std::fclose(f) == 0 && ok;
}

// A file name in the test's scratch folder.
inline std::string TempPath(const std::string& name) {
  for (const char* var : {"TMPDIR", "TEMP", "TMP"}) {
    const char* dir = std::getenv(var);
    if (dir && *dir) return std::string(dir) + "/qv_image_test_" + name;
  }
  return "/tmp/qv_image_test_" + name;
}

inline void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(uint8_t(x));
  v.push_back(uint8_t(x >> 8));
}
inline void Put32(std::vector<uint8_t>& v, uint32_t x) {
  Put16(v, x & 0xFFFF);
  Put16(v, x >> 16);
}

}  // namespace qvtest
