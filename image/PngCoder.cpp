// PNG over libpng 1.6: read, write and flush callbacks on CxFile, the library's messages as
// the last-error text.
#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

#include "image/Coders.h"

namespace qv {
namespace image {
namespace {

struct IoState {
  CxFile* file;
  char message[256];
};

void OnError(png_structp png, png_const_charp text) {
  IoState* io = static_cast<IoState*>(png_get_error_ptr(png));
  std::strncpy(io->message, text ? text : "", sizeof io->message - 1);
  io->message[sizeof io->message - 1] = '\0';
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void ReadData(png_structp png, png_bytep data, png_size_t length) {
  IoState* io = static_cast<IoState*>(png_get_io_ptr(png));
  if (io->file->Read(data, 1, length) != length) png_error(png, "Read Error");
}

void WriteData(png_structp png, png_bytep data, png_size_t length) {
  IoState* io = static_cast<IoState*>(png_get_io_ptr(png));
  if (io->file->Write(data, 1, length) != length) png_error(png, "Write Error");
}

void FlushData(png_structp png) {
  IoState* io = static_cast<IoState*>(png_get_io_ptr(png));
  if (!io->file->Flush()) png_error(png, "Flush Error");
}

// Scratch memory of one decode, owned outside the frame that may be left by a long jump.
struct ReadBuffers {
  std::vector<uint8_t> pixels;
  std::vector<png_bytep> rows;
};

// What the header says and how the rows arrive after the transforms.
struct ReadLayout {
  png_uint_32 width = 0, height = 0;
  int depth = 0, colorType = 0;
  bool hasTrns = false;
  bool indexed = false;  // palette and grey pictures stay indexed
  int channels = 0;      // bytes per pixel as libpng delivers them
  uint32_t bpp = 0;      // of the block
};

// The transforms for the header in l: one byte per index, or blue-green-red (+ alpha).
// The helpers below run inside RunRead's jump frame: nothing with a destructor lives in them.
void SetTransforms(png_structp png, png_infop info, ReadLayout& l) {
  l.hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  l.indexed = l.colorType == PNG_COLOR_TYPE_PALETTE || l.colorType == PNG_COLOR_TYPE_GRAY;
  png_set_scale_16(png);
  if (l.indexed) {
    png_set_packing(png);
    l.channels = 1;
  } else {
    if (l.colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    if (l.hasTrns) png_set_tRNS_to_alpha(png);
    png_set_bgr(png);
    l.channels = (l.colorType & PNG_COLOR_MASK_ALPHA) || l.hasTrns ? 4 : 3;
  }
  png_set_interlace_handling(png);
  l.bpp = l.indexed ? (l.depth <= 1 ? 1 : l.depth <= 4 ? 4 : 8) : 24;
}

// The PLTE entries with their tRNS alpha; the first fully transparent entry is the
// transparent index.
void SetPaletteColors(png_structp png, png_infop info, const ReadLayout& l, CxImage& image) {
  png_colorp palette = nullptr;
  int entries = 0;
  png_get_PLTE(png, info, &palette, &entries);
  png_bytep alpha = nullptr;
  int alphaEntries = 0;
  if (l.hasTrns) png_get_tRNS(png, info, &alpha, &alphaEntries, nullptr);
  for (int i = 0; i < entries && i < int(image.GetNumColors()); i++)
    image.SetPaletteIndex(uint8_t(i), palette[i].red, palette[i].green, palette[i].blue,
                          uint8_t(i < alphaEntries ? alpha[i] : 255));
  if (alphaEntries == 0) {
    image.AlphaPaletteClear();
    return;
  }
  image.AlphaPaletteEnable(true);
  for (int i = 0; i < alphaEntries; i++)
    if (alpha[i] == 0) {
      image.SetTransIndex(i);
      break;
    }
}

// Grey levels spread over the palette of the stored depth; the tRNS grey as transparent index.
void SetGreyColors(png_structp png, png_infop info, const ReadLayout& l, CxImage& image) {
  uint32_t levels = 1u << (l.depth > 8 ? 8 : l.depth);
  for (uint32_t i = 0; i < levels && i < image.GetNumColors(); i++) {
    uint8_t v = uint8_t(i * 255 / (levels - 1));
    image.SetPaletteIndex(uint8_t(i), v, v, v);
  }
  png_color_16p trans = nullptr;
  if (l.hasTrns && png_get_tRNS(png, info, nullptr, nullptr, &trans) && trans) {
    uint32_t g = trans->gray;
    if (l.depth == 16) g >>= 8;
    if (g < levels) image.SetTransIndex(long(g));
  }
}

void SetResolution(png_structp png, png_infop info, CxImage& image) {
  png_uint_32 xres = 0, yres = 0;
  int unit = 0;
  if (png_get_pHYs(png, info, &xres, &yres, &unit) && unit == PNG_RESOLUTION_METER) {
    image.SetXDPI(long((xres * 254ull + 5000) / 10000));
    image.SetYDPI(long((yres * 254ull + 5000) / 10000));
  }
}

// The decoded rows (already bottom-up) into the block, alpha into its own plane.
void CopyRows(const ReadLayout& l, const ReadBuffers& buf, CxImage& image) {
  const png_uint_32 width = l.width;
  for (png_uint_32 y = 0; y < l.height; y++) {
    const uint8_t* s = buf.pixels.data() + size_t(y) * width * l.channels;
    uint8_t* d = image.GetBits(y);
    if (l.indexed) {
      if (l.bpp == 8) {
        std::memcpy(d, s, width);
      } else {
        for (png_uint_32 x = 0; x < width; x++) image.SetPixelIndex(long(x), long(y), s[x]);
      }
    } else if (l.channels == 3) {
      std::memcpy(d, s, size_t(width) * 3);
    } else {
      uint8_t* a = image.AlphaGetPointer(0, long(y));
      for (png_uint_32 x = 0; x < width; x++, s += 4, d += 3) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
        a[x] = s[3];
      }
    }
  }
}

bool RunRead(png_structp png, png_infop info, IoState& io, CoderJob& job, ReadBuffers& buf) {
  if (setjmp(png_jmpbuf(png))) return job.Fail(io.message);
  png_set_read_fn(png, &io, ReadData);
  png_read_info(png, info);
  ReadLayout l;
  int interlace = 0;
  png_get_IHDR(png, info, &l.width, &l.height, &l.depth, &l.colorType, &interlace, nullptr, nullptr);
  if (!SizeAllowed(l.width, l.height)) return job.Fail(kTooLargeText);
  SetTransforms(png, info, l);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != size_t(l.width) * l.channels) return job.Fail("Error reading PNG file");
  if (!job.Create(l.width, l.height, l.bpp, "Can't allocate memory")) return false;
  CxImage& image = job.image;
  if (l.colorType == PNG_COLOR_TYPE_PALETTE)
    SetPaletteColors(png, info, l, image);
  else if (l.indexed)
    SetGreyColors(png, info, l, image);
  SetResolution(png, info, image);
  buf.pixels.resize(size_t(l.width) * l.channels * l.height);
  buf.rows.resize(l.height);
  // The top row of the file is the last row of the block.
  for (png_uint_32 y = 0; y < l.height; y++)
    buf.rows[y] = buf.pixels.data() + size_t(l.height - 1 - y) * l.width * l.channels;
  png_read_image(png, buf.rows.data());
  png_read_end(png, nullptr);
  if (l.channels == 4 && !image.AlphaCreate()) return job.Fail("Can't allocate memory");
  CopyRows(l, buf, image);
  return true;
}

struct WriteBuffers {
  std::vector<uint8_t> pixels;
  std::vector<png_bytep> rows;
  std::vector<png_color> palette;
  std::vector<png_byte> alpha;
};

bool RunWrite(png_structp png, png_infop info, IoState& io, CoderJob& job, WriteBuffers& buf) {
  if (setjmp(png_jmpbuf(png))) {
    bool ioFailure = !std::strcmp(io.message, "Write Error") || !std::strcmp(io.message, "Flush Error");
    return job.Fail(ioFailure ? io.message : "Error saving PNG file");
  }
  CxImage& image = job.image;
  png_set_write_fn(png, &io, WriteData, FlushData);
  const uint32_t w = image.GetWidth(), h = image.GetHeight(), bpp = image.GetBpp();
  const bool alpha = image.HasAlpha() && bpp == 24;
  const bool indexed = bpp <= 8;
  int colorType = indexed ? PNG_COLOR_TYPE_PALETTE : alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
  png_set_IHDR(png, info, w, h, indexed ? int(bpp) : 8, colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_pHYs(png, info, png_uint_32(image.GetXDPI() * 10000 / 254), png_uint_32(image.GetYDPI() * 10000 / 254),
               PNG_RESOLUTION_METER);
  if (indexed) {
    uint32_t n = image.GetNumColors();
    buf.palette.resize(n);
    for (uint32_t i = 0; i < n; i++) {
      CxRgbQuad c = image.GetPaletteColor(uint8_t(i));
      buf.palette[i] = png_color{c.rgbRed, c.rgbGreen, c.rgbBlue};
    }
    png_set_PLTE(png, info, buf.palette.data(), int(n));
    if (image.IsAlphaPaletteEnabled() || image.GetTransIndex() >= 0) {
      buf.alpha.resize(n, 255);
      for (uint32_t i = 0; i < n; i++) {
        if (image.IsAlphaPaletteEnabled()) buf.alpha[i] = image.GetPaletteColor(uint8_t(i)).rgbReserved;
        if (long(i) == image.GetTransIndex()) buf.alpha[i] = 0;
      }
      png_set_tRNS(png, info, buf.alpha.data(), int(n), nullptr);
    }
  }
  png_write_info(png, info);
  if (!indexed) png_set_bgr(png);
  const size_t rowBytes = indexed ? image.GetEffWidth() : size_t(w) * (alpha ? 4 : 3);
  buf.pixels.resize(rowBytes);
  for (uint32_t i = 0; i < h; i++) {
    uint32_t y = h - 1 - i;
    const uint8_t* s = image.GetBits(y);
    if (alpha) {
      const uint8_t* a = image.AlphaGetPointer(0, long(y));
      uint8_t* d = buf.pixels.data();
      for (uint32_t x = 0; x < w; x++, s += 3, d += 4) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
        d[3] = a[x];
      }
    } else {
      std::memcpy(buf.pixels.data(), s, rowBytes);
    }
    png_write_row(png, buf.pixels.data());
  }
  png_write_end(png, info);
  return true;
}

}  // namespace

bool DecodePng(CoderJob& job) {
  IoState io{&job.file, {0}};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &io, OnError, OnWarning);
  if (!png) return job.Fail("Failed to create PNG structure");
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return job.Fail("Failed to initialize PNG info structure");
  }
  // The limits of libpng itself must not refuse what the image object accepts.
  png_set_user_limits(png, kCxMaxSide, kCxMaxSide);
  // A chunk claiming gigabytes of text is refused before libpng allocates for it; pixel data is
  // streamed and not bound by this.
  png_set_chunk_malloc_max(png, 16u << 20);
  png_set_chunk_cache_max(png, 1000);
  // Ancillary chunks the image object has no use for are skipped unread, which also spares the
  // allocations that libpng would make for a chunk claiming gigabytes.
  static const png_byte kIgnored[] = "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0sCAL\0sBIT\0"
                                     "sPLT\0sRGB\0tEXt\0tIME\0zTXt";
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kIgnored, int(sizeof kIgnored / 5));
  ReadBuffers buffers;
  bool ok = RunRead(png, info, io, job, buffers);
  png_destroy_read_struct(&png, &info, nullptr);
  return ok;
}

bool EncodePng(CoderJob& job) {
  IoState io{&job.file, {0}};
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &io, OnError, OnWarning);
  if (!png) return job.Fail("Failed to create PNG structure");
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return job.Fail("Failed to initialize PNG info structure");
  }
  WriteBuffers buffers;
  bool ok = RunWrite(png, info, io, job, buffers);
  png_destroy_write_struct(&png, &info);
  return ok;
}

}  // namespace image
}  // namespace qv
