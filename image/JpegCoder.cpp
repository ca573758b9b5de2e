// JPEG over libjpeg(-turbo): a source and a destination manager on CxFile, and an error manager
// that turns the library's messages into the last-error text.
#include <csetjmp>
#include <cstdio>
#include <cstring>

extern "C" {
#include <jerror.h>
#include <jpeglib.h>
}

#include <memory>

#include "image/AreaAverage.h"
#include "image/Coders.h"
#include "image/DecodeScale.h"

namespace qv {
namespace image {
namespace {

// Reads in large pieces: a 20 MP photo is several megabytes, every piece is a system call, and
// libjpeg's fast Huffman path runs only while the buffer holds a whole MCU's worth of bytes.
constexpr size_t kReadSize = 64 * 1024;
constexpr size_t kWriteSize = 4096;

struct ErrorManager {
  jpeg_error_mgr pub;
  jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  bool truncated;
};

void ErrorExit(j_common_ptr cinfo) {
  ErrorManager* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  longjmp(err->jump, 1);
}

// Warnings are not printed. A file that ends early is remembered: it fails the decode instead
// of giving a picture with a grey lower part.
void EmitMessage(j_common_ptr cinfo, int level) {
  ErrorManager* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF && !err->truncated) {
    err->truncated = true;
    (*cinfo->err->format_message)(cinfo, err->message);
  }
}

void OutputMessage(j_common_ptr) {}

void InstallErrors(ErrorManager& err) {
  jpeg_std_error(&err.pub);
  err.pub.error_exit = ErrorExit;
  err.pub.emit_message = EmitMessage;
  err.pub.output_message = OutputMessage;
  err.message[0] = '\0';
  err.truncated = false;
}

struct Source {
  jpeg_source_mgr pub;
  CxFile* file;
  bool startOfFile;
  JOCTET buffer[kReadSize];
};

void InitSource(j_decompress_ptr cinfo) { reinterpret_cast<Source*>(cinfo->src)->startOfFile = true; }

boolean FillInputBuffer(j_decompress_ptr cinfo) {
  Source* src = reinterpret_cast<Source*>(cinfo->src);
  size_t n = src->file->Read(src->buffer, 1, kReadSize);
  if (n == 0) {
    if (src->startOfFile) ERREXIT(cinfo, JERR_INPUT_EMPTY);
    WARNMS(cinfo, JWRN_JPEG_EOF);
    // A fake end-of-image marker lets the library finish.
    src->buffer[0] = 0xFF;
    src->buffer[1] = JPEG_EOI;
    n = 2;
  }
  src->pub.next_input_byte = src->buffer;
  src->pub.bytes_in_buffer = n;
  src->startOfFile = false;
  return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
  Source* src = reinterpret_cast<Source*>(cinfo->src);
  if (count <= 0) return;
  while (count > long(src->pub.bytes_in_buffer)) {
    count -= long(src->pub.bytes_in_buffer);
    FillInputBuffer(cinfo);
  }
  src->pub.next_input_byte += count;
  src->pub.bytes_in_buffer -= size_t(count);
}

void TermSource(j_decompress_ptr) {}

struct Destination {
  jpeg_destination_mgr pub;
  CxFile* file;
  JOCTET buffer[kWriteSize];
};

void InitDestination(j_compress_ptr cinfo) {
  Destination* dst = reinterpret_cast<Destination*>(cinfo->dest);
  dst->pub.next_output_byte = dst->buffer;
  dst->pub.free_in_buffer = kWriteSize;
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
  Destination* dst = reinterpret_cast<Destination*>(cinfo->dest);
  if (dst->file->Write(dst->buffer, 1, kWriteSize) != kWriteSize) ERREXIT(cinfo, JERR_FILE_WRITE);
  dst->pub.next_output_byte = dst->buffer;
  dst->pub.free_in_buffer = kWriteSize;
  return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
  Destination* dst = reinterpret_cast<Destination*>(cinfo->dest);
  size_t n = kWriteSize - dst->pub.free_in_buffer;
  if (n && dst->file->Write(dst->buffer, 1, n) != n) ERREXIT(cinfo, JERR_FILE_WRITE);
  if (!dst->file->Flush()) ERREXIT(cinfo, JERR_FILE_WRITE);
}

struct Decoder {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  Source src;
  // Set for a decode that is resampled: the size wanted, which the fit gives for the picture's
  // full size, and the averaging fed while decoding (it lives here, outside the jump frame, so
  // that a long jump out of the library frees it).
  const CxImage::SizeFit* fit = nullptr;
  CxImage::FittedSize target{0, 0};
  std::unique_ptr<AreaAverageFeed> feed;
};

// The helpers of RunDecode run inside its jump frame: nothing with a destructor lives in them.
void AttachSource(Decoder& d, CxFile& file) {
  d.src.pub.init_source = InitSource;
  d.src.pub.fill_input_buffer = FillInputBuffer;
  d.src.pub.skip_input_data = SkipInputData;
  d.src.pub.resync_to_restart = jpeg_resync_to_restart;
  d.src.pub.term_source = TermSource;
  d.src.pub.bytes_in_buffer = 0;
  d.src.pub.next_input_byte = nullptr;
  d.src.file = &file;
  d.cinfo.src = &d.src.pub;
}

// Decodes at the scale DecodeScaleEighths picks for the target size.
void ChooseScale(jpeg_decompress_struct& cinfo, uint32_t targetWidth, uint32_t targetHeight) {
  const unsigned eighths = DecodeScaleEighths(cinfo.image_width, cinfo.image_height, targetWidth, targetHeight);
  cinfo.scale_num = eighths;
  cinfo.scale_denom = 8;
  if (eighths < 8) {
    // The picture is reduced further anyway: the fast paths lose nothing visible.
    cinfo.dct_method = JDCT_IFAST;
    cinfo.do_fancy_upsampling = FALSE;
  }
}

// For a resampled decode: the size the fit gives for the picture's full size, and the decoder's
// scale for it. A target that does not shrink the picture keeps the full decode.
void ChooseResampledScale(Decoder& d) {
  d.target = (*d.fit)(d.cinfo.image_width, d.cinfo.image_height);
  if (d.target.width <= 0 || d.target.height <= 0) return;
  ChooseScale(d.cinfo, uint32_t(d.target.width), uint32_t(d.target.height));
}

void SetDensity(const jpeg_decompress_struct& cinfo, CxImage& image) {
  if (cinfo.density_unit == 1) {
    image.SetXDPI(cinfo.X_density);
    image.SetYDPI(cinfo.Y_density);
  } else if (cinfo.density_unit == 2) {
    image.SetXDPI(long(cinfo.X_density * 254L / 100));
    image.SetYDPI(long(cinfo.Y_density * 254L / 100));
  }
}

// One CMYK row into blue-green-red; Adobe writes CMYK inverted.
void CmykToBgr(const JSAMPLE* s, uint32_t width, bool inverted, JSAMPROW row) {
  for (uint32_t x = 0; x < width; x++, s += 4, row += 3) {
    unsigned c = s[0], m = s[1], yy = s[2], k = s[3];
    if (!inverted) c = 255 - c, m = 255 - m, yy = 255 - yy, k = 255 - k;
    row[0] = JSAMPLE(yy * k / 255);
    row[1] = JSAMPLE(m * k / 255);
    row[2] = JSAMPLE(c * k / 255);
  }
}

// The scan lines, top-down from the library into the bottom-up block; false when cancelled.
bool ReadRows(jpeg_decompress_struct& cinfo, CoderJob& job, bool cmyk) {
  CxImage& image = job.image;
  const uint32_t w = cinfo.output_width, h = cinfo.output_height;
  JSAMPARRAY cmykRow = nullptr;
  if (cmyk) cmykRow = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE, w * 4, 1);
  while (cinfo.output_scanline < h) {
    if ((cinfo.output_scanline & 63) == 0 && job.Cancelled()) return job.Fail("Cancelled");
    JSAMPROW row = image.GetBits(h - 1 - cinfo.output_scanline);
    if (!cmyk) {
      jpeg_read_scanlines(&cinfo, &row, 1);
      continue;
    }
    jpeg_read_scanlines(&cinfo, cmykRow, 1);
    CmykToBgr(cmykRow[0], w, cinfo.saw_Adobe_marker, row);
  }
  return true;
}

// The scan lines handed to the averaging as they come, top row first.
bool FeedRows(jpeg_decompress_struct& cinfo, CoderJob& job, bool cmyk, AreaAverageFeed& feed) {
  const uint32_t w = cinfo.output_width, h = cinfo.output_height;
  j_common_ptr common = reinterpret_cast<j_common_ptr>(&cinfo);
  JSAMPARRAY cmykRow = cmyk ? (*cinfo.mem->alloc_sarray)(common, JPOOL_IMAGE, w * 4, 1) : nullptr;
  while (cinfo.output_scanline < h) {
    if ((cinfo.output_scanline & 63) == 0 && job.Cancelled()) return job.Fail("Cancelled");
    JSAMPROW row = feed.NextRow();
    if (!cmyk) {
      jpeg_read_scanlines(&cinfo, &row, 1);
    } else {
      jpeg_read_scanlines(&cinfo, cmykRow, 1);
      CmykToBgr(cmykRow[0], w, cinfo.saw_Adobe_marker, row);
    }
    feed.Add(row);
  }
  feed.Finish();
  return true;
}

// For a resampled decode of a colour picture that shrinks both ways: the picture made at the
// fitted size and the averaging that fills it. False to decode the picture whole.
bool StartFeed(Decoder& d, CoderJob& job, bool grey) {
  if (!d.fit || grey) return false;
  const uint32_t w = d.cinfo.output_width, h = d.cinfo.output_height;
  const CxImage::FittedSize size = d.target;
  if (size.width <= 0 || size.height <= 0 || uint64_t(size.width) >= w || uint64_t(size.height) >= h) return false;
  if (!job.Create(uint32_t(size.width), uint32_t(size.height), 24, "Can't allocate memory")) return false;
  d.feed = MakeAreaAverageFeed(w, h, job.image);
  return d.feed != nullptr;
}

// The scan lines into the picture, or into the averaging; then the library's end of the decode.
// Runs inside RunDecode's jump frame.
bool DecodeRows(Decoder& d, CoderJob& job, bool cmyk, bool grey) {
  jpeg_decompress_struct& cinfo = d.cinfo;
  const bool fed = StartFeed(d, job, grey);
  if (!fed) {
    if (!job.error.empty()) return false;  // the fitted picture could not be made
    if (!job.Create(cinfo.output_width, cinfo.output_height, grey ? 8 : 24, "Can't allocate memory")) return false;
    if (grey) job.image.SetGrayPalette();
  }
  SetDensity(cinfo, job.image);
  if (fed ? !FeedRows(cinfo, job, cmyk, *d.feed) : !ReadRows(cinfo, job, cmyk)) return false;
  jpeg_finish_decompress(&cinfo);
  return true;
}

// The library part of a decode. Nothing with a destructor lives in this frame, so the error
// manager's long jump out of the library is safe.
bool RunDecode(Decoder& d, CoderJob& job, uint32_t boxWidth, uint32_t boxHeight, uint32_t* fullWidth,
               uint32_t* fullHeight) {
  jpeg_decompress_struct& cinfo = d.cinfo;
  if (setjmp(d.err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return job.Fail(d.err.message);
  }
  jpeg_create_decompress(&cinfo);
  AttachSource(d, job.file);
  jpeg_read_header(&cinfo, TRUE);
  if (fullWidth) *fullWidth = cinfo.image_width;
  if (fullHeight) *fullHeight = cinfo.image_height;
  if (!SizeAllowed(cinfo.image_width, cinfo.image_height)) {
    jpeg_destroy_decompress(&cinfo);
    return job.Fail(kTooLargeText);
  }
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  const bool grey = cinfo.jpeg_color_space == JCS_GRAYSCALE;
  cinfo.out_color_space = cmyk ? JCS_CMYK : grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
  if (d.fit) {
    ChooseResampledScale(d);
  } else if (boxWidth && boxHeight) {
    uint32_t fitWidth, fitHeight;
    FitIntoBoxSize(cinfo.image_width, cinfo.image_height, boxWidth, boxHeight, &fitWidth, &fitHeight);
    ChooseScale(cinfo, fitWidth, fitHeight);
  }
  jpeg_start_decompress(&cinfo);
  const bool ok = DecodeRows(d, job, cmyk, grey);
  jpeg_destroy_decompress(&cinfo);
  if (ok && d.err.truncated) return job.Fail(d.err.message);
  return ok;
}

struct Encoder {
  jpeg_compress_struct cinfo;
  ErrorManager err;
  Destination dst;
};

bool RunEncode(Encoder& e, CoderJob& job) {
  jpeg_compress_struct& cinfo = e.cinfo;
  CxImage& image = job.image;
  if (setjmp(e.err.jump)) {
    jpeg_destroy_compress(&cinfo);
    return job.Fail(e.err.message);
  }
  jpeg_create_compress(&cinfo);
  e.dst.pub.init_destination = InitDestination;
  e.dst.pub.empty_output_buffer = EmptyOutputBuffer;
  e.dst.pub.term_destination = TermDestination;
  e.dst.file = &job.file;
  cinfo.dest = &e.dst.pub;
  const bool grey = image.GetBpp() == 8;
  cinfo.image_width = image.GetWidth();
  cinfo.image_height = image.GetHeight();
  cinfo.input_components = grey ? 1 : 3;
  cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, image.GetJpegQuality(), TRUE);
  cinfo.density_unit = 1;
  cinfo.X_density = UINT16(image.GetXDPI());
  cinfo.Y_density = UINT16(image.GetYDPI());
  jpeg_start_compress(&cinfo, TRUE);
  const uint32_t h = image.GetHeight();
  while (cinfo.next_scanline < h) {
    JSAMPROW row = image.GetBits(h - 1 - cinfo.next_scanline);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

// A decoder with its error manager in place (on the heap: the library's state is large).
std::unique_ptr<Decoder> NewDecoder() {
  std::unique_ptr<Decoder> d(new Decoder());
  InstallErrors(d->err);
  d->cinfo.err = &d->err.pub;
  return d;
}

}  // namespace

void FitIntoBoxSize(uint32_t width, uint32_t height, uint32_t boxWidth, uint32_t boxHeight, uint32_t* fitWidth,
                    uint32_t* fitHeight) {
  uint32_t w = width, h = height;
  if (w > boxWidth || h > boxHeight) {
    // The tighter side decides, computed in integers.
    if (uint64_t(w) * boxHeight >= uint64_t(h) * boxWidth) {
      h = uint32_t(uint64_t(h) * boxWidth / w);
      w = boxWidth;
    } else {
      w = uint32_t(uint64_t(w) * boxHeight / h);
      h = boxHeight;
    }
  }
  *fitWidth = w ? w : 1;
  *fitHeight = h ? h : 1;
}

bool DecodeJpegScaled(CoderJob& job, uint32_t boxWidth, uint32_t boxHeight, uint32_t* fullWidth,
                      uint32_t* fullHeight) {
  return RunDecode(*NewDecoder(), job, boxWidth, boxHeight, fullWidth, fullHeight);
}

bool DecodeJpeg(CoderJob& job) { return DecodeJpegScaled(job, 0, 0, nullptr, nullptr); }

bool DecodeJpegResampled(CoderJob& job, const CxImage::SizeFit& fit, ResampledDecode* result) {
  std::unique_ptr<Decoder> d = NewDecoder();
  d->fit = &fit;
  const bool ok = RunDecode(*d, job, 0, 0, nullptr, nullptr);
  result->target = d->target;
  result->reduced = ok && d->cinfo.scale_num < d->cinfo.scale_denom;
  result->resampled = ok && d->feed != nullptr;
  return ok;
}

bool EncodeJpeg(CoderJob& job) {
  CxImage& image = job.image;
  if (image.GetBpp() != 24 && !(image.GetBpp() == 8 && image.IsGrayScale()))
    return job.Fail("JPEG can save only RGB or GreyScale images");
  Encoder* e = new Encoder();
  InstallErrors(e->err);
  e->cinfo.err = &e->err.pub;
  bool ok = RunEncode(*e, job);
  delete e;
  return ok;
}

}  // namespace image
}  // namespace qv
