// Loading, decoding, encoding and saving: the dispatch to the coders by format type.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "image/Coders.h"
#include "image/CxImage.h"
#include "image/ImageLimits.h"
#include "image/SeparableResample.h"

namespace qv {
namespace image {

bool CoderJob::Create(uint32_t width, uint32_t height, uint32_t bpp, const char* allocText) {
  if (!SizeAllowed(width, height)) return Fail(kTooLargeText);
  if (!image.Create(width, height, bpp, image.GetType())) return Fail(allocText);
  return true;
}

bool ReadRest(CxFile& file, std::vector<uint8_t>& out, size_t maxBytes) {
  out.clear();
  long position = file.Tell();
  long size = file.Size();
  if (position >= 0 && size >= position) {
    size_t rest = static_cast<size_t>(size - position);
    if (rest > maxBytes) return false;
    out.resize(rest);
    size_t got = rest ? file.Read(out.data(), 1, rest) : 0;
    out.resize(got);
    return true;
  }
  // A stream without a size: read in pieces.
  uint8_t chunk[65536];
  size_t got;
  while ((got = file.Read(chunk, 1, sizeof chunk)) > 0) {
    if (out.size() + got > maxBytes) return false;
    out.insert(out.end(), chunk, chunk + got);
  }
  return true;
}

}  // namespace image
}  // namespace qv

namespace {
const char kUnsupported[] = "Unsupported operation for this format";

// The rest of the way for a JPEG decoded at a reduced scale. Where one side still shrinks and
// the other does not (a fixed size that stretches the picture), the sides are taken one at a
// time, so that the shrinking one is averaged rather than point-sampled.
bool FinishReducedDecode(CxImage& image, long width, long height) {
  const long oldW = long(image.GetWidth()), oldH = long(image.GetHeight());
  if ((width < oldW) == (height < oldH) || image.GetBpp() != 24) return image.Resample(width, height, 0);
  CxImage made;
  made.CopyInfo(image);
  if (!made.Create(uint32_t(width), uint32_t(height), 24, image.GetType())) {
    image.SetLastError(made.GetLastError());
    return false;
  }
  if (!qv::image::SeparableResample(image, made)) {
    image.SetLastError("Cancelled");
    return false;
  }
  image.Transfer(made);
  return true;
}
}  // namespace

bool CxImage::Load(const char* filename, uint32_t imagetype) {
  if (!filename) return false;
  CxIOFile file;
  if (!file.Open(filename, "rb")) return false;
  return Decode(&file, imagetype);
}

bool CxImage::LoadResampled(const char* filename, uint32_t imagetype, const SizeFit& fit, bool* resampled) {
  if (resampled) *resampled = false;
  if (!filename) return false;
  CxIOFile file;
  if (!file.Open(filename, "rb")) return false;
  qv::image::ResampledDecode jpeg;
  const bool isJpeg = imagetype == CXIMAGE_FORMAT_JPG;
  const bool loaded =
      isJpeg ? DecodeWith(&file, imagetype,
                          [&](qv::image::CoderJob& job) { return qv::image::DecodeJpegResampled(job, fit, &jpeg); })
             : Decode(&file, imagetype);
  if (!loaded) return false;
  bool done = jpeg.resampled;
  if (!done) {
    // A JPEG may come from the decoder reduced: the fit was asked for its full size.
    const FittedSize size = isJpeg ? jpeg.target : fit(GetWidth(), GetHeight());
    done = size.width > 0 && size.height > 0 &&
           (jpeg.reduced ? FinishReducedDecode(*this, size.width, size.height) : Resample(size.width, size.height, 0));
  }
  if (resampled) *resampled = done;
  return true;
}

bool CxImage::Decode(CxFile* hFile, uint32_t imagetype) {
  bool (*coder)(qv::image::CoderJob&) = nullptr;
  switch (imagetype) {
    case CXIMAGE_FORMAT_BMP: coder = qv::image::DecodeBmp; break;
    case CXIMAGE_FORMAT_GIF: coder = qv::image::DecodeGif; break;
    case CXIMAGE_FORMAT_JPG: coder = qv::image::DecodeJpeg; break;
    case CXIMAGE_FORMAT_PNG: coder = qv::image::DecodePng; break;
    case CXIMAGE_FORMAT_ICO: coder = qv::image::DecodeIco; break;
    case CXIMAGE_FORMAT_TIF: coder = qv::image::DecodeTiff; break;
    case CXIMAGE_FORMAT_TGA: coder = qv::image::DecodeTga; break;
    case CXIMAGE_FORMAT_PCX: coder = qv::image::DecodePcx; break;
    case CXIMAGE_FORMAT_WBMP: coder = qv::image::DecodeWbmp; break;
#ifdef _WIN32
    case CXIMAGE_FORMAT_WMF: coder = qv::image::DecodeWmf; break;
#endif
  }
  if (!hFile) {
    SetLastError("invalid file pointer");
    return false;
  }
  if (!coder) {
    SetLastError(kUnsupported);
    return false;
  }
  return DecodeWith(hFile, imagetype, coder);
}

