// PCX: run-length encoded planes; 1-bit, 16-colour (packed or four 1-bit planes), 256-colour
// with the palette at the end, and 24-bit (three 8-bit planes, a fourth as alpha).
#include <algorithm>
#include <cstring>
#include <vector>

#include "image/ByteReader.h"
#include "image/Coders.h"

namespace qv {
namespace image {

namespace {
const CxRgbQuad kEga[16] = {
    {0, 0, 0, 0},     {170, 0, 0, 0},   {0, 170, 0, 0},   {170, 170, 0, 0}, {0, 0, 170, 0},   {170, 0, 170, 0},
    {0, 85, 170, 0},  {170, 170, 170, 0}, {85, 85, 85, 0}, {255, 85, 85, 0}, {85, 255, 85, 0}, {255, 255, 85, 0},
    {85, 85, 255, 0}, {255, 85, 255, 0}, {85, 255, 255, 0}, {255, 255, 255, 0}};
}  // namespace

bool DecodePcx(CoderJob& job) {
  std::vector<uint8_t> bytes;
  if (!ReadRest(job.file, bytes)) return job.Fail("Can't allocate memory");
  if (bytes.size() < 128) return job.Fail("Can't read PCX image");
  const uint8_t* h = bytes.data();
  if (h[0] != 0x0A) return job.Fail("Error: Not a PCX file");
  if (h[2] != 1) return job.Fail("PCX file has unknown encoding scheme");
  auto le16 = [&](int at) { return uint32_t(h[at] | (h[at + 1] << 8)); };
  const int bits = h[3];
  const int planes = h[65];
  const uint32_t bytesPerLine = le16(66);
  const int32_t xmin = int32_t(le16(4)), ymin = int32_t(le16(6)), xmax = int32_t(le16(8)), ymax = int32_t(le16(10));
  if (planes > 4) return job.Fail("Can't handle image with more than 4 planes");
  if (planes > 1 && bits != 1 && bits != 8) return job.Fail("Can't handle packed pixels with more than 1 plane.");
  if (bits != 1 && bits != 2 && bits != 4 && bits != 8) return job.Fail("Can't handle more than 1 bit per pixel");
  if (planes < 1 || (bits == 8 && planes == 2) || (bits == 1 && planes == 3) || xmax < xmin || ymax < ymin)
    return job.Fail("corrupted PCX");
  const uint32_t width = uint32_t(xmax - xmin + 1), height = uint32_t(ymax - ymin + 1);
  if (!SizeAllowed(width, height)) return job.Fail(kTooLargeText);
  if (bytesPerLine < (uint64_t(width) * bits + 7) / 8) return job.Fail("corrupted PCX");
  const size_t lineBytes = size_t(bytesPerLine) * planes;
  const size_t total = lineBytes * height;
  // A run gives at most 63 bytes: data too short to fill the planes is refused before the
  // buffer for them is allocated.
  if (uint64_t(total) > uint64_t(bytes.size() - 128) * 63) return job.Fail("corrupted PCX");
  // Runs may cross line ends; the whole picture is one stream.
  std::vector<uint8_t> scan(total);
  size_t pos = 128, out = 0;
  while (out < total) {
    if (pos >= bytes.size()) return job.Fail("corrupted PCX");
    uint8_t c = bytes[pos++];
    if ((c & 0xC0) == 0xC0) {
      size_t count = c & 0x3F;
      if (pos >= bytes.size()) return job.Fail("corrupted PCX");
      if (count > total - out) return job.Fail("repeat count spans end of image");
      std::memset(scan.data() + out, bytes[pos++], count);
      out += count;
    } else {
      scan[out++] = c;
    }
  }
  const uint32_t bpp = bits == 8 && planes >= 3 ? 24 : bits * planes <= 1 ? 1 : bits * planes <= 4 ? 4 : 8;
  if (!job.Create(width, height, bpp, "Can't allocate memory")) return false;
  CxImage& image = job.image;
  if (bpp == 1) {
    // The header's two colours; an empty header palette means black and white.
    bool empty = true;
    for (int i = 16; i < 22; i++) empty = empty && h[i] == 0;
    image.SetPaletteIndex(0, h[16], h[17], h[18]);
    image.SetPaletteIndex(1, empty ? 255 : h[19], empty ? 255 : h[20], empty ? 255 : h[21]);
  } else if (bpp == 4) {
    // The header's 16-entry palette; version 3 files have none and take the standard one.
    bool headerPalette = h[1] != 3;
    for (int i = 0; i < 16; i++) {
      if (headerPalette)
        image.SetPaletteIndex(uint8_t(i), h[16 + 3 * i], h[17 + 3 * i], h[18 + 3 * i]);
      else
        image.SetPaletteIndex(uint8_t(i), kEga[i]);
    }
  } else if (bpp == 8) {
    // A 256-colour palette follows 0x0C at the end of the file.
    if (bytes.size() >= 128 + 769 && bytes[bytes.size() - 769] == 0x0C)
      image.SetPalette(&bytes[bytes.size() - 768], 256, true);
    else
      image.SetGrayPalette();
  }
  const bool alpha = planes == 4 && bits == 8;
  if (alpha && !image.AlphaCreate()) return job.Fail("Can't allocate memory");
  for (uint32_t y = 0; y < height; y++) {
    const uint8_t* line = scan.data() + size_t(y) * lineBytes;
    const long row = long(height - 1 - y);
    uint8_t* d = image.GetBits(uint32_t(row));
    if (bpp == 24) {
      for (uint32_t x = 0; x < width; x++) {
        d[3 * x + 2] = line[x];
        d[3 * x + 1] = line[bytesPerLine + x];
        d[3 * x] = line[2 * bytesPerLine + x];
      }
      if (alpha) std::memcpy(image.AlphaGetPointer(0, row), line + 3 * bytesPerLine, width);
    } else if (planes == 1) {
      if (bits == 2) {
        for (uint32_t x = 0; x < width; x++)
          image.SetPixelIndex(long(x), row, uint8_t((line[x / 4] >> (6 - 2 * (x % 4))) & 3));
      } else {
        std::memcpy(d, line, (size_t(width) * bits + 7) / 8);
      }
    } else {
      // 1-bit planes: plane k gives bit k of the index.
      for (uint32_t x = 0; x < width; x++) {
        int index = 0;
        for (int k = 0; k < planes; k++) index |= ((line[k * bytesPerLine + x / 8] >> (7 - x % 8)) & 1) << k;
        image.SetPixelIndex(long(x), row, uint8_t(index));
      }
    }
  }
  const uint32_t hdpi = le16(12), vdpi = le16(14);
  if (hdpi > 0 && hdpi < 10000) image.SetXDPI(long(hdpi));
  if (vdpi > 0 && vdpi < 10000) image.SetYDPI(long(vdpi));
  return true;
}

namespace {

// One plane line, runs kept within the line as most readers expect.
void EncodeLine(const uint8_t* p, size_t n, std::vector<uint8_t>& v) {
  size_t i = 0;
  while (i < n) {
    size_t run = 1;
    while (i + run < n && run < 63 && p[i + run] == p[i]) run++;
    if (run > 1 || (p[i] & 0xC0) == 0xC0) v.push_back(uint8_t(0xC0 | run));
    v.push_back(p[i]);
    i += run;
  }
}

}  // namespace

bool EncodePcx(CoderJob& job) {
  CxImage& image = job.image;
  const uint32_t w = image.GetWidth(), h = image.GetHeight(), bpp = image.GetBpp();
  const int planes = bpp == 24 ? 3 : bpp == 4 ? 4 : 1;
  const int bits = bpp == 24 || bpp == 8 ? 8 : 1;
  uint32_t bytesPerLine = (w * uint32_t(bits) + 7) / 8;
  bytesPerLine += bytesPerLine & 1;  // even, as the format asks
  std::vector<uint8_t> v(128, 0);
  v[0] = 0x0A;
  v[1] = 5;
  v[2] = 1;
  v[3] = uint8_t(bits);
  auto put16 = [&](int at, uint32_t x) {
    v[size_t(at)] = uint8_t(x);
    v[size_t(at) + 1] = uint8_t(x >> 8);
  };
  put16(8, w - 1);
  put16(10, h - 1);
  put16(12, uint32_t(image.GetXDPI()));
  put16(14, uint32_t(image.GetYDPI()));
  if (bpp <= 4)
    for (uint32_t i = 0; i < image.GetNumColors(); i++) {
      CxRgbQuad c = image.GetPaletteColor(uint8_t(i));
      v[16 + 3 * i] = c.rgbRed, v[17 + 3 * i] = c.rgbGreen, v[18 + 3 * i] = c.rgbBlue;
    }
  v[65] = uint8_t(planes);
  put16(66, bytesPerLine);
  put16(68, image.IsGrayScale() ? 2 : 1);
  if (job.file.Write(v.data(), 1, v.size()) != v.size()) return job.Fail("cannot write PCX header");
  v.clear();
  std::vector<uint8_t> line(bytesPerLine);
  for (uint32_t y = 0; y < h; y++) {
    const long row = long(h - 1 - y);
    const uint8_t* s = image.GetBits(uint32_t(row));
    for (int k = 0; k < planes; k++) {
      std::fill(line.begin(), line.end(), 0);
      if (bpp == 24) {
        for (uint32_t x = 0; x < w; x++) line[x] = s[3 * x + 2 - k];
      } else if (bpp == 4) {
        for (uint32_t x = 0; x < w; x++)
          if ((image.GetPixelIndex(long(x), row) >> k) & 1) line[x / 8] |= uint8_t(0x80 >> (x % 8));
      } else {
        std::memcpy(line.data(), s, (size_t(w) * bits + 7) / 8);
      }
      EncodeLine(line.data(), line.size(), v);
    }
  }
  if (bpp == 8) {
    v.push_back(0x0C);
    for (uint32_t i = 0; i < 256; i++) {
      CxRgbQuad c = image.GetPaletteColor(uint8_t(i));
      v.insert(v.end(), {c.rgbRed, c.rgbGreen, c.rgbBlue});
    }
  }
  if (job.file.Write(v.data(), 1, v.size()) != v.size()) return job.Fail("Error writing PCX file");
  return true;
}

}  // namespace image
}  // namespace qv
