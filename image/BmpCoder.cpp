// BMP: files with the 14-byte header, packed bitmaps without it, 12-byte (old-style) and
// 40-byte or longer info headers, 1/4/8/16/24/32 bits, RLE8 and RLE4, bit-field masks.
#include <cstring>
#include <vector>

#include "image/ByteReader.h"
#include "image/Coders.h"

namespace qv {
namespace image {
namespace {

constexpr uint32_t kRle8 = 1, kRle4 = 2, kBitFields = 3, kJpeg = 4, kPng = 5, kAlphaBitFields = 6;
const char kTruncated[] = "BMP file is truncated";

inline uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
inline uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }

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
  uint32_t size = Le32(h);
  if (size == 12) {
    if (!ReadExactly(f, h + 4, 8)) return false;
    info.core = true;
    info.width = Le16(h + 4);
    info.height = int16_t(Le16(h + 6));
    info.bpp = Le16(h + 10);
    return true;
  }
  // 16 to 64 bytes (the second old-style header), 40, 52, 56, 108 or 124 bytes.
  if (size < 16 || size > 4096) return false;
  std::memset(h + 4, 0, sizeof h - 4);
  uint32_t take = size < sizeof h ? size : uint32_t(sizeof h);
  if (!ReadExactly(f, h + 4, take - 4)) return false;
  if (size > take && !f.Seek(long(size - take), SEEK_CUR)) return false;
  info.width = int32_t(Le32(h + 4));
  info.height = int32_t(Le32(h + 8));
  info.bpp = Le16(h + 14);
  info.compression = Le32(h + 16);
  info.xppm = int32_t(Le32(h + 24));
  info.yppm = int32_t(Le32(h + 28));
  info.colorsUsed = Le32(h + 32);
  if (size >= 52) {
    for (int i = 0; i < 3; i++) info.masks[i] = Le32(h + 40 + 4 * i);
    if (size >= 56) info.masks[3] = Le32(h + 52);
  } else if (size == 40 && (info.compression == kBitFields || info.compression == kAlphaBitFields)) {
    // The masks follow a 40-byte header.
    int n = info.compression == kAlphaBitFields ? 4 : 3;
    uint8_t m[16];
    if (!ReadExactly(f, m, size_t(4 * n))) return false;
    for (int i = 0; i < n; i++) info.masks[i] = Le32(m + 4 * i);
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

}  // namespace

bool DecodeBmp(CoderJob& job) {
  CxFile& f = job.file;
  long start = f.Tell();
  if (start < 0) start = 0;
  uint8_t fh[14];
  if (!ReadExactly(f, fh, sizeof fh)) return job.Fail("Not a BMP");
  const bool packed = !(fh[0] == 'B' && fh[1] == 'M');
  uint32_t offBits = 0;
  if (packed) {
    if (!f.Seek(start, SEEK_SET)) return job.Fail("Not a BMP");
  } else {
    offBits = Le32(fh + 10);
  }
  BmpInfo info;
  if (!ReadInfo(f, info)) return job.Fail("Error reading BMP info");
  if (info.compression == kJpeg || info.compression == kPng) return job.Fail("compression type not supported");
  if (info.compression > kAlphaBitFields) return job.Fail("unknown compression");
  const bool topDown = info.height < 0;
  const uint32_t width = info.width > 0 ? uint32_t(info.width) : 0;
  const uint32_t height = info.height == INT32_MIN ? 0 : uint32_t(topDown ? -info.height : info.height);
  const uint16_t bpp = info.bpp;
  if (width == 0 || height == 0) return job.Fail("Error reading BMP info");
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
    return job.Fail("Error reading BMP info");
  const bool rle = info.compression == kRle8 || info.compression == kRle4;
  if ((info.compression == kRle8 && bpp != 8) || (info.compression == kRle4 && bpp != 4))
    return job.Fail("compression type not supported");
  if ((info.compression == kBitFields || info.compression == kAlphaBitFields) && bpp != 16 && bpp != 32)
    return job.Fail("compression type not supported");
  if (!SizeAllowed(width, height)) return job.Fail(kTooLargeText);

  // Palette.
  uint32_t entries = 0;
  std::vector<CxRgbQuad> palette;
  if (bpp <= 8) {
    uint32_t max = 1u << bpp;
    entries = info.colorsUsed && info.colorsUsed < max ? info.colorsUsed : max;
    size_t entryBytes = info.core ? 3 : 4;
    std::vector<uint8_t> raw(entries * entryBytes);
    if (!ReadExactly(f, raw.data(), raw.size())) return job.Fail("Error reading BMP info");
    palette.resize(max, CxRgbQuad{0, 0, 0, 0});
    for (uint32_t i = 0; i < entries; i++)
      palette[i] = CxRgbQuad{raw[i * entryBytes], raw[i * entryBytes + 1], raw[i * entryBytes + 2], 0};
  }
  if (offBits) {
    if (!f.Seek(start + long(offBits), SEEK_SET)) return job.Fail(kTruncated);
  } else if (bpp > 8 && info.colorsUsed && info.colorsUsed <= 65536) {
    // A packed bitmap may carry an optimisation palette before its true-colour pixels.
    if (!f.Seek(long(info.colorsUsed * 4), SEEK_CUR)) return job.Fail(kTruncated);
  }

  const uint64_t fileRow = ((uint64_t(width) * bpp + 31) / 32) * 4;
  if (!rle) {
    // Refuse before allocating when the file cannot hold the rows it claims.
    long size = f.Size(), pos = f.Tell();
    if (size >= 0 && pos >= 0 && uint64_t(size - pos) < fileRow * height) return job.Fail(kTruncated);
  }
  if (!job.Create(width, height, bpp > 8 ? 24 : bpp, "Can't allocate memory")) return false;
  CxImage& image = job.image;
  if (bpp <= 8) image.SetPalette(palette.data(), uint32_t(palette.size()));
  if (info.xppm > 0) image.SetXDPI(long((info.xppm * 254LL + 5000) / 10000));
  if (info.yppm > 0) image.SetYDPI(long((info.yppm * 254LL + 5000) / 10000));

  if (rle) {
    std::vector<uint8_t> data;
    if (!ReadRest(f, data)) return job.Fail("can't allocate memory");
    ByteReader r(data.data(), data.size());
    if (!DecodeRle(r, image, info.compression == kRle4)) return job.Fail(kTruncated);
    if (topDown) image.Flip();
    return true;
  }

  std::vector<uint8_t> row(static_cast<size_t>(fileRow));
  Channel red, green, blue, alpha;
  if (bpp == 16 || bpp == 32) {
    bool fields = info.compression == kBitFields || info.compression == kAlphaBitFields;
    if (fields && (info.masks[0] | info.masks[1] | info.masks[2])) {
      red = Channel(info.masks[0]);
      green = Channel(info.masks[1]);
      blue = Channel(info.masks[2]);
      alpha = Channel(info.masks[3]);
    } else if (bpp == 16) {
      red = Channel(0x7C00), green = Channel(0x03E0), blue = Channel(0x001F);
    } else {
      red = Channel(0xFF0000), green = Channel(0xFF00), blue = Channel(0xFF);
      alpha = Channel(info.masks[3]);
    }
  }
  bool anyAlpha = false;
  std::vector<uint8_t> alphaPlane;
  if (alpha.mask) alphaPlane.resize(size_t(width) * height);
  for (uint32_t i = 0; i < height; i++) {
    if (job.Cancelled()) return job.Fail("Cancelled");
    if (!ReadExactly(f, row.data(), row.size())) return job.Fail(kTruncated);
    uint32_t y = topDown ? height - 1 - i : i;
    uint8_t* d = image.GetBits(y);
    if (bpp <= 8 || bpp == 24) {
      std::memcpy(d, row.data(), image.GetEffWidth());
      continue;
    }
    for (uint32_t x = 0; x < width; x++, d += 3) {
      uint32_t p = bpp == 16 ? Le16(&row[x * 2]) : Le32(&row[x * 4]);
      d[0] = blue.Get(p);
      d[1] = green.Get(p);
      d[2] = red.Get(p);
      if (alpha.mask) {
        uint8_t a = alpha.Get(p);
        alphaPlane[size_t(y) * width + x] = a;
        anyAlpha = anyAlpha || a != 0;
      }
    }
  }
  // An alpha channel that is zero everywhere is an unused byte, not transparency.
  if (anyAlpha && image.AlphaCreate()) std::memcpy(image.AlphaGetPointer(), alphaPlane.data(), alphaPlane.size());
  return true;
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
