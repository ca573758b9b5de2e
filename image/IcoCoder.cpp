// ICO and CUR: frame selection among the directory's entries; each entry a bitmap with its AND
// mask (which becomes the alpha plane) or an embedded PNG.
#include <cstring>
#include <vector>

#include "image/Coders.h"
#include "platform/ByteReader.h"

namespace qv {
namespace image {

namespace {
using platform::ByteReader;
const char kCorrupt[] = "Corrupted ICO file";
}

bool DecodeIco(CoderJob& job) {
  std::vector<uint8_t> bytes;
  if (!ReadRest(job.file, bytes)) return job.Fail("Can't allocate memory");
  ByteReader r(bytes.data(), bytes.size());
  const uint16_t reserved = r.U16LE(), type = r.U16LE(), count = r.U16LE();
  if (r.failed() || reserved != 0 || (type != 1 && type != 2) || count == 0) return job.Fail("Not an ICO file");
  const long frame = job.caller.GetFrame();
  if (frame >= count) return job.Fail("ICO frame not present");
  r.Seek(6 + size_t(frame) * 16);
  r.Skip(8);
  const uint32_t size = r.U32LE(), offset = r.U32LE();
  if (r.failed() || offset >= bytes.size() || size > bytes.size() - offset) return job.Fail(kCorrupt);
  const uint8_t* data = bytes.data() + offset;
  static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (size >= 8 && std::memcmp(data, kPng, 8) == 0) {
    CxMemFile png(const_cast<uint8_t*>(data), size);
    CoderJob inner{png, job.image, job.caller, {}};
    if (!DecodePng(inner)) return job.Fail(inner.error.c_str());
    job.image.SetNumFrames(count);
    return true;
  }
  ByteReader d(data, size);
  const uint32_t headerSize = d.U32LE();
  const int32_t width = d.I32LE(), doubledHeight = d.I32LE();
  d.U16LE();
  const uint16_t bpp = d.U16LE();
  const uint32_t compression = d.U32LE();
  d.Skip(12);
  uint32_t colorsUsed = d.U32LE();
  if (d.failed() || headerSize < 40 || headerSize > size || compression != 0) return job.Fail(kCorrupt);
  const uint32_t w = width > 0 ? uint32_t(width) : 0;
  const uint32_t h = doubledHeight > 1 ? uint32_t(doubledHeight / 2) : 0;
  if (w == 0 || h == 0 || (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)) return job.Fail(kCorrupt);
  if (!SizeAllowed(w, h)) return job.Fail(kTooLargeText);
  d.Seek(headerSize);
  std::vector<CxRgbQuad> palette;
  if (bpp <= 8) {
    const uint32_t max = 1u << bpp;
    const uint32_t entries = colorsUsed && colorsUsed < max ? colorsUsed : max;
    palette.resize(max, CxRgbQuad{0, 0, 0, 0});
    for (uint32_t i = 0; i < entries; i++) {
      d.Bytes(&palette[i], 4);
      palette[i].rgbReserved = 0;
    }
  }
  const size_t xorRow = ((size_t(w) * bpp + 31) / 32) * 4, andRow = ((size_t(w) + 31) / 32) * 4;
  if (d.failed() || d.remaining() < xorRow * h) return job.Fail(kCorrupt);
  const uint8_t* xorBits = d.current();
  d.Skip(xorRow * h);
  // 32-bit icons may omit the mask; all others need it.
  const uint8_t* andBits = d.remaining() >= andRow * h ? d.current() : nullptr;
  if (!andBits && bpp != 32) return job.Fail(kCorrupt);
  if (!job.Create(w, h, bpp == 32 ? 24 : bpp, "Can't allocate memory")) return false;
  CxImage& image = job.image;
  if (bpp <= 8) image.SetPalette(palette.data(), uint32_t(palette.size()));
  bool anyAlpha = false;
  for (uint32_t y = 0; y < h && bpp == 32; y++)
    for (uint32_t x = 0; x < w; x++) anyAlpha = anyAlpha || xorBits[y * xorRow + 4 * x + 3] != 0;
  bool anyMask = false;
  for (size_t i = 0; andBits && i < andRow * h; i++) anyMask = anyMask || andBits[i] != 0;
  const bool alpha = anyAlpha || anyMask;
  if (alpha && !image.AlphaCreate()) return job.Fail("Can't allocate memory");
  for (uint32_t y = 0; y < h; y++) {
    const uint8_t* s = xorBits + y * xorRow;
    uint8_t* dst = image.GetBits(y);
    if (bpp == 32) {
      for (uint32_t x = 0; x < w; x++) std::memcpy(dst + 3 * x, s + 4 * x, 3);
    } else {
      std::memcpy(dst, s, image.GetEffWidth());
    }
    if (!alpha) continue;
    uint8_t* a = image.AlphaGetPointer(0, long(y));
    for (uint32_t x = 0; x < w; x++) {
      if (anyAlpha)
        a[x] = s[4 * x + 3];
      else
        a[x] = (andBits[y * andRow + x / 8] >> (7 - x % 8)) & 1 ? 0 : 255;
    }
  }
  image.SetNumFrames(count);
  image.SetFrame(frame);
  return true;
}

bool EncodeIco(CoderJob& job) {
  CxImage& image = job.image;
  const uint32_t w = image.GetWidth(), h = image.GetHeight(), bpp = image.GetBpp();
  if (w > 256 || h > 256) return job.Fail("Can't save this image as icon");
  const bool alpha = image.HasAlpha();
  const uint32_t outBpp = bpp == 24 && alpha ? 32 : bpp;
  const size_t xorRow = ((size_t(w) * outBpp + 31) / 32) * 4, andRow = ((size_t(w) + 31) / 32) * 4;
  const uint32_t paletteBytes = image.GetPaletteSize();
  const uint32_t dataSize = uint32_t(40 + paletteBytes + xorRow * h + andRow * h);
  std::vector<uint8_t> v;
  auto put16 = [&](uint32_t x) {
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
  };
  auto put32 = [&](uint32_t x) {
    put16(x & 0xFFFF);
    put16(x >> 16);
  };
  put16(0);
  put16(1);
  put16(1);
  v.push_back(uint8_t(w == 256 ? 0 : w));
  v.push_back(uint8_t(h == 256 ? 0 : h));
  v.push_back(uint8_t(bpp == 1 ? 2 : bpp == 4 ? 16 : 0));
  v.push_back(0);
  put16(1);
  put16(outBpp);
  put32(dataSize);
  put32(22);
  put32(40);
  put32(w);
  put32(h * 2);
  put16(1);
  put16(outBpp);
  put32(0);
  put32(uint32_t(xorRow * h + andRow * h));
  put32(0);
  put32(0);
  put32(image.GetNumColors());
  put32(0);
  if (paletteBytes) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(image.GetPalette());
    v.insert(v.end(), p, p + paletteBytes);
  }
  for (uint32_t y = 0; y < h; y++) {
    const uint8_t* s = image.GetBits(y);
    if (outBpp == 32) {
      const uint8_t* a = image.AlphaGetPointer(0, long(y));
      for (uint32_t x = 0; x < w; x++) v.insert(v.end(), {s[3 * x], s[3 * x + 1], s[3 * x + 2], a[x]});
    } else {
      v.insert(v.end(), s, s + xorRow);
    }
  }
  // The AND mask: set bits show the background.
  for (uint32_t y = 0; y < h; y++) {
    std::vector<uint8_t> mask(andRow, 0);
    for (uint32_t x = 0; x < w; x++) {
      bool clear = alpha ? image.AlphaGet(long(x), long(y)) < 128
                         : image.GetTransIndex() >= 0 && image.GetNumColors() &&
                               image.GetPixelIndex(long(x), long(y)) == image.GetTransIndex();
      if (clear) mask[x / 8] |= uint8_t(0x80 >> (x % 8));
    }
    v.insert(v.end(), mask.begin(), mask.end());
  }
  if (job.file.Write(v.data(), 1, v.size()) != v.size()) return job.Fail("Can't save this image as icon");
  return true;
}

}  // namespace image
}  // namespace qv
