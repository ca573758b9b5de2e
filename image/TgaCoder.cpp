// TGA: colour-mapped, true-colour and grey pictures, plain or run-length encoded, in any of the
// four orientations; written as 8-bit colour-mapped or 24-bit true colour.
#include <cstring>
#include <vector>

#include "image/ByteReader.h"
#include "image/Coders.h"

namespace qv {
namespace image {
namespace {

// One pixel of depth bits as blue, green, red, alpha.
void Unpack(const uint8_t* p, int depth, uint8_t out[4]) {
  switch (depth) {
    case 15:
    case 16: {
      uint16_t v = uint16_t(p[0] | (p[1] << 8));
      out[0] = uint8_t(((v & 0x1F) * 255 + 15) / 31);
      out[1] = uint8_t((((v >> 5) & 0x1F) * 255 + 15) / 31);
      out[2] = uint8_t((((v >> 10) & 0x1F) * 255 + 15) / 31);
      out[3] = depth == 16 && !(v & 0x8000) ? 0 : 255;
      break;
    }
    case 24:
      out[0] = p[0], out[1] = p[1], out[2] = p[2], out[3] = 255;
      break;
    case 32:
      out[0] = p[0], out[1] = p[1], out[2] = p[2], out[3] = p[3];
      break;
    default:  // 8: grey or an index
      out[0] = out[1] = out[2] = p[0];
      out[3] = 255;
      break;
  }
}

}  // namespace

bool DecodeTga(CoderJob& job) {
  std::vector<uint8_t> bytes;
  if (!ReadRest(job.file, bytes)) return job.Fail("Can't allocate memory");
  ByteReader r(bytes.data(), bytes.size());
  const uint8_t idLength = r.U8(), cmapType = r.U8(), imageType = r.U8();
  const uint16_t cmapFirst = r.U16LE(), cmapLength = r.U16LE();
  const uint8_t cmapDepth = r.U8();
  r.U16LE();  // x origin
  r.U16LE();  // y origin
  const uint16_t width = r.U16LE(), height = r.U16LE();
  const uint8_t depth = r.U8(), descriptor = r.U8();
  if (r.failed()) return job.Fail("Not a TGA");
  const bool rle = imageType >= 9;
  const int kind = rle ? imageType - 8 : imageType;
  if (kind < 1 || kind > 3 || cmapType > 1) return job.Fail("Unknown TGA image type");
  const bool mapped = kind == 1, grey = kind == 3;
  if ((mapped && (depth != 8 || cmapType != 1)) || (grey && depth != 8) ||
      (kind == 2 && depth != 15 && depth != 16 && depth != 24 && depth != 32))
    return job.Fail("Unknown TGA image type");
  if (width == 0 || height == 0) return job.Fail("corrupted TGA");
  if (!r.Skip(idLength)) return job.Fail("corrupted TGA");
  // The colour map; a map given with a true-colour picture is skipped.
  std::vector<CxRgbQuad> palette(256, CxRgbQuad{0, 0, 0, 0});
  if (cmapType == 1) {
    int entryBytes = (cmapDepth + 7) / 8;
    if (cmapDepth != 15 && cmapDepth != 16 && cmapDepth != 24 && cmapDepth != 32) return job.Fail("corrupted TGA");
    if (r.remaining() < size_t(cmapLength) * entryBytes) return job.Fail("corrupted TGA");
    for (uint32_t i = 0; i < cmapLength; i++) {
      uint8_t c[4];
      Unpack(r.current(), cmapDepth, c);
      r.Skip(size_t(entryBytes));
      if (cmapFirst + i < 256) palette[cmapFirst + i] = CxRgbQuad{c[0], c[1], c[2], 0};
    }
  }
  if (!SizeAllowed(width, height)) return job.Fail(kTooLargeText);
  const int pixelBytes = (depth + 7) / 8;
  const size_t count = size_t(width) * height;
  if (!rle && r.remaining() < count * pixelBytes) return job.Fail("corrupted TGA");
  if (!job.Create(width, height, mapped || grey ? 8 : 24, "TGA Create failed")) return false;
  CxImage& image = job.image;
  if (grey)
    image.SetGrayPalette();
  else if (mapped)
    image.SetPalette(palette.data(), 256);
  const bool alpha = depth == 32 && (descriptor & 0x0F) != 0;
  std::vector<uint8_t> alphaPlane;
  if (alpha) alphaPlane.resize(count);
  const bool topDown = (descriptor & 0x20) != 0, rightToLeft = (descriptor & 0x10) != 0;
  size_t done = 0;
  uint8_t run[4] = {0, 0, 0, 0};
  int runLeft = 0;      // pixels left in the current packet
  bool repeat = false;  // the packet repeats one pixel
  bool anyAlpha = false;
  while (done < count) {
    if ((done & 0xFFFF) == 0 && job.Cancelled()) return job.Fail("Cancelled");
    const uint8_t* p;
    if (rle) {
      if (runLeft == 0) {
        uint8_t packet = r.U8();
        runLeft = (packet & 0x7F) + 1;
        repeat = (packet & 0x80) != 0;
        if (repeat) {
          if (!r.Bytes(run, size_t(pixelBytes))) return job.Fail("corrupted TGA");
        }
        if (r.failed()) return job.Fail("corrupted TGA");
      }
      if (repeat) {
        p = run;
      } else {
        if (r.remaining() < size_t(pixelBytes)) return job.Fail("corrupted TGA");
        p = r.current();
        r.Skip(size_t(pixelBytes));
      }
      runLeft--;
    } else {
      p = r.current();
      r.Skip(size_t(pixelBytes));
    }
    uint32_t fx = uint32_t(done % width), fy = uint32_t(done / width);
    long x = long(rightToLeft ? width - 1 - fx : fx);
    long y = long(topDown ? height - 1 - fy : fy);
    if (mapped || grey) {
      image.GetBits(uint32_t(y))[x] = p[0];
    } else {
      uint8_t c[4];
      Unpack(p, depth, c);
      std::memcpy(image.GetBits(uint32_t(y)) + x * 3, c, 3);
      if (alpha) {
        alphaPlane[size_t(y) * width + size_t(x)] = c[3];
        anyAlpha = anyAlpha || c[3] != 0;
      }
    }
    done++;
  }
  // Writers that leave the attribute bits at zero everywhere mean no transparency.
  if (anyAlpha && image.AlphaCreate()) std::memcpy(image.AlphaGetPointer(), alphaPlane.data(), count);
  return true;
}

bool EncodeTga(CoderJob& job) {
  CxImage& image = job.image;
  const uint32_t bpp = image.GetBpp();
  if (bpp != 8 && bpp != 24) return job.Fail("Bit depth must be 8 or 24");
  const uint32_t w = image.GetWidth(), h = image.GetHeight();
  std::vector<uint8_t> v(18, 0);
  v[1] = bpp == 8 ? 1 : 0;
  v[2] = bpp == 8 ? 1 : 2;
  if (bpp == 8) {
    v[5] = 0;  // 256 entries
    v[6] = 1;
    v[7] = 24;
  }
  v[12] = uint8_t(w), v[13] = uint8_t(w >> 8), v[14] = uint8_t(h), v[15] = uint8_t(h >> 8);
  v[16] = uint8_t(bpp);
  v[17] = 0;  // bottom-up rows, as the block keeps them
  if (bpp == 8)
    for (uint32_t i = 0; i < 256; i++) {
      CxRgbQuad c = image.GetPaletteColor(uint8_t(i));
      v.insert(v.end(), {c.rgbBlue, c.rgbGreen, c.rgbRed});
    }
  const size_t rowBytes = size_t(w) * (bpp / 8);
  for (uint32_t y = 0; y < h; y++) v.insert(v.end(), image.GetBits(y), image.GetBits(y) + rowBytes);
  if (job.file.Write(v.data(), 1, v.size()) != v.size()) return job.Fail("Error writing TGA file");
  return true;
}

}  // namespace image
}  // namespace qv
