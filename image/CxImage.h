// CxImage: one picture in memory as a device-independent bitmap, and the only way the program
// reads, converts and writes pictures.
//
// The picture is one block: a 40-byte CxBitmapInfoHeader, then the palette (2, 16 or 256 entries
// at 1, 4 or 8 bits per pixel, none at 24), then the rows bottom-up (row y = 0 is the bottom
// row), each ((width * bits + 31) / 32) * 4 bytes long. Beside it the object keeps the format
// type, the last-error text, the decoding and drawing settings and the optional alpha and
// selection planes (one byte per pixel, same bottom-up order).
//
// An object is used by one thread at a time; only the escape flag may be raised from another
// thread to cut a long operation short.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>

#include "image/CxDefs.h"
#include "image/CxFile.h"

#ifdef _WIN32
// The platform's handle types, declared as its headers declare them (STRICT).
struct HDC__;
struct HBITMAP__;
struct HPALETTE__;
struct HINSTANCE__;
struct HRSRC__;
struct tagRECT;
typedef HDC__* HDC;
typedef HBITMAP__* HBITMAP;
typedef HPALETTE__* HPALETTE;
typedef HINSTANCE__* HMODULE;
typedef HRSRC__* HRSRC;
#endif

namespace qv {
namespace image {
struct CoderJob;
}
}  // namespace qv

class CXIMAGE_API CxImage {
 public:
  // Construction, copy, assignment, destruction.
  explicit CxImage(uint32_t imagetype = 0);
  CxImage(uint32_t width, uint32_t height, uint32_t bpp, uint32_t imagetype = 0);
  CxImage(const CxImage& src, bool copypixels = true, bool copyselection = true, bool copyalpha = true);
  // Empty picture, then Load; the caller tests IsValid afterwards.
  CxImage(const char* filename, uint32_t imagetype);
  CxImage(FILE* stream, uint32_t imagetype);
  CxImage(CxFile* stream, uint32_t imagetype);
  CxImage(uint8_t* buffer, uint32_t size, uint32_t imagetype);
  virtual ~CxImage();
  CxImage& operator=(const CxImage& src);

  // Frees everything and resets every setting to its default, remembering the type.
  void Startup(uint32_t imagetype = 0);
  // A new zeroed picture (previous one freed, depth normalised); returns the block, or null when
  // the size is out of bounds or the memory is missing (the last-error text says which).
  void* Create(uint32_t width, uint32_t height, uint32_t bpp, uint32_t imagetype = 0);
  void Copy(const CxImage& src, bool copypixels = true, bool copyselection = true, bool copyalpha = true);
  // Copies the settings (type, resolution, quality, transparency, frames, ...) but no pixels.
  void CopyInfo(const CxImage& src);
  // Takes over from's picture and settings; from is left empty.
  void Transfer(CxImage& from);
  // Shares src's block and planes without owning them; src must outlive this object.
  void Ghost(const CxImage* src);
  bool Destroy();

  // Information.
  uint32_t GetWidth() const;
  uint32_t GetHeight() const;
  uint32_t GetBpp() const;
  uint32_t GetType() const;
  uint32_t GetNumColors() const;
  uint32_t GetEffWidth() const;
  // Bytes of the whole block.
  uint32_t GetSize() const;
  // Start of pixel row `row` (0 = bottom), or null.
  uint8_t* GetBits(uint32_t row = 0) const;
  void* GetDIB() const;
  long GetXDPI() const;
  long GetYDPI() const;
  void SetXDPI(long dpi);
  void SetYDPI(long dpi);
  uint8_t GetJpegQuality() const;
  void SetJpegQuality(uint8_t quality);
  long GetFrame() const;
  void SetFrame(long frame);
  long GetNumFrames() const;
  void GetOffset(long* x, long* y) const;
  void SetOffset(long x, long y);
  long GetProgress() const;
  void SetProgress(long progress);
  long GetEscape() const;
  void SetEscape(long escape);
  const char* GetLastError() const;
  const char* GetVersion() const;
  bool IsValid() const;
  bool IsEnabled() const;
  void Enable(bool enable = true);

