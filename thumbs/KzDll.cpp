// kz.dll: the two exports of the thumbnail library over the portable thumbnail maker.
#include <windows.h>

#include <cstring>

#include "thumbs/KzThumbnail.h"
#include "thumbs/ThumbnailCore.h"

namespace {

HBITMAP ToBitmap(const CxImage& image) {
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, static_cast<const BITMAPINFO*>(image.GetDIB()), DIB_RGB_COLORS, &bits,
                                    nullptr, 0);
  if (bitmap && bits) std::memcpy(bits, image.GetBits(0), size_t(image.GetEffWidth()) * image.GetHeight());
  return bitmap;
}

}  // namespace

extern "C" __declspec(dllexport) int __cdecl fn_b_GenerateThumbnail2(const char* path, int width, int height,
                                                                    HBITMAP* bitmap, int* size) {
  if (!path || !bitmap || width <= 0 || height <= 0) return 0;
  try {
    CxImage thumb;
    uint32_t w = 0, h = 0;
    if (!qv::thumbs::MakeThumbnail(path, uint32_t(width), uint32_t(height), thumb, &w, &h)) return 0;
    HBITMAP made = ToBitmap(thumb);
    if (!made) return 0;
    *bitmap = made;
    if (size) {
      size[0] = int(w);
      size[1] = int(h);
    }
    return 1;
  } catch (...) {
    // Nothing may cross into the caller.
    return 0;
  }
}

extern "C" __declspec(dllexport) int __cdecl fn_b_GenerateThumbnailToDC(const char* path, HDC dc, int x, int y,
                                                                       int width, int height, int* size) {
  if (!path || !dc || width <= 0 || height <= 0) return 0;
  try {
    CxImage thumb;
    uint32_t w = 0, h = 0;
    if (!qv::thumbs::MakeThumbnail(path, uint32_t(width), uint32_t(height), thumb, &w, &h)) return 0;
    int left = x + (width - int(thumb.GetWidth())) / 2, top = y + (height - int(thumb.GetHeight())) / 2;
    int lines = SetDIBitsToDevice(dc, left, top, DWORD(thumb.GetWidth()), DWORD(thumb.GetHeight()), 0, 0, 0,
                                  UINT(thumb.GetHeight()), thumb.GetBits(0),
                                  static_cast<const BITMAPINFO*>(thumb.GetDIB()), DIB_RGB_COLORS);
    if (size) {
      size[0] = int(w);
      size[1] = int(h);
    }
    return lines > 0;
  } catch (...) {
    return 0;
  }
}
