// TIFF over libtiff: client procedures on CxFile, page selection by frame, the library's
// messages kept per open file.
#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "image/Coders.h"

namespace qv {
namespace image {
namespace {

struct Client {
  CxFile* file;
  long base;  // where the TIFF data starts in the file
  char message[256];
};

tmsize_t ReadProc(thandle_t h, void* buffer, tmsize_t size) {
  Client* c = static_cast<Client*>(h);
  return tmsize_t(c->file->Read(buffer, 1, size_t(size)));
}

tmsize_t WriteProc(thandle_t h, void* buffer, tmsize_t size) {
  Client* c = static_cast<Client*>(h);
  return tmsize_t(c->file->Write(buffer, 1, size_t(size)));
}

toff_t SeekProc(thandle_t h, toff_t offset, int whence) {
  Client* c = static_cast<Client*>(h);
  long target;
  if (whence == SEEK_SET) {
    if (offset > toff_t(0x7FFFFFFF - c->base)) return toff_t(-1);
    target = c->base + long(offset);
    if (!c->file->Seek(target, SEEK_SET)) return toff_t(-1);
  } else {
    if (!c->file->Seek(long(int64_t(offset)), whence)) return toff_t(-1);
  }
  return toff_t(c->file->Tell() - c->base);
}

int CloseProc(thandle_t) { return 0; }

toff_t SizeProc(thandle_t h) {
  Client* c = static_cast<Client*>(h);
  long size = c->file->Size();
  return size > c->base ? toff_t(size - c->base) : 0;
}

int MapProc(thandle_t, void**, toff_t*) { return 0; }
void UnmapProc(thandle_t, void*, toff_t) {}

int OnError(TIFF*, void* user, const char*, const char* fmt, va_list ap) {
  Client* c = static_cast<Client*>(user);
  if (!c->message[0]) std::vsnprintf(c->message, sizeof c->message, fmt, ap);
  return 1;
}

int OnWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

// The process-wide handlers print to the console; every message goes through the per-file
// handlers instead.
void SilenceGlobalHandlers() {
  static bool done = false;
  if (done) return;
  TIFFSetErrorHandler(nullptr);
  TIFFSetWarningHandler(nullptr);
  done = true;
}

TIFF* Open(Client& client, const char* mode) {
  SilenceGlobalHandlers();
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  if (!options) return nullptr;
  TIFFOpenOptionsSetErrorHandlerExtR(options, OnError, &client);
  TIFFOpenOptionsSetWarningHandlerExtR(options, OnWarning, &client);
  TIFF* tif = TIFFClientOpenExt("CxImage", mode, &client, ReadProc, WriteProc, SeekProc, CloseProc, SizeProc, MapProc,
                                UnmapProc, options);
  TIFFOpenOptionsFree(options);
  return tif;
}

// A strip-organised palette, grey or bilevel page of 1, 4 or 8 bits read row by row, keeping
// its palette.
bool ReadIndexed(TIFF* tif, CoderJob& job, uint32_t w, uint32_t h, uint16_t bits, uint16_t photometric) {
  if (!job.Create(w, h, bits, "Can't allocate memory")) return false;
  CxImage& image = job.image;
  const uint32_t n = 1u << bits;
  if (photometric == PHOTOMETRIC_PALETTE) {
    uint16_t *r = nullptr, *g = nullptr, *b = nullptr;
    if (!TIFFGetField(tif, TIFFTAG_COLORMAP, &r, &g, &b) || !r || !g || !b)
      return job.Fail("Unable to allocate TIFF palette");
    // Colour maps are 16-bit (scaled down truncating); some writers
    // store 8-bit values in them.
    bool eightBit = true;
    for (uint32_t i = 0; i < n; i++)
      if (r[i] > 255 || g[i] > 255 || b[i] > 255) eightBit = false;
    auto level = [eightBit](uint16_t v) { return uint8_t(eightBit ? v : v / 257); };
    for (uint32_t i = 0; i < n; i++) image.SetPaletteIndex(uint8_t(i), level(r[i]), level(g[i]), level(b[i]));
  } else {
    for (uint32_t i = 0; i < n; i++) {
      uint8_t v = uint8_t(i * 255 / (n - 1));
      if (photometric == PHOTOMETRIC_MINISWHITE) v = uint8_t(255 - v);
      image.SetPaletteIndex(uint8_t(i), v, v, v);
    }
  }
  tmsize_t lineBytes = TIFFScanlineSize(tif);
  if (lineBytes <= 0 || uint64_t(lineBytes) > image.GetEffWidth()) return job.Fail("Corrupted TIFF file!");
  std::vector<uint8_t> line(static_cast<size_t>(lineBytes));
  for (uint32_t row = 0; row < h; row++) {
    if ((row & 63) == 0 && job.Cancelled()) return job.Fail("Cancelled");
    if (TIFFReadScanline(tif, line.data(), row, 0) < 0) return job.Fail("Corrupted TIFF file!");
    std::memcpy(image.GetBits(h - 1 - row), line.data(), line.size());
  }
  return true;
}

bool ReadPage(TIFF* tif, CoderJob& job) {
  uint32_t w = 0, h = 0;
  uint16_t bits = 1, samples = 1, photometric = PHOTOMETRIC_MINISWHITE, planar = PLANARCONFIG_CONTIG;
  uint16_t extraCount = 0;
  uint16_t* extra = nullptr;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
  TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
  TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
  TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &extraCount, &extra);
  if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric)) photometric = samples >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;
  if (w == 0 || h == 0) return job.Fail("Corrupted TIFF file!");
  if (!SizeAllowed(w, h)) return job.Fail(kTooLargeText);
  float xres = 0, yres = 0;
  uint16_t unit = RESUNIT_INCH;
  TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
  const bool indexedKind = photometric == PHOTOMETRIC_PALETTE || photometric == PHOTOMETRIC_MINISBLACK ||
                           photometric == PHOTOMETRIC_MINISWHITE;
  uint16_t compression = COMPRESSION_NONE;
  TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
  bool ok;
  if (indexedKind && samples == 1 && (bits == 1 || bits == 4 || bits == 8) && !TIFFIsTiled(tif) &&
      compression != COMPRESSION_OJPEG && compression != COMPRESSION_JPEG) {
    ok = ReadIndexed(tif, job, w, h, bits, photometric);
  } else {
    // Everything else through the library's RGBA reader, which delivers bottom-up rows.
    if (!job.Create(w, h, 24, "No space for raster buffer")) return false;
    std::vector<uint32_t> raster;
    try {
      raster.resize(size_t(w) * h);
    } catch (...) {
      return job.Fail("No space for raster buffer");
    }
    if (!TIFFReadRGBAImageOriented(tif, w, h, raster.data(), ORIENTATION_BOTLEFT, 0))
      return job.Fail("Corrupted TIFF file!");
    bool alpha = extraCount > 0 && extra && (extra[0] == EXTRASAMPLE_ASSOCALPHA || extra[0] == EXTRASAMPLE_UNASSALPHA);
    if (alpha && !job.image.AlphaCreate()) return job.Fail("No space for raster buffer");
    for (uint32_t y = 0; y < h; y++) {
      uint8_t* d = job.image.GetBits(y);
      const uint32_t* s = raster.data() + size_t(y) * w;
      uint8_t* a = alpha ? job.image.AlphaGetPointer(0, long(y)) : nullptr;
      for (uint32_t x = 0; x < w; x++, d += 3) {
        d[0] = uint8_t(TIFFGetB(s[x]));
        d[1] = uint8_t(TIFFGetG(s[x]));
        d[2] = uint8_t(TIFFGetR(s[x]));
        if (!a) continue;
        // The library hands out colours multiplied by alpha; the alpha plane wants them plain.
        uint32_t level = TIFFGetA(s[x]);
        a[x] = uint8_t(level);
        if (level && level < 255)
          for (int c = 0; c < 3; c++) d[c] = uint8_t(std::min<uint32_t>(255, (d[c] * 255u + level / 2) / level));
      }
    }
    ok = true;
  }
  if (ok && TIFFGetField(tif, TIFFTAG_XRESOLUTION, &xres) && TIFFGetField(tif, TIFFTAG_YRESOLUTION, &yres)) {
    float f = unit == RESUNIT_CENTIMETER ? 2.54f : 1.0f;
    if (xres > 0 && xres * f < 100000) job.image.SetXDPI(long(xres * f + 0.5f));
    if (yres > 0 && yres * f < 100000) job.image.SetYDPI(long(yres * f + 0.5f));
  }
  return ok;
}