  // Palette.
  CxRgbQuad* GetPalette() const;
  void SetPalette(uint32_t n, const uint8_t* r, const uint8_t* g, const uint8_t* b);
  void SetPalette(const CxRgbQuad* pal, uint32_t entries = 256);
  // Entries of 3 bytes in red, green, blue order.
  void SetPalette(const uint8_t* rgb, uint32_t entries, bool rgbTriples);
  void SetPaletteIndex(uint8_t idx, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha = 0);
  void SetPaletteIndex(uint8_t idx, CxRgbQuad c);
  void SetPaletteIndex(uint8_t idx, uint32_t colorref);
  CxRgbQuad GetPaletteColor(uint8_t idx) const;
  // Bytes of the palette in the block.
  uint32_t GetPaletteSize() const;
  // The entry nearest to c among the used entries (squared distance, first minimum wins).
  uint8_t GetNearestIndex(CxRgbQuad c) const;
  void SetGrayPalette();
  void SetStdPalette();
  // Mixes every entry toward colorref by perc percent.
  void BlendPalette(uint32_t colorref, long perc);
  // Exchanges two palette entries and the pixels that use them.
  void SwapIndex(uint8_t idx1, uint8_t idx2);
  bool IsGrayScale() const;
  bool IsIndexed() const;
  // Splits colorref into its channels.
  static void GetRGB(uint32_t colorref, uint8_t* r, uint8_t* g, uint8_t* b);
  static void RGBtoBGR(uint8_t* buffer, uint32_t length);
  static CxRgbQuad RGBtoRGBQUAD(uint32_t colorref);
  static uint32_t RGBQUADtoRGB(CxRgbQuad c);

  // Pixels, in picture coordinates (y = 0 is the bottom row). Outside the picture reads give
  // index 0 or the colour of entry 0 / black, and writes do nothing.
  uint8_t GetPixelIndex(long x, long y) const;
  void SetPixelIndex(long x, long y, uint8_t idx);
  CxRgbQuad GetPixelColor(long x, long y, bool getAlpha = true) const;
  void SetPixelColor(long x, long y, CxRgbQuad c, bool setAlpha = false);
  void SetPixelColor(long x, long y, uint32_t colorref);
  bool IsInside(long x, long y) const;

  // Transparency.
  long GetTransIndex() const;
  void SetTransIndex(long idx);
  CxRgbQuad GetTransColor() const;
  void SetTransColor(CxRgbQuad c);
  bool IsTransparent() const;

  // Alpha plane.
  bool AlphaCreate();
  void AlphaDelete();
  void AlphaClear();
  void AlphaSet(uint8_t level);
  void AlphaSet(long x, long y, uint8_t level);
  uint8_t AlphaGet(long x, long y) const;
  bool AlphaCopy(const CxImage& from);
  // Puts the alpha plane as a grey picture into dest.
  bool AlphaSplit(CxImage* dest) const;
  // Multiplies the alpha into the colours (over black) and drops the plane.
  void AlphaStrip();
  void AlphaInvert();
  bool AlphaFlip();
  bool AlphaMirror();
  uint8_t AlphaGetMax() const;
  void AlphaSetMax(uint8_t max);
  void AlphaPaletteEnable(bool enable = true);
  void AlphaPaletteClear();
  bool HasAlpha() const;
  // Whether some palette entry carries an alpha value other than zero.
  bool HasAlphaPalette() const;
  bool IsAlphaPaletteEnabled() const;
  // The alpha plane, row by row bottom-up; null without one.
  uint8_t* AlphaGetPointer(long x = 0, long y = 0) const;

  // Selection plane (255 = selected).
  bool SelectionCreate();
  bool SelectionDelete();
  bool SelectionClear();
  bool SelectionAddRect(CxRect r);
  bool SelectionAddEllipse(CxRect r);
  bool SelectionAddPolygon(const CxPoint* points, long npoints);
  bool SelectionInvert();
  bool SelectionCopy(const CxImage& from);
  bool HasSelection() const;
  bool IsInsideSelection(long x, long y) const;
  void GetSelectionBox(CxRect& r) const;

