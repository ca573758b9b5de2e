// BMP: files with the 14-byte header, packed bitmaps without it, 12-byte (old-style) and
// 40-byte or longer info headers, 1/4/8/16/24/32 bits, RLE8 and RLE4, bit-field masks.
#include <cstring>
#include <vector>

#include "image/Coders.h"
#include "platform/ByteReader.h"

namespace qv {
namespace image {
namespace {

constexpr uint32_t kRle8 = 1, kRle4 = 2, kBitFields = 3, kJpeg = 4, kPng = 5, kAlphaBitFields = 6;
const char kTruncated[] = "BMP file is truncated";

using platform::ByteReader;
using platform::LoadLE16;
using platform::LoadLE32;

// One colour channel under a bit mask, scaled to 8 bits.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
  explicit Channel(uint32_t m = 0) : mask(m) {
    if (!m) return;
    while (!((m >> shift) & 1)) shift++;
    while (shift + bits < 32 && ((m >> (shift + bits)) & 1)) bits++;
  }
  uint8_t Get(uint32_t pixel) const {
    if (!mask) return 0;
    uint32_t v = (pixel & mask) >> shift;
    if (bits >= 8) return uint8_t(v >> (bits - 8));
    uint32_t max = (1u << bits) - 1;
    return uint8_t((v * 255 + max / 2) / max);
  }
};

struct BmpInfo {
  int32_t width = 0, height = 0;
  uint16_t bpp = 0;
  uint32_t compression = 0, colorsUsed = 0;
  int32_t xppm = 0, yppm = 0;
  uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
  bool core = false;                  // 12-byte header: palette entries of 3 bytes
};

bool ReadExactly(CxFile& f, void* buffer, size_t n) { return f.Read(buffer, 1, n) == n; }

bool ReadInfo(CxFile& f, BmpInfo& info) {
  uint8_t h[124];
  if (!ReadExactly(f, h, 4)) return false;
  uint32_t size = LoadLE32(h);
  if (size == 12) {
    if (!ReadExactly(f, h + 4, 8)) return false;
    info.core = true;
    info.width = LoadLE16(h + 4);
    info.height = int16_t(LoadLE16(h + 6));
    info.bpp = LoadLE16(h + 10);
    return true;
  }
  // 16 to 64 bytes (the second old-style header), 40, 52, 56, 108 or 124 bytes.
  if (size < 16 || size > 4096) return false;
  std::memset(h + 4, 0, sizeof h - 4);
  uint32_t take = size < sizeof h ? size : uint32_t(sizeof h);
  if (!ReadExactly(f, h + 4, take - 4)) return false;
  if (size > take && !f.Seek(long(size - take), SEEK_CUR)) return false;
  info.width = int32_t(LoadLE32(h + 4));
  info.height = int32_t(LoadLE32(h + 8));
  info.bpp = LoadLE16(h + 14);
  info.compression = LoadLE32(h + 16);
  info.xppm = int32_t(LoadLE32(h + 24));
  info.yppm = int32_t(LoadLE32(h + 28));
  info.colorsUsed = LoadLE32(h + 32);
  if (size >= 52) {
    for (int i = 0; i < 3; i++) info.masks[i] = LoadLE32(h + 40 + 4 * i);
    if (size >= 56) info.masks[3] = LoadLE32(h + 52);
  } else if (size == 40 && (info.compression == kBitFields || info.compression == kAlphaBitFields)) {
    // The masks follow a 40-byte header.
    int n = info.compression == kAlphaBitFields ? 4 : 3;
    uint8_t m[16];
    if (!ReadExactly(f, m, size_t(4 * n))) return false;
    for (int i = 0; i < n; i++) info.masks[i] = LoadLE32(m + 4 * i);
  }
  return true;
}

// RLE8 / RLE4 into a bottom-up indexed picture. False when the data ends before the picture does.
bool DecodeRle(ByteReader& r, CxImage& image, bool four) {
  const long w = long(image.GetWidth()), h = long(image.GetHeight());
  long x = 0, y = 0;
  auto put = [&](uint8_t index) {
    if (x < w && y < h) image.SetPixelIndex(x, y, index);
    x++;
  };
  while (y < h) {
    if (r.remaining() < 2) return false;
    uint8_t n = r.U8(), c = r.U8();
    if (n) {
      for (int i = 0; i < n; i++) put(four ? uint8_t(i & 1 ? c & 0x0F : c >> 4) : c);
      continue;
    }
    switch (c) {
      case 0:  // end of line
        x = 0;
        y++;
        break;
      case 1:  // end of bitmap
        return true;
      case 2: {  // delta
        uint8_t dx = r.U8(), dy = r.U8();
        if (r.failed()) return false;
        x += dx;
        y += dy;
        break;
      }
      default: {  // absolute run of c pixels, padded to a 16-bit boundary
        size_t bytes = four ? (c + 1u) / 2 : c;
        if (r.remaining() < bytes) return false;
        const uint8_t* p = r.current();
        for (int i = 0; i < c; i++) put(four ? uint8_t(i & 1 ? p[i / 2] & 0x0F : p[i / 2] >> 4) : p[i]);
        r.Skip(bytes + (bytes & 1));
        break;
      }
    }
  }
  return true;
}

// The 14-byte file header, or a packed bitmap without one (then the reader goes back to start).
// offBits is 0 for a packed bitmap.
bool ReadFileHeader(CxFile& f, long start, uint32_t* offBits) {
  uint8_t fh[14];
  if (!ReadExactly(f, fh, sizeof fh)) return false;
  if (fh[0] == 'B' && fh[1] == 'M') {
    *offBits = LoadLE32(fh + 10);
    return true;
  }
  *offBits = 0;
  return f.Seek(start, SEEK_SET);
}

// The size of the picture and what of it this coder decodes; the error text, or nullptr.
const char* CheckInfo(const BmpInfo& info, uint32_t* width, uint32_t* height) {
  if (info.compression == kJpeg || info.compression == kPng) return "compression type not supported";
  if (info.compression > kAlphaBitFields) return "unknown compression";
  *width = info.width > 0 ? uint32_t(info.width) : 0;
  *height = info.height == INT32_MIN ? 0 : uint32_t(info.height < 0 ? -info.height : info.height);
  const uint16_t bpp = info.bpp;
  if (*width == 0 || *height == 0) return "Error reading BMP info";
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return "Error reading BMP info";
  if ((info.compression == kRle8 && bpp != 8) || (info.compression == kRle4 && bpp != 4))
    return "compression type not supported";
  if ((info.compression == kBitFields || info.compression == kAlphaBitFields) && bpp != 16 && bpp != 32)
    return "compression type not supported";
  if (!SizeAllowed(*width, *height)) return kTooLargeText;
  return nullptr;
}

// The colour table of an indexed bitmap, filled up to 1 << bpp entries; false when cut.
bool ReadPalette(CxFile& f, const BmpInfo& info, std::vector<CxRgbQuad>* palette) {
  const uint32_t max = 1u << info.bpp;
  const uint32_t entries = info.colorsUsed && info.colorsUsed < max ? info.colorsUsed : max;
  const size_t entryBytes = info.core ? 3 : 4;
  std::vector<uint8_t> raw(entries * entryBytes);
  if (!ReadExactly(f, raw.data(), raw.size())) return false;
  palette->assign(max, CxRgbQuad{0, 0, 0, 0});
  for (uint32_t i = 0; i < entries; i++)
    (*palette)[i] = CxRgbQuad{raw[i * entryBytes], raw[i * entryBytes + 1], raw[i * entryBytes + 2], 0};
  return true;
}

// To the first pixel row: where the file header says, else after the tables.
bool SeekPixels(CxFile& f, long start, uint32_t offBits, const BmpInfo& info) {
  if (offBits) return f.Seek(start + long(offBits), SEEK_SET);
  // A packed bitmap may carry an optimisation palette before its true-colour pixels.
  if (info.bpp > 8 && info.colorsUsed && info.colorsUsed <= 65536) return f.Seek(long(info.colorsUsed * 4), SEEK_CUR);
  return true;
}

// The channels of 16- and 32-bit pixels: the file's masks, or the defaults of the depth.
void PixelChannels(const BmpInfo& info, Channel* channels) {
  const bool fields = info.compression == kBitFields || info.compression == kAlphaBitFields;
  if (fields && (info.masks[0] | info.masks[1] | info.masks[2])) {
    for (int i = 0; i < 4; i++) channels[i] = Channel(info.masks[i]);
  } else if (info.bpp == 16) {
    channels[0] = Channel(0x7C00), channels[1] = Channel(0x03E0), channels[2] = Channel(0x001F);
  } else {
    channels[0] = Channel(0xFF0000), channels[1] = Channel(0xFF00), channels[2] = Channel(0xFF);
    channels[3] = Channel(info.masks[3]);
  }
}

// The run-length encoded pixels, from the reader's position to the end of the file.
bool DecodeRlePixels(CoderJob& job, const BmpInfo& info) {
  std::vector<uint8_t> data;
  if (!ReadRest(job.file, data)) return job.Fail("can't allocate memory");
  ByteReader r(data.data(), data.size());
  if (!DecodeRle(r, job.image, info.compression == kRle4)) return job.Fail(kTruncated);
  if (info.height < 0) job.image.Flip();
  return true;
}

// One file row of 16- or 32-bit pixels into blue-green-red, their alpha into the plane.
// True when a pixel had a non-zero alpha.
bool UnpackRow(const uint8_t* row, uint32_t width, uint16_t bpp, const Channel* channels, uint8_t* d,
               uint8_t* alpha) {
  bool anyAlpha = false;
  for (uint32_t x = 0; x < width; x++, d += 3) {
    uint32_t p = bpp == 16 ? LoadLE16(&row[x * 2]) : LoadLE32(&row[x * 4]);
    d[0] = channels[2].Get(p);
    d[1] = channels[1].Get(p);
    d[2] = channels[0].Get(p);
    if (alpha) {
      alpha[x] = channels[3].Get(p);
      anyAlpha = anyAlpha || alpha[x] != 0;
    }
  }
  return anyAlpha;
}

// Uncompressed rows, bottom-up or top-down, with an alpha channel where the masks give one.
bool ReadPlainRows(CoderJob& job, const BmpInfo& info, uint64_t fileRow) {
  CxImage& image = job.image;
  const uint32_t width = image.GetWidth(), height = image.GetHeight();
  const bool topDown = info.height < 0;
  std::vector<uint8_t> row(static_cast<size_t>(fileRow));
  Channel channels[4];  // red, green, blue, alpha
  if (info.bpp == 16 || info.bpp == 32) PixelChannels(info, channels);
  bool anyAlpha = false;
  std::vector<uint8_t> alphaPlane;
  if (channels[3].mask) alphaPlane.resize(size_t(width) * height);
  for (uint32_t i = 0; i < height; i++) {
    if (job.Cancelled()) return job.Fail("Cancelled");
    if (!ReadExactly(job.file, row.data(), row.size())) return job.Fail(kTruncated);
    uint32_t y = topDown ? height - 1 - i : i;
    uint8_t* d = image.GetBits(y);
    if (info.bpp <= 8 || info.bpp == 24)
      std::memcpy(d, row.data(), image.GetEffWidth());
    else if (UnpackRow(row.data(), width, info.bpp, channels, d,
                       channels[3].mask ? &alphaPlane[size_t(y) * width] : nullptr))
      anyAlpha = true;
  }
  // An alpha channel that is zero everywhere is an unused byte, not transparency.
  if (anyAlpha && image.AlphaCreate()) std::memcpy(image.AlphaGetPointer(), alphaPlane.data(), alphaPlane.size());
  return true;
}

}  // namespace

bool DecodeBmp(CoderJob& job) {
  CxFile& f = job.file;
  long start = f.Tell();
  if (start < 0) start = 0;
  uint32_t offBits = 0;
  if (!ReadFileHeader(f, start, &offBits)) return job.Fail("Not a BMP");
  BmpInfo info;
  if (!ReadInfo(f, info)) return job.Fail("Error reading BMP info");
  uint32_t width = 0, height = 0;
  if (const char* error = CheckInfo(info, &width, &height)) return job.Fail(error);
  std::vector<CxRgbQuad> palette;
  if (info.bpp <= 8 && !ReadPalette(f, info, &palette)) return job.Fail("Error reading BMP info");
  if (!SeekPixels(f, start, offBits, info)) return job.Fail(kTruncated);
  const bool rle = info.compression == kRle8 || info.compression == kRle4;
  const uint64_t fileRow = ((uint64_t(width) * info.bpp + 31) / 32) * 4;
  if (!rle) {
    // Refuse before allocating when the file cannot hold the rows it claims.
    long size = f.Size(), pos = f.Tell();
    if (size >= 0 && pos >= 0 && uint64_t(size - pos) < fileRow * height) return job.Fail(kTruncated);
  }
  if (!job.Create(width, height, info.bpp > 8 ? 24 : info.bpp, "Can't allocate memory")) return false;
  CxImage& image = job.image;
  if (info.bpp <= 8) image.SetPalette(palette.data(), uint32_t(palette.size()));
  if (info.xppm > 0) image.SetXDPI(long((info.xppm * 254LL + 5000) / 10000));
  if (info.yppm > 0) image.SetYDPI(long((info.yppm * 254LL + 5000) / 10000));
  return rle ? DecodeRlePixels(job, info) : ReadPlainRows(job, info, fileRow);
}

bool EncodeBmp(CoderJob& job) {
  CxImage& image = job.image;
  uint32_t blockSize = image.GetSize();
  uint32_t offBits = 14 + 40 + image.GetPaletteSize();
  uint8_t fh[14] = {'B', 'M'};
  uint32_t fileSize = blockSize + 14;
  for (int i = 0; i < 4; i++) {
    fh[2 + i] = uint8_t(fileSize >> (8 * i));
    fh[10 + i] = uint8_t(offBits >> (8 * i));
  }
  if (job.file.Write(fh, 1, sizeof fh) != sizeof fh) return job.Fail("Error writing BMP file");
  if (job.file.Write(image.GetDIB(), 1, blockSize) != blockSize) return job.Fail("Error writing BMP file");
  return true;
}

}  // namespace image
}  // namespace qv