// One page into an open TIFF file being written.
bool WritePage(TIFF* tif, CxImage& image, int page, int pages) {
  const uint32_t w = image.GetWidth(), h = image.GetHeight(), bpp = image.GetBpp();
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, w);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, h);
  TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_XRESOLUTION, float(image.GetXDPI()));
  TIFFSetField(tif, TIFFTAG_YRESOLUTION, float(image.GetYDPI()));
  TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
  if (pages > 1) {
    TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
    TIFFSetField(tif, TIFFTAG_PAGENUMBER, uint16_t(page), uint16_t(pages));
  }
  const bool alpha = bpp == 24 && image.HasAlpha();
  std::vector<uint16_t> r, g, b;
  if (bpp == 24) {
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, alpha ? 4 : 3);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    if (alpha) {
      uint16_t extra = EXTRASAMPLE_UNASSALPHA;
      TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &extra);
    }
  } else {
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bpp);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    if (image.IsGrayScale()) {
      TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    } else {
      TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
      uint32_t n = 1u << bpp;
      r.resize(n);
      g.resize(n);
      b.resize(n);
      for (uint32_t i = 0; i < n; i++) {
        CxRgbQuad c = image.GetPaletteColor(uint8_t(i));
        r[i] = uint16_t(c.rgbRed * 257);
        g[i] = uint16_t(c.rgbGreen * 257);
        b[i] = uint16_t(c.rgbBlue * 257);
      }
      TIFFSetField(tif, TIFFTAG_COLORMAP, r.data(), g.data(), b.data());
    }
  }
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
  const size_t lineBytes = bpp == 24 ? size_t(w) * (alpha ? 4 : 3) : (size_t(w) * bpp + 7) / 8;
  std::vector<uint8_t> line(lineBytes);
  for (uint32_t row = 0; row < h; row++) {
    uint32_t y = h - 1 - row;
    const uint8_t* s = image.GetBits(y);
    if (bpp == 24) {
      const uint8_t* a = alpha ? image.AlphaGetPointer(0, long(y)) : nullptr;
      uint8_t* d = line.data();
      for (uint32_t x = 0; x < w; x++, s += 3) {
        *d++ = s[2];
        *d++ = s[1];
        *d++ = s[0];
        if (a) *d++ = a[x];
      }
    } else {
      std::memcpy(line.data(), s, lineBytes);
    }
    if (TIFFWriteScanline(tif, line.data(), row, 0) < 0) return false;
  }
  return true;
}

}  // namespace

