// The coders behind CxImage::Decode and CxImage::Encode. Each decoder fills a fresh picture and
// returns false with job.error set on failure; the caller only replaces its own picture when a
// decoder succeeded, so a failed decode never touches the previous picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image/CxFile.h"
#include "image/CxImage.h"
#include "image/ImageLimits.h"

namespace qv {
namespace image {

struct CoderJob {
  CxFile& file;
  CxImage& image;         // decode: the fresh picture to fill; encode: the picture to write
  const CxImage& caller;  // the object that asked: frame to select, escape flag, quality
  std::string error;

  bool Fail(const char* text) {
    if (error.empty()) error = text;
    return false;
  }
  bool Cancelled() const { return caller.GetEscape() != 0; }
  // Creates the picture; a size beyond the limits fails with the limit's text, a failed
  // allocation with allocText.
  bool Create(uint32_t width, uint32_t height, uint32_t bpp, const char* allocText);
};

// Reads everything from the file's current position to its end (at most maxBytes).
bool ReadRest(CxFile& file, std::vector<uint8_t>& out, size_t maxBytes = size_t(1) << 31);

bool DecodeBmp(CoderJob& job);
bool EncodeBmp(CoderJob& job);
bool DecodeGif(CoderJob& job);
bool EncodeGif(CoderJob& job);
bool EncodeGifMulti(CxFile& file, CxImage** images, int count, std::string& error);
bool DecodeJpeg(CoderJob& job);
bool EncodeJpeg(CoderJob& job);
bool DecodePng(CoderJob& job);
bool EncodePng(CoderJob& job);
bool DecodeIco(CoderJob& job);
bool EncodeIco(CoderJob& job);
bool DecodeTiff(CoderJob& job);
bool EncodeTiff(CoderJob& job);
bool EncodeTiffMulti(CxFile& file, CxImage** images, int count, std::string& error);
bool DecodeTga(CoderJob& job);
bool EncodeTga(CoderJob& job);
bool DecodePcx(CoderJob& job);
bool EncodePcx(CoderJob& job);
bool DecodeWbmp(CoderJob& job);
bool EncodeWbmp(CoderJob& job);
#ifdef _WIN32
bool DecodeWmf(CoderJob& job);
#endif

// JPEG decoding scaled on load for a box: the DCT scale DecodeScaleEighths picks for the picture
// fitted into boxWidth x boxHeight (aspect kept, never enlarged).
// A zero box decodes at full size. The picture's full size goes to fullWidth / fullHeight.
bool DecodeJpegScaled(CoderJob& job, uint32_t boxWidth, uint32_t boxHeight, uint32_t* fullWidth,
                      uint32_t* fullHeight);

// What a resampled JPEG decode did: the size the fit gave for the picture's full size, whether
// the picture came from the decoder at a reduced DCT scale, and whether it is at the target.
struct ResampledDecode {
  CxImage::FittedSize target{0, 0};
  bool reduced = false;
  bool resampled = false;
};

// JPEG decoding for a picture to be brought to the size fit gives for its full size: decoded at
// the DCT scale DecodeScaleEighths picks for that size, then a colour picture that still shrinks
// both ways is averaged while it is decoded; any other is left at the decoded size, for the
// caller to bring to the target.
bool DecodeJpegResampled(CoderJob& job, const CxImage::SizeFit& fit, ResampledDecode* result);

// The size of a width x height picture fitted into the box, aspect kept, never enlarged; at
// least 1 x 1.
void FitIntoBoxSize(uint32_t width, uint32_t height, uint32_t boxWidth, uint32_t boxHeight, uint32_t* fitWidth,
                    uint32_t* fitHeight);

}  // namespace image
}  // namespace qv
