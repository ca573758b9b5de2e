// PCX: run-length encoded planes; 1-bit, 16-colour (packed or four 1-bit planes), 256-colour
// with the palette at the end, and 24-bit (three 8-bit planes, a fourth as alpha).
#include <algorithm>
#include <cstring>
#include <vector>

#include "image/Coders.h"
#include "platform/ByteReader.h"

namespace qv {
namespace image {

namespace {
const CxRgbQuad kEga[16] = {
    {0, 0, 0, 0},     {170, 0, 0, 0},   {0, 170, 0, 0},   {170, 170, 0, 0}, {0, 0, 170, 0},   {170, 0, 170, 0},
    {0, 85, 170, 0},  {170, 170, 170, 0}, {85, 85, 85, 0}, {255, 85, 85, 0}, {85, 255, 85, 0}, {255, 255, 85, 0},
    {85, 85, 255, 0}, {255, 85, 255, 0}, {85, 255, 255, 0}, {255, 255, 255, 0}};
// The fields of the 128-byte header that the decoder uses.
struct PcxHeader {
  const uint8_t* raw = nullptr;  // the header itself, for its palettes
  int bits = 0, planes = 0;
  uint32_t bytesPerLine = 0, width = 0, height = 0;
  size_t lineBytes = 0;  // all planes of one line
  uint32_t xdpi = 0, ydpi = 0;
};

// The header checked for what this coder decodes; the error text, or nullptr.
const char* ReadHeader(const std::vector<uint8_t>& bytes, PcxHeader* header) {
  const platform::ByteReader h(bytes.data(), bytes.size() < 128 ? bytes.size() : 128);
  if (h.size() < 128) return "Can't read PCX image";
  if (h.U8At(0) != 0x0A) return "Error: Not a PCX file";
  if (h.U8At(2) != 1) return "PCX file has unknown encoding scheme";
  const int bits = h.U8At(3), planes = h.U8At(65);
  const int32_t xmin = h.U16LEAt(4), ymin = h.U16LEAt(6), xmax = h.U16LEAt(8), ymax = h.U16LEAt(10);
  if (planes > 4) return "Can't handle image with more than 4 planes";
  if (planes > 1 && bits != 1 && bits != 8) return "Can't handle packed pixels with more than 1 plane.";
  if (bits != 1 && bits != 2 && bits != 4 && bits != 8) return "Can't handle more than 1 bit per pixel";
  if (planes < 1 || (bits == 8 && planes == 2) || (bits == 1 && planes == 3) || xmax < xmin || ymax < ymin)
    return "corrupted PCX";
  header->raw = h.data();
  header->bits = bits;
  header->planes = planes;
  header->bytesPerLine = h.U16LEAt(66);
  header->width = uint32_t(xmax - xmin + 1);
  header->height = uint32_t(ymax - ymin + 1);
  header->lineBytes = size_t(header->bytesPerLine) * planes;
  header->xdpi = h.U16LEAt(12);
  header->ydpi = h.U16LEAt(14);
  if (!SizeAllowed(header->width, header->height)) return kTooLargeText;
  if (header->bytesPerLine < (uint64_t(header->width) * bits + 7) / 8) return "corrupted PCX";
  return nullptr;
}

// The run-length stream after the header into the planes of every line; the error text, or
// nullptr. Runs may cross line ends: the whole picture is one stream.
const char* Unpack(const std::vector<uint8_t>& bytes, const PcxHeader& header, std::vector<uint8_t>* scan) {
  const size_t total = header.lineBytes * header.height;
  // A run gives at most 63 bytes: data too short to fill the planes is refused before the
  // buffer for them is allocated.
  if (uint64_t(total) > uint64_t(bytes.size() - 128) * 63) return "corrupted PCX";
  scan->resize(total);
  size_t pos = 128, out = 0;
  while (out < total) {
    if (pos >= bytes.size()) return "corrupted PCX";
    uint8_t c = bytes[pos++];
    if ((c & 0xC0) == 0xC0) {
      size_t count = c & 0x3F;
      if (pos >= bytes.size()) return "corrupted PCX";
      if (count > total - out) return "repeat count spans end of image";
      std::memset(scan->data() + out, bytes[pos++], count);
      out += count;
    } else {
      (*scan)[out++] = c;
    }
  }
  return nullptr;
}

// The palette of an indexed picture: the header's, the one at the end of the file, or a default.
void SetPcxPalette(const std::vector<uint8_t>& bytes, const uint8_t* h, CxImage& image) {
  if (image.GetBpp() == 1) {
    // The header's two colours; an empty header palette means black and white.
    bool empty = true;
    for (int i = 16; i < 22; i++) empty = empty && h[i] == 0;
    image.SetPaletteIndex(0, h[16], h[17], h[18]);
    image.SetPaletteIndex(1, empty ? 255 : h[19], empty ? 255 : h[20], empty ? 255 : h[21]);
  } else if (image.GetBpp() == 4) {
    // The header's 16-entry palette; version 3 files have none and take the standard one.
    bool headerPalette = h[1] != 3;
    for (int i = 0; i < 16; i++) {
      if (headerPalette)
        image.SetPaletteIndex(uint8_t(i), h[16 + 3 * i], h[17 + 3 * i], h[18 + 3 * i]);
      else
        image.SetPaletteIndex(uint8_t(i), kEga[i]);
    }
  } else if (image.GetBpp() == 8) {
    // A 256-colour palette follows 0x0C at the end of the file.
    if (bytes.size() >= 128 + 769 && bytes[bytes.size() - 769] == 0x0C)
      image.SetPalette(&bytes[bytes.size() - 768], 256, true);
    else
      image.SetGrayPalette();
  }
}

// One line of planes into block row row.
void PutLine(const uint8_t* line, const PcxHeader& header, long row, CxImage& image) {
  const uint32_t width = header.width, bytesPerLine = header.bytesPerLine;
  uint8_t* d = image.GetBits(uint32_t(row));
  if (image.GetBpp() == 24) {
    for (uint32_t x = 0; x < width; x++) {
      d[3 * x + 2] = line[x];
      d[3 * x + 1] = line[bytesPerLine + x];
      d[3 * x] = line[2 * bytesPerLine + x];
    }
    if (header.planes == 4) std::memcpy(image.AlphaGetPointer(0, row), line + 3 * bytesPerLine, width);
  } else if (header.planes == 1) {
    if (header.bits == 2) {
      for (uint32_t x = 0; x < width; x++)
        image.SetPixelIndex(long(x), row, uint8_t((line[x / 4] >> (6 - 2 * (x % 4))) & 3));
    } else {
      std::memcpy(d, line, (size_t(width) * header.bits + 7) / 8);
    }
  } else {
    // 1-bit planes: plane k gives bit k of the index.
    for (uint32_t x = 0; x < width; x++) {
      int index = 0;
      for (int k = 0; k < header.planes; k++) index |= ((line[k * bytesPerLine + x / 8] >> (7 - x % 8)) & 1) << k;
      image.SetPixelIndex(long(x), row, uint8_t(index));
    }
  }
}

}  // namespace

bool DecodePcx(CoderJob& job) {
  std::vector<uint8_t> bytes;
  if (!ReadRest(job.file, bytes)) return job.Fail("Can't allocate memory");
  PcxHeader header;
  if (const char* error = ReadHeader(bytes, &header)) return job.Fail(error);
  std::vector<uint8_t> scan;
  if (const char* error = Unpack(bytes, header, &scan)) return job.Fail(error);
  const int bits = header.bits, planes = header.planes;
  const uint32_t bpp = bits == 8 && planes >= 3 ? 24 : bits * planes <= 1 ? 1 : bits * planes <= 4 ? 4 : 8;
  if (!job.Create(header.width, header.height, bpp, "Can't allocate memory")) return false;
  CxImage& image = job.image;
  SetPcxPalette(bytes, header.raw, image);
  // Four 8-bit planes: the fourth is alpha.
  if (planes == 4 && bits == 8 && !image.AlphaCreate()) return job.Fail("Can't allocate memory");
  for (uint32_t y = 0; y < header.height; y++)
    PutLine(scan.data() + size_t(y) * header.lineBytes, header, long(header.height - 1 - y), image);
  if (header.xdpi > 0 && header.xdpi < 10000) image.SetXDPI(long(header.xdpi));
  if (header.ydpi > 0 && header.ydpi < 10000) image.SetYDPI(long(header.ydpi));
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