bool CxImage::DecodeWith(CxFile* hFile, uint32_t imagetype,
                         const std::function<bool(qv::image::CoderJob&)>& coder) {
  if (!hFile) {
    SetLastError("invalid file pointer");
    return false;
  }
  CxImage fresh(imagetype);
  fresh.SetFrame(frame_);
  fresh.SetJpegQuality(jpegQuality_);
  qv::image::CoderJob job{*hFile, fresh, *this, {}};
  bool ok;
  // Coders allocate scratch memory with the standard library; running out fails the decode.
  try {
    ok = coder(job);
  } catch (const std::bad_alloc&) {
    ok = job.Fail("Can't allocate memory");
  }
  if (ok && job.Cancelled()) ok = job.Fail("Cancelled");
  if (ok && !fresh.IsValid()) ok = job.Fail("Can't allocate memory");
  if (!ok) {
    SetLastError(job.error.empty() ? "Decoding failed" : job.error.c_str());
    return false;
  }
  // The new picture replaces the old one; the caller's own settings stay.
  char lastError[sizeof lastError_];
  std::memcpy(lastError, lastError_, sizeof lastError);
  bool enabled = enabled_;
  long escape = escape_;
  uint8_t quality = jpegQuality_;
  Transfer(fresh);
  std::memcpy(lastError_, lastError, sizeof lastError);
  enabled_ = enabled;
  escape_ = escape;
  jpegQuality_ = quality;
  type_ = imagetype;
  progress_ = 100;
  return true;
}

bool CxImage::Decode(FILE* hFile, uint32_t imagetype) {
  if (!hFile) {
    SetLastError("invalid file pointer");
    return false;
  }
  CxIOFile file(hFile);
  return Decode(&file, imagetype);
}

bool CxImage::Decode(uint8_t* buffer, uint32_t size, uint32_t imagetype) {
  if (!buffer) {
    SetLastError("invalid file pointer");
    return false;
  }
  CxMemFile file(buffer, size);
  return Decode(&file, imagetype);
}

bool CxImage::EncodeSafe(CxFile* hFile, uint32_t imagetype) {
  if (!hFile) {
    SetLastError("invalid file pointer");
    return false;
  }
  if (!dib_) {
    SetLastError("Bad image pointer");
    return false;
  }
  qv::image::CoderJob job{*hFile, *this, *this, {}};
  bool ok;
  try {
  switch (imagetype) {
    case CXIMAGE_FORMAT_BMP: ok = qv::image::EncodeBmp(job); break;
    case CXIMAGE_FORMAT_GIF: ok = qv::image::EncodeGif(job); break;
    case CXIMAGE_FORMAT_JPG: ok = qv::image::EncodeJpeg(job); break;
    case CXIMAGE_FORMAT_PNG: ok = qv::image::EncodePng(job); break;
    case CXIMAGE_FORMAT_ICO: ok = qv::image::EncodeIco(job); break;
    case CXIMAGE_FORMAT_TIF: ok = qv::image::EncodeTiff(job); break;
    case CXIMAGE_FORMAT_TGA: ok = qv::image::EncodeTga(job); break;
    case CXIMAGE_FORMAT_PCX: ok = qv::image::EncodePcx(job); break;
    case CXIMAGE_FORMAT_WBMP: ok = qv::image::EncodeWbmp(job); break;
    case CXIMAGE_FORMAT_WMF:
      SetLastError("Save WMF not supported");
      return false;
    default:
      SetLastError(kUnsupported);
      return false;
  }
  } catch (const std::bad_alloc&) {
    ok = job.Fail("Can't allocate memory");
  }
  if (!ok) SetLastError(job.error.empty() ? "Encoding failed" : job.error.c_str());
  return ok;
}

bool CxImage::Encode(CxFile* hFile, uint32_t imagetype) { return EncodeSafe(hFile, imagetype); }

bool CxImage::Encode(FILE* hFile, uint32_t imagetype) {
  if (!hFile) {
    SetLastError("invalid file pointer");
    return false;
  }
  CxIOFile file(hFile);
  return EncodeSafe(&file, imagetype);
}

bool CxImage::Encode(uint8_t*& buffer, long& size, uint32_t imagetype) {
  buffer = nullptr;
  size = 0;
  CxMemFile file;
  if (!file.Open()) {
    SetLastError("Can't allocate memory");
    return false;
  }
  if (!EncodeSafe(&file, imagetype)) return false;
  size = file.Size();
  buffer = file.GetBuffer(true);
  return true;
}

bool CxImage::Encode(CxFile* hFile, CxImage** pImages, int pagecount, uint32_t imagetype) {
  if (!hFile) {
    SetLastError("invalid file pointer");
    return false;
  }
  std::string error;
  bool ok;
  if (imagetype == CXIMAGE_FORMAT_GIF)
    ok = qv::image::EncodeGifMulti(*hFile, pImages, pagecount, error);
  else if (imagetype == CXIMAGE_FORMAT_TIF)
    ok = qv::image::EncodeTiffMulti(*hFile, pImages, pagecount, error);
  else
    ok = false, error = kUnsupported;
  if (!ok) SetLastError(error.c_str());
  return ok;
}

bool CxImage::Encode(FILE* hFile, CxImage** pImages, int pagecount, uint32_t imagetype) {
  if (!hFile) {
    SetLastError("invalid file pointer");
    return false;
  }
  CxIOFile file(hFile);
  return Encode(&file, pImages, pagecount, imagetype);
}

bool CxImage::Save(const char* filename, uint32_t imagetype) {
  if (!filename) return false;
  CxIOFile file;
  if (!file.Open(filename, "wb")) return false;
  bool ok = EncodeSafe(&file, imagetype);
  ok = file.Close() && ok;
  // A half-written file is worse than none.
  if (!ok) std::remove(filename);
  return ok;
}
