// TGA: colour-mapped, true-colour and grey pictures, plain or run-length encoded, in any of the
// four orientations; written as 8-bit colour-mapped or 24-bit true colour.
#include <cstring>
#include <vector>

#include "image/Coders.h"
#include "platform/ByteReader.h"

namespace qv {
namespace image {
namespace {

using platform::ByteReader;

// One pixel of depth bits as blue, green, red, alpha.
void Unpack(const uint8_t* p, int depth, uint8_t out[4]) {
  switch (depth) {
    case 15:
    case 16: {
      const uint16_t v = platform::LoadLE16(p);
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

struct TgaHeader {
  uint8_t idLength = 0, cmapType = 0, cmapDepth = 0, depth = 0, descriptor = 0;
  uint16_t cmapFirst = 0, cmapLength = 0, width = 0, height = 0;
  bool rle = false, mapped = false, grey = false;
};

// The 18-byte header checked for what this coder decodes; the error text, or nullptr.
const char* ReadHeader(ByteReader& r, TgaHeader* h) {
  h->idLength = r.U8();
  h->cmapType = r.U8();
  const uint8_t imageType = r.U8();
  h->cmapFirst = r.U16LE();
  h->cmapLength = r.U16LE();
  h->cmapDepth = r.U8();
  r.Skip(4);  // x and y origin
  h->width = r.U16LE();
  h->height = r.U16LE();
  h->depth = r.U8();
  h->descriptor = r.U8();
  if (r.failed()) return "Not a TGA";
  h->rle = imageType >= 9;
  const int kind = h->rle ? imageType - 8 : imageType;
  if (kind < 1 || kind > 3 || h->cmapType > 1) return "Unknown TGA image type";
  h->mapped = kind == 1;
  h->grey = kind == 3;
  const uint8_t depth = h->depth;
  if ((h->mapped && (depth != 8 || h->cmapType != 1)) || (h->grey && depth != 8) ||
      (kind == 2 && depth != 15 && depth != 16 && depth != 24 && depth != 32))
    return "Unknown TGA image type";
  if (h->width == 0 || h->height == 0) return "corrupted TGA";
  return nullptr;
}

// The colour map after the picture's id; a map given with a true-colour picture is read and
// not used. False when either runs past the end.
bool ReadColorMap(ByteReader& r, const TgaHeader& h, std::vector<CxRgbQuad>* palette) {
  if (!r.Skip(h.idLength)) return false;
  palette->assign(256, CxRgbQuad{0, 0, 0, 0});
  if (h.cmapType != 1) return true;
  const int entryBytes = (h.cmapDepth + 7) / 8;
  if (h.cmapDepth != 15 && h.cmapDepth != 16 && h.cmapDepth != 24 && h.cmapDepth != 32) return false;
  if (r.remaining() < size_t(h.cmapLength) * entryBytes) return false;
  for (uint32_t i = 0; i < h.cmapLength; i++) {
    uint8_t c[4];
    Unpack(r.current(), h.cmapDepth, c);
    r.Skip(size_t(entryBytes));
    if (h.cmapFirst + i < 256) (*palette)[h.cmapFirst + i] = CxRgbQuad{c[0], c[1], c[2], 0};
  }
  return true;
}

// The file's pixels one at a time, plain or from run-length packets.
class PixelStream {
 public:
  PixelStream(ByteReader& r, const TgaHeader& h) : r_(r), rle_(h.rle), pixelBytes_(size_t((h.depth + 7) / 8)) {}

  // The next pixel's bytes, or nullptr when the data ends first.
  const uint8_t* Next() {
    if (!rle_) return Take();
    if (runLeft_ == 0) {
      const uint8_t packet = r_.U8();
      runLeft_ = (packet & 0x7F) + 1;
      repeat_ = (packet & 0x80) != 0;
      if (repeat_ && !r_.Bytes(run_, pixelBytes_)) return nullptr;
      if (r_.failed()) return nullptr;
    }
    runLeft_--;
    return repeat_ ? run_ : Take();
  }

 private:
  const uint8_t* Take() {
    if (r_.remaining() < pixelBytes_) return nullptr;
    const uint8_t* p = r_.current();
    r_.Skip(pixelBytes_);
    return p;
  }

  ByteReader& r_;
  const bool rle_;
  const size_t pixelBytes_;
  uint8_t run_[4] = {0, 0, 0, 0};
  int runLeft_ = 0;      // pixels left in the current packet
  bool repeat_ = false;  // the packet repeats one pixel
};

// Every pixel into its place for the header's orientation, the attribute bits into an alpha plane.
bool ReadPixels(CoderJob& job, ByteReader& r, const TgaHeader& h) {
  CxImage& image = job.image;
  const size_t count = size_t(h.width) * h.height;
  const bool alpha = h.depth == 32 && (h.descriptor & 0x0F) != 0;
  std::vector<uint8_t> alphaPlane;
  if (alpha) alphaPlane.resize(count);
  const bool topDown = (h.descriptor & 0x20) != 0, rightToLeft = (h.descriptor & 0x10) != 0;
  PixelStream stream(r, h);
  bool anyAlpha = false;
  for (size_t done = 0; done < count; done++) {
    if ((done & 0xFFFF) == 0 && job.Cancelled()) return job.Fail("Cancelled");
    const uint8_t* p = stream.Next();
    if (!p) return job.Fail("corrupted TGA");
    uint32_t fx = uint32_t(done % h.width), fy = uint32_t(done / h.width);
    long x = long(rightToLeft ? h.width - 1 - fx : fx);
    long y = long(topDown ? h.height - 1 - fy : fy);
    if (h.mapped || h.grey) {
      image.GetBits(uint32_t(y))[x] = p[0];
      continue;
    }
    uint8_t c[4];
    Unpack(p, h.depth, c);
    std::memcpy(image.GetBits(uint32_t(y)) + x * 3, c, 3);
    if (alpha) {
      alphaPlane[size_t(y) * h.width + size_t(x)] = c[3];
      anyAlpha = anyAlpha || c[3] != 0;
    }
  }
  // Writers that leave the attribute bits at zero everywhere mean no transparency.
  if (anyAlpha && image.AlphaCreate()) std::memcpy(image.AlphaGetPointer(), alphaPlane.data(), count);
  return true;
}

}  // namespace

bool DecodeTga(CoderJob& job) {
  std::vector<uint8_t> bytes;
  if (!ReadRest(job.file, bytes)) return job.Fail("Can't allocate memory");
  ByteReader r(bytes.data(), bytes.size());
  TgaHeader h;
  if (const char* error = ReadHeader(r, &h)) return job.Fail(error);
  std::vector<CxRgbQuad> palette;
  if (!ReadColorMap(r, h, &palette)) return job.Fail("corrupted TGA");
  if (!SizeAllowed(h.width, h.height)) return job.Fail(kTooLargeText);
  const size_t pixelBytes = size_t((h.depth + 7) / 8);
  if (!h.rle && r.remaining() < size_t(h.width) * h.height * pixelBytes) return job.Fail("corrupted TGA");
  if (!job.Create(h.width, h.height, h.mapped || h.grey ? 8 : 24, "TGA Create failed")) return false;
  if (h.grey)
    job.image.SetGrayPalette();
  else if (h.mapped)
    job.image.SetPalette(palette.data(), 256);
  return ReadPixels(job, r, h);
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
