// GIF: every frame counted, the selected one decoded at its own size with its offset on the
// logical screen; writing one picture or several frames.
#include <cstring>
#include <vector>

#include "image/Coders.h"
#include "image/GifLzw.h"
#include "platform/ByteReader.h"

namespace qv {
namespace image {
namespace {

using platform::ByteReader;

const char kNotGif[] = "Not a GIF file";
const char kCorrupt[] = "Corrupted GIF file";

// A colour table in the file: RGB triples, not owned.
struct ColorTable {
  const uint8_t* rgb = nullptr;
  uint32_t entries = 0;
};

struct Frame {
  uint32_t left = 0, top = 0, width = 0, height = 0;
  bool interlaced = false;
  ColorTable table;
  long transparent = -1;
  int minCodeSize = 0;
  std::vector<uint8_t> data;  // the LZW codes, sub-blocks joined
};

// What the walk over the blocks has found so far.
struct FrameScan {
  long wanted = 0;
  long frames = 0;
  long transparent = -1;  // from the last graphic control extension, for the next frame
  bool found = false;
  Frame frame;
};

// Go: the next block follows; Stop: nothing more to count; Fail: the wanted frame is cut.
enum class Step { Go, Stop, Fail };

// Joins the data sub-blocks at the reader's position; false when they run past the end.
bool ReadSubBlocks(ByteReader& r, std::vector<uint8_t>* out) {
  for (;;) {
    uint8_t n = r.U8();
    if (r.failed()) return false;
    if (n == 0) return true;
    if (r.remaining() < n) return false;
    if (out) out->insert(out->end(), r.current(), r.current() + n);
    r.Skip(n);
  }
}

// The table that flags announces (2 << (flags & 7) entries); false when it runs past the end.
bool ReadColorTable(ByteReader& r, uint8_t flags, ColorTable* table) {
  table->entries = 2u << (flags & 7);
  if (r.remaining() < table->entries * 3) return false;
  table->rgb = r.current();
  r.Skip(table->entries * 3);
  return true;
}

// Signature, logical screen and global colour table; the error text, or nullptr.
const char* ReadScreen(ByteReader& r, ColorTable* global) {
  uint8_t sig[6];
  if (!r.Bytes(sig, 6) || std::memcmp(sig, "GIF", 3) != 0) return kNotGif;
  r.Skip(4);  // the logical screen's size: frames are decoded at their own
  const uint8_t flags = r.U8();
  r.Skip(2);  // background, aspect
  if (r.failed()) return kNotGif;
  if ((flags & 0x80) && !ReadColorTable(r, flags, global)) return kCorrupt;
  return nullptr;
}

// An extension block; a graphic control extension sets the next frame's transparent index.
bool ReadExtension(ByteReader& r, FrameScan& scan) {
  if (r.U8() != 0xF9) return ReadSubBlocks(r, nullptr);
  std::vector<uint8_t> gce;
  if (!ReadSubBlocks(r, &gce)) return false;
  if (gce.size() >= 4) scan.transparent = (gce[0] & 1) ? long(gce[3]) : -1;
  return true;
}

// An image descriptor with its codes, kept when it is the wanted frame.
Step ReadImage(ByteReader& r, const ColorTable& global, FrameScan& scan) {
  Frame f;
  f.left = r.U16LE();
  f.top = r.U16LE();
  f.width = r.U16LE();
  f.height = r.U16LE();
  const uint8_t flags = r.U8();
  if (r.failed()) return Step::Stop;
  f.interlaced = (flags & 0x40) != 0;
  if (!(flags & 0x80))
    f.table = global;
  else if (!ReadColorTable(r, flags, &f.table))
    return Step::Stop;
  f.minCodeSize = r.U8();
  f.transparent = scan.transparent;
  scan.transparent = -1;
  const bool isWanted = scan.frames == scan.wanted;
  // A cut frame: usable only if it is not the one asked for.
  if (!ReadSubBlocks(r, isWanted ? &f.data : nullptr)) return isWanted ? Step::Fail : Step::Stop;
  if (isWanted) {
    scan.frame = std::move(f);
    scan.found = true;
  }
  scan.frames++;
  return Step::Go;
}

// Every frame counted until the trailer, or bytes that are no block.
Step ScanBlocks(ByteReader& r, const ColorTable& global, FrameScan& scan) {
  Step step = Step::Go;
  while (step == Step::Go && r.remaining() > 0) {
    switch (r.U8()) {
      case 0x21:
        step = ReadExtension(r, scan) ? Step::Go : Step::Stop;
        break;
      case 0x2C:
        step = ReadImage(r, global, scan);
        break;
      default:
        step = Step::Stop;
        break;
    }
  }
  return step;
}

int BitsFor(uint32_t entries) {
  int bits = 1;
  while ((1u << bits) < entries) bits++;
  return bits;
}

// The depth that holds both the frame's table and every index its pixels use.
uint32_t FrameDepth(const Frame& frame, const std::vector<uint8_t>& pixels) {
  uint8_t maxIndex = 0;
  for (uint8_t p : pixels)
    if (p > maxIndex) maxIndex = p;
  uint32_t entries = frame.table.entries ? frame.table.entries : (1u << frame.minCodeSize);
  return uint32_t(BitsFor(entries > uint32_t(maxIndex) + 1 ? entries : uint32_t(maxIndex) + 1));
}

// The decoded indices into the bottom-up block: file rows are top-down, interlaced ones in
// four passes.
void PutRows(const Frame& frame, const std::vector<uint8_t>& pixels, CxImage& image) {
  static const uint32_t kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
  uint32_t fileRow = 0;
  for (int pass = 0; pass < (frame.interlaced ? 4 : 1); pass++) {
    uint32_t start = frame.interlaced ? kStart[pass] : 0, step = frame.interlaced ? kStep[pass] : 1;
    for (uint32_t y = start; y < frame.height; y += step, fileRow++) {
      const uint8_t* s = pixels.data() + size_t(fileRow) * frame.width;
      long row = long(frame.height - 1 - y);
      if (image.GetBpp() == 8)
        std::memcpy(image.GetBits(uint32_t(row)), s, frame.width);
      else
        for (uint32_t x = 0; x < frame.width; x++) image.SetPixelIndex(long(x), row, s[x]);
    }
  }
}

// The picture of one frame: codes expanded, palette, rows and transparent index.
bool DecodeFrame(CoderJob& job, const Frame& frame) {
  if (frame.width == 0 || frame.height == 0 || frame.minCodeSize < 1 || frame.minCodeSize > 8)
    return job.Fail(kCorrupt);
  if (!SizeAllowed(frame.width, frame.height)) return job.Fail(kTooLargeText);
  std::vector<uint8_t> pixels(size_t(frame.width) * frame.height);
  if (LzwDecode(frame.data.data(), frame.data.size(), frame.minCodeSize, pixels) < pixels.size())
    return job.Fail(kCorrupt);
  if (!job.Create(frame.width, frame.height, FrameDepth(frame, pixels), "Can't allocate memory")) return false;
  CxImage& image = job.image;
  if (frame.table.rgb) {
    image.SetPalette(frame.table.rgb, frame.table.entries, true);
  } else {
    image.SetGrayPalette();
  }
  PutRows(frame, pixels, image);
  if (frame.transparent >= 0 && uint32_t(frame.transparent) < image.GetNumColors()) image.SetTransIndex(frame.transparent);
  image.SetOffset(long(frame.left), long(frame.top));
  return true;
}

}  // namespace

bool DecodeGif(CoderJob& job) {
  std::vector<uint8_t> bytes;
  if (!ReadRest(job.file, bytes)) return job.Fail("Can't allocate memory");
  ByteReader r(bytes.data(), bytes.size());
  ColorTable global;
  if (const char* error = ReadScreen(r, &global)) return job.Fail(error);
  FrameScan scan;
  scan.wanted = job.caller.GetFrame();
  if (ScanBlocks(r, global, scan) == Step::Fail) return job.Fail(kCorrupt);
  if (!scan.found) return job.Fail(scan.frames ? "GIF frame not present" : kCorrupt);
  if (!DecodeFrame(job, scan.frame)) return false;
  job.image.SetFrame(scan.wanted);
  job.image.SetNumFrames(scan.frames);
  return true;
}

namespace {

void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(uint8_t(x));
  v.push_back(uint8_t(x >> 8));
}

// An indexed copy for writing: palette pictures as they are, true colour onto the standard
// 256-colour palette with error diffusion.
bool IndexedCopy(const CxImage& src, CxImage& out) {
  out.Copy(src);
  if (!out.IsValid()) return false;
  if (out.GetBpp() == 24) return out.DecreaseBpp(8, true, nullptr);
  return true;
}

void AppendFrame(std::vector<uint8_t>& v, const CxImage& image, bool localPalette, long left, long top) {
  const uint32_t w = image.GetWidth(), h = image.GetHeight(), bpp = image.GetBpp();
  if (image.GetTransIndex() >= 0) {
    v.insert(v.end(), {0x21, 0xF9, 4, 1, 0, 0, uint8_t(image.GetTransIndex()), 0});
  }
  v.push_back(0x2C);
  Put16(v, uint32_t(left));
  Put16(v, uint32_t(top));
  Put16(v, w);
  Put16(v, h);
  const int tableBits = bpp == 1 ? 1 : bpp == 4 ? 4 : 8;
  v.push_back(localPalette ? uint8_t(0x80 | (tableBits - 1)) : 0);
  if (localPalette)
    for (uint32_t i = 0; i < (1u << tableBits); i++) {
      CxRgbQuad c = image.GetPaletteColor(uint8_t(i));
      v.insert(v.end(), {c.rgbRed, c.rgbGreen, c.rgbBlue});
    }
  std::vector<uint8_t> pixels(size_t(w) * h);
  for (uint32_t y = 0; y < h; y++)
    for (uint32_t x = 0; x < w; x++) pixels[size_t(y) * w + x] = image.GetPixelIndex(long(x), long(h - 1 - y));
  const int minCode = tableBits < 2 ? 2 : tableBits;
  std::vector<uint8_t> codes = LzwEncode(pixels.data(), pixels.size(), minCode);
  v.push_back(uint8_t(minCode));
  for (size_t i = 0; i < codes.size(); i += 255) {
    size_t n = codes.size() - i < 255 ? codes.size() - i : 255;
    v.push_back(uint8_t(n));
    v.insert(v.end(), codes.begin() + long(i), codes.begin() + long(i + n));
  }
  v.push_back(0);
}

bool WriteAll(CxFile& file, const std::vector<uint8_t>& v, std::string& error) {
  if (file.Write(v.data(), 1, v.size()) != v.size()) {
    error = "Can't open GIF for writing";
    return false;
  }
  return true;
}

}  // namespace

bool EncodeGif(CoderJob& job) {
  CxImage indexed;
  if (!IndexedCopy(job.image, indexed)) return job.Fail("Bad image pointer");
  std::vector<uint8_t> v = {'G', 'I', 'F', '8', '9', 'a'};
  const uint32_t w = indexed.GetWidth(), h = indexed.GetHeight();
  Put16(v, w);
  Put16(v, h);
  const int tableBits = indexed.GetBpp() == 1 ? 1 : indexed.GetBpp() == 4 ? 4 : 8;
  v.insert(v.end(), {uint8_t(0xF0 | (tableBits - 1)), 0, 0});
  for (uint32_t i = 0; i < (1u << tableBits); i++) {
    CxRgbQuad c = indexed.GetPaletteColor(uint8_t(i));
    v.insert(v.end(), {c.rgbRed, c.rgbGreen, c.rgbBlue});
  }
  AppendFrame(v, indexed, false, 0, 0);
  v.push_back(0x3B);
  std::string error;
  if (!WriteAll(job.file, v, error)) return job.Fail(error.c_str());
  return true;
}

bool EncodeGifMulti(CxFile& file, CxImage** images, int count, std::string& error) {
  if (!images || count <= 0) {
    error = "multipage GIF, no images!";
    return false;
  }
  uint32_t w = 0, h = 0;
  for (int i = 0; i < count; i++) {
    if (!images[i] || !images[i]->IsValid()) {
      error = "Bad image pointer";
      return false;
    }
    long x, y;
    images[i]->GetOffset(&x, &y);
    if (x < 0 || y < 0 || x > 65535 || y > 65535) {
      error = "Bad image pointer";
      return false;
    }
    uint32_t right = uint32_t(x) + images[i]->GetWidth(), bottom = uint32_t(y) + images[i]->GetHeight();
    if (right > w) w = right;
    if (bottom > h) h = bottom;
  }
  if (w > 65535 || h > 65535) {
    error = "Bad image pointer";
    return false;
  }
  std::vector<uint8_t> v = {'G', 'I', 'F', '8', '9', 'a'};
  Put16(v, w);
  Put16(v, h);
  v.insert(v.end(), {0, 0, 0});
  // Loop forever, as animations are expected to.
  const uint8_t loop[] = {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0};
  v.insert(v.end(), loop, loop + sizeof loop);
  for (int i = 0; i < count; i++) {
    CxImage indexed;
    if (!IndexedCopy(*images[i], indexed)) {
      error = "Bad image pointer";
      return false;
    }
    long x, y;
    images[i]->GetOffset(&x, &y);
    AppendFrame(v, indexed, true, x, y);
  }
  v.push_back(0x3B);
  return WriteAll(file, v, error);
}

}  // namespace image
}  // namespace qv
