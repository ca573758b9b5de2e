// Helpers of the picture preparation tests: an environment whose facts a test sets, and small
// pictures of chosen colours.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "changers/ImagePreparation.h"
#include "image/CxImage.h"

namespace qvtest {

// What the fake environment answers; a test sets the fields it cares about.
struct FakeSystem {
  int bits = 32;
  int screenWidth = 1024;
  int screenHeight = 768;
  std::string appData;
  std::string windows = "C:\\WINDOWS";
  std::string temp;
  uint32_t ticks = 0;
  std::vector<std::string> existing;  // names fileExists reports; everything when allExist
  bool allExist = false;
};

FakeSystem& Fake();

// Puts the fake environment in effect for the object's life (and resets the fake's answers).
class FakeEnvironment {
 public:
  FakeEnvironment();
  ~FakeEnvironment();
  FakeEnvironment(const FakeEnvironment&) = delete;
  FakeEnvironment& operator=(const FakeEnvironment&) = delete;

 private:
  qv::PrepareEnvironment previous_;
};

struct Rgb {
  uint8_t r, g, b;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

// A 24-bit picture whose pixels, bottom row first and left to right, take the colours in turn.
CxImage Picture24(uint32_t width, uint32_t height, const std::vector<Rgb>& colours);

Rgb PaletteRgb(const CxRgbQuad& q);

}  // namespace qvtest