  // Transformations.
  bool Flip();
  bool Mirror();
  // Rotates by angle degrees counter-clockwise about the centre, into out or in place; the new
  // picture holds the whole rotated one, uncovered corners black.
  bool Rotate(float angle, CxImage* out = nullptr);
  bool RotateLeft(CxImage* out = nullptr);
  bool RotateRight(CxImage* out = nullptr);
  bool Rotate180(CxImage* out = nullptr);
  bool Negative();
  bool GrayScale();
  // Keeps the rectangle from (left, top) to (right, bottom) exclusive, top measured from the top.
  bool Crop(long left, long top, long right, long bottom, CxImage* out = nullptr);
  bool Crop(const CxRect& rect, CxImage* out = nullptr);
  // Scales to newx x newy: mode 0 area averaging (24 bits, shrinking) or bilinear, other modes
  // nearest neighbour. Into out when given, else in place.
  bool Resample(long newx, long newy, int mode = 1, CxImage* out = nullptr);
  // Lowers the depth to 1, 4 or 8 onto ppal (or a standard palette), optionally with error
  // diffusion.
  bool DecreaseBpp(uint32_t nbit, bool errordiffusion, const CxRgbQuad* ppal = nullptr);
  bool IncreaseBpp(uint32_t nbit);
  // Black and white by error diffusion (method 0) or ordered dither (method 1).
  bool Dither(long method = 0);

#ifdef _WIN32
  // Platform drawing and exchange (Windows build).
  long Draw(HDC hdc, long x = 0, long y = 0, long cx = -1, long cy = -1, const tagRECT* pClipRect = nullptr);
  long Draw(HDC hdc, const tagRECT& rect, const tagRECT* pClipRect = nullptr);
  // Like Draw but copies without composition.
  long Draw2(HDC hdc, long x = 0, long y = 0, long cx = -1, long cy = -1);
  long Draw2(HDC hdc, const tagRECT& rect);
  long Stretch(HDC hdc, long xoffset, long yoffset, long xsize, long ysize, unsigned long dwRop = 0x00CC0020);
  long Stretch(HDC hdc, const tagRECT& rect, unsigned long dwRop = 0x00CC0020);
  long Tile(HDC hdc, const tagRECT* rc);
  HBITMAP MakeBitmap(HDC hdc = nullptr);
  bool CreateFromHBITMAP(HBITMAP hbmp, HPALETTE hpal = nullptr);
  // From a global memory handle holding a packed bitmap.
  bool CreateFromHANDLE(void* hMem);
  // A new global memory handle holding the packed bitmap; the caller frees it.
  void* CopyToHandle() const;
  bool LoadResource(HRSRC hRes, uint32_t imagetype, HMODULE hModule = nullptr);
#endif

  // Input and output.
  bool Load(const char* filename, uint32_t imagetype = 0);
  // The size a picture of the given size is to be resampled to; a side of 0 or less: none.
  struct FittedSize {
    long width, height;
  };
  using SizeFit = std::function<FittedSize(uint32_t width, uint32_t height)>;
  // Load, then brought to the size that fit gives for the picture's full size. A JPEG is decoded
  // at the reduced DCT scale that still covers that size (image/DecodeScale.h) and, in colour
  // and shrinking both ways, averaged while it decodes, so the whole picture is never held; any
  // other picture gets Resample(size, mode 0), with the same result as Load then Resample. False
  // when the picture cannot be loaded; *resampled (optional) tells whether it was brought to the
  // fitted size (a failed resampling leaves it as loaded).
  bool LoadResampled(const char* filename, uint32_t imagetype, const SizeFit& fit, bool* resampled);
  bool Decode(CxFile* hFile, uint32_t imagetype);
  bool Decode(FILE* hFile, uint32_t imagetype);
  bool Decode(uint8_t* buffer, uint32_t size, uint32_t imagetype);
  bool Encode(CxFile* hFile, uint32_t imagetype);
  bool Encode(FILE* hFile, uint32_t imagetype);
  // A new buffer allocated with malloc (the caller frees it) and its size.
  bool Encode(uint8_t*& buffer, long& size, uint32_t imagetype);
  // Several pictures into one file (GIF and TIFF).
  bool Encode(CxFile* hFile, CxImage** pImages, int pagecount, uint32_t imagetype);
  bool Encode(FILE* hFile, CxImage** pImages, int pagecount, uint32_t imagetype);
  bool Save(const char* filename, uint32_t imagetype = 0);

  // Sets the last-error text (cut at 255 characters).
  void SetLastError(const char* text);
  // Number of frames found by the last decode; coders set it.
  void SetNumFrames(long frames);

 private:
  CxBitmapInfoHeader* Head() const { return reinterpret_cast<CxBitmapInfoHeader*>(dib_); }
  void FreePlanes();
  bool EncodeSafe(CxFile* hFile, uint32_t imagetype);
  // Runs a decoder on a fresh picture that replaces this one only when it succeeded.
  bool DecodeWith(CxFile* hFile, uint32_t imagetype, const std::function<bool(qv::image::CoderJob&)>& coder);

  uint8_t* dib_;                 // the block; owned unless ghost_
  uint8_t* alpha_;               // width x height bytes, or null
  uint8_t* selection_;           // width x height bytes, or null
  const CxImage* ghost_;         // the picture whose planes this one borrows
  uint32_t type_;
  char lastError_[256];
  uint8_t jpegQuality_;
  long xdpi_;
  long ydpi_;
  long transIndex_;
  CxRgbQuad transColor_;
  uint8_t alphaMax_;
  bool alphaPaletteEnabled_;
  volatile long progress_;
  volatile long escape_;
  bool enabled_;
  long frame_;
  long numFrames_;
  long xOffset_;
  long yOffset_;
  CxRect selectionBox_;
};