bool DecodeTiff(CoderJob& job) {
  Client client{&job.file, job.file.Tell() < 0 ? 0 : job.file.Tell(), {0}};
  TIFF* tif = Open(client, "rm");
  if (!tif) return job.Fail("Error encountered while opening TIFF file");
  long pages = 0;
  // Count the pages, guarding against directory loops the library reports as errors.
  do {
    pages++;
  } while (pages < 65536 && TIFFReadDirectory(tif));
  job.image.SetNumFrames(pages);
  long frame = job.caller.GetFrame();
  bool ok;
  if (frame >= pages || !TIFFSetDirectory(tif, tdir_t(frame))) {
    ok = job.Fail("Error: page not present in TIFF file");
  } else {
    client.message[0] = '\0';
    ok = ReadPage(tif, job);
    if (ok) job.image.SetFrame(frame);
  }
  TIFFClose(tif);
  if (ok) job.image.SetNumFrames(pages);
  return ok;
}

bool EncodeTiffMulti(CxFile& file, CxImage** images, int count, std::string& error) {
  if (count <= 0 || !images) {
    error = "multipage TIFF, no images!";
    return false;
  }
  for (int i = 0; i < count; i++)
    if (!images[i] || !images[i]->IsValid()) {
      error = "Bad image pointer";
      return false;
    }
  Client client{&file, file.Tell() < 0 ? 0 : file.Tell(), {0}};
  TIFF* tif = Open(client, "w");
  if (!tif) {
    error = "initialization fail";
    return false;
  }
  for (int i = 0; i < count; i++) {
    if (!WritePage(tif, *images[i], i, count)) {
      error = "Error saving TIFF file";
      TIFFClose(tif);
      return false;
    }
    if (!TIFFWriteDirectory(tif)) {
      error = "Error saving TIFF directory";
      TIFFClose(tif);
      return false;
    }
  }
  TIFFClose(tif);
  if (file.Error()) {
    error = "Error saving TIFF file";
    return false;
  }
  return true;
}

bool EncodeTiff(CoderJob& job) {
  CxImage* one = &job.image;
  std::string error;
  if (!EncodeTiffMulti(job.file, &one, 1, error)) return job.Fail(error.c_str());
  return true;
}

}  // namespace image
}  // namespace qv
