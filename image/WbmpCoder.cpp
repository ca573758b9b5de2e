// WBMP type 0: a 1-bit picture, rows top-down, 1 = white.
#include <vector>

#include "image/Coders.h"

namespace qv {
namespace image {
namespace {

// A multi-byte integer: 7 bits per byte, high bit set on all but the last. False past 5 bytes.
bool ReadMultiByte(CxFile& f, uint32_t& value) {
  value = 0;
  for (int i = 0; i < 5; i++) {
    long c = f.GetC();
    if (c < 0) return false;
    value = (value << 7) | uint32_t(c & 0x7F);
    if (!(c & 0x80)) return true;
  }
  return false;
}

void PutMultiByte(std::vector<uint8_t>& v, uint32_t value) {
  uint8_t bytes[5];
  int n = 0;
  do {
    bytes[n++] = uint8_t(value & 0x7F);
    value >>= 7;
  } while (value);
  while (n-- > 0) v.push_back(uint8_t(bytes[n] | (n ? 0x80 : 0)));
}

}  // namespace

bool DecodeWbmp(CoderJob& job) {
  CxFile& f = job.file;
  uint32_t type = 0, width = 0, height = 0;
  if (!ReadMultiByte(f, type)) return job.Fail("Not a WBMP");
  if (type != 0) return job.Fail("Unsupported WBMP type");
  long fixHeader = f.GetC();
  if (fixHeader < 0) return job.Fail("Not a WBMP");
  // Type 0 has no extension headers; a set extension bit means another type.
  if (fixHeader & 0x80) return job.Fail("Unsupported WBMP type");
  if (!ReadMultiByte(f, width) || !ReadMultiByte(f, height)) return job.Fail("Not a WBMP");
  if (width == 0 || height == 0) return job.Fail("Corrupted WBMP");
  if (!SizeAllowed(width, height)) return job.Fail(kTooLargeText);
  const size_t rowBytes = (size_t(width) + 7) / 8;
  long size = f.Size(), pos = f.Tell();
  if (size >= 0 && pos >= 0 && uint64_t(size - pos) < uint64_t(rowBytes) * height) return job.Fail("Corrupted WBMP");
  if (!job.Create(width, height, 1, "WBMP Create failed")) return false;
  CxImage& image = job.image;
  image.SetPaletteIndex(0, 0, 0, 0);
  image.SetPaletteIndex(1, 255, 255, 255);
  std::vector<uint8_t> row(rowBytes);
  for (uint32_t y = 0; y < height; y++) {
    if (f.Read(row.data(), 1, rowBytes) != rowBytes) return job.Fail("Corrupted WBMP");
    uint8_t* d = image.GetBits(height - 1 - y);
    for (size_t i = 0; i < rowBytes; i++) d[i] = row[i];
  }
  return true;
}

bool EncodeWbmp(CoderJob& job) {
  CxImage& image = job.image;
  if (image.GetBpp() != 1) return job.Fail("Can't save this image as WBMP");
  std::vector<uint8_t> v = {0, 0};
  PutMultiByte(v, image.GetWidth());
  PutMultiByte(v, image.GetHeight());
  // A bit is white when its palette entry is light, whatever the palette's order.
  uint8_t white[2];
  for (int i = 0; i < 2; i++) {
    CxRgbQuad c = image.GetPaletteColor(uint8_t(i));
    white[i] = (c.rgbRed * 299 + c.rgbGreen * 587 + c.rgbBlue * 114) / 1000 > 127;
  }
  const uint32_t w = image.GetWidth(), h = image.GetHeight();
  for (uint32_t y = 0; y < h; y++) {
    uint8_t byte = 0;
    for (uint32_t x = 0; x < w; x++) {
      byte = uint8_t((byte << 1) | white[image.GetPixelIndex(long(x), long(h - 1 - y))]);
      if ((x & 7) == 7) {
        v.push_back(byte);
        byte = 0;
      }
    }
    if (w & 7) v.push_back(uint8_t(byte << (8 - (w & 7))));
  }
  if (job.file.Write(v.data(), 1, v.size()) != v.size()) return job.Fail("Can't save this image as WBMP");
  return true;
}

}  // namespace image
}  // namespace qv
