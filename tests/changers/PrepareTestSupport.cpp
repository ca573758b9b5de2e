#include "tests/changers/PrepareTestSupport.h"

#include <algorithm>

namespace qvtest {
namespace {

int Bits() { return Fake().bits; }
void Screen(int* w, int* h) {
  *w = Fake().screenWidth;
  *h = Fake().screenHeight;
}
std::string AppData() { return Fake().appData; }
std::string Windows() { return Fake().windows; }
std::string Temp() { return Fake().temp; }
uint32_t Ticks() { return Fake().ticks; }
bool Exists(const std::string& path) {
  const FakeSystem& f = Fake();
  return f.allExist || std::find(f.existing.begin(), f.existing.end(), path) != f.existing.end();
}

}  // namespace

FakeSystem& Fake() {
  static FakeSystem fake;
  return fake;
}

FakeEnvironment::FakeEnvironment()
    : previous_(qv::SetEnvironment({&Bits, &Screen, &AppData, &Windows, &Temp, &Ticks, &Exists})) {
  Fake() = FakeSystem();
}

FakeEnvironment::~FakeEnvironment() { qv::SetEnvironment(previous_); }

CxImage Picture24(uint32_t width, uint32_t height, const std::vector<Rgb>& colours) {
  CxImage image;
  image.Create(width, height, 24, CXIMAGE_FORMAT_BMP);
  std::size_t i = 0;
  for (uint32_t y = 0; y < height; ++y) {
    uint8_t* p = image.GetBits(y);
    for (uint32_t x = 0; x < width; ++x, p += 3, ++i) {
      const Rgb& c = colours[i % colours.size()];
      p[0] = c.b;
      p[1] = c.g;
      p[2] = c.r;
    }
  }
  return image;
}

Rgb PaletteRgb(const CxRgbQuad& q) { return Rgb{q.rgbRed, q.rgbGreen, q.rgbBlue}; }

}  // namespace qvtest
