#include "boot/ui/FullScreenDisplay.h"

#include <ddraw.h>

#include <cstdio>
#include <string>

#include "platform/Log.h"
#include "platform/SystemFunctions.h"

namespace qv {
namespace {

// IID_IDirectDraw4, defined here so that no GUID library is linked for one interface.
const GUID kIidDirectDraw4 = {0x9c59509a, 0x39bd, 0x11d1, {0x8c, 0x4a, 0x00, 0xc0, 0x4f, 0xd9, 0x30, 0xc5}};


bool Succeeded(HRESULT result, const char* what) {
  if (SUCCEEDED(result)) return true;
  char text[128];
  std::snprintf(text, sizeof text, "%s failed: 0x%08lX", what, static_cast<unsigned long>(result));
  QV_LOG_MSG(text);
  return false;
}

}  // namespace

bool FullScreenDisplay::Enter(HWND window, int width, int height, const RGBQUAD* palette) {
  Release();
  undone_.clear();
  window_ = window;
  for (int step = kLoadLibrary; step < kStepCount; ++step) {
    if (step == failAt_) {
      QV_LOG_MSG("refused for the test");
      Release();
      return false;
    }
    if (!Make(step, window, width, height, palette)) {
      Release();
      return false;
    }
    made_.push_back(step);
  }
  return true;
}

bool FullScreenDisplay::Make(int step, HWND window, int width, int height, const RGBQUAD* palette) {
  switch (step) {
    case kLoadLibrary:
      // The library stays loaded once found (logged when missing).
      create_ = platform::LoadSystemFunction<DirectDrawCreateFn>(
          platform::SystemFunction::kDirectDrawCreate);
      return create_ != nullptr;
    case kCreate:
      return Succeeded(create_(nullptr, &draw_, nullptr), "DirectDrawCreate");
    case kQueryInterface:
      return Succeeded(draw_->QueryInterface(kIidDirectDraw4, reinterpret_cast<void**>(&draw4_)),
                       "QueryInterface IDirectDraw4");
    case kCooperativeLevel:
      return Succeeded(draw4_->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN),
                       "SetCooperativeLevel");
    case kDisplayMode:
      return Succeeded(draw4_->SetDisplayMode(static_cast<DWORD>(width), static_cast<DWORD>(height), 8, 0, 0),
                       "SetDisplayMode");
    case kPalette: {
      PALETTEENTRY entries[256];
      for (int i = 0; i < 256; ++i)
        entries[i] = {palette[i].rgbRed, palette[i].rgbGreen, palette[i].rgbBlue, 0};
      return Succeeded(draw4_->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &palette_, nullptr),
                       "CreatePalette");
    }
    case kPrimarySurface:
      return MakeSurfaces();
    case kBackBuffer: {
      DDSCAPS2 caps{};
      caps.dwCaps = DDSCAPS_BACKBUFFER;
      return Succeeded(primary_->GetAttachedSurface(&caps, &back_), "GetAttachedSurface");
    }
    case kPaletteOnPrimary:
      return Succeeded(primary_->SetPalette(palette_), "SetPalette primary");
    case kPaletteOnBackBuffer:
      return Succeeded(back_->SetPalette(palette_), "SetPalette back buffer");
  }
  return false;
}

bool FullScreenDisplay::MakeSurfaces() {
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
  desc.dwBackBufferCount = 1;
  return Succeeded(draw4_->CreateSurface(&desc, &primary_, nullptr), "CreateSurface");
}

void FullScreenDisplay::Release() {
  while (!made_.empty()) {
    const int step = made_.back();
    made_.pop_back();
    Undo(step);
    undone_.push_back(step);
  }
  // A step that failed half-way may still have handed out an object; none is kept.
  if (back_) back_->Release();
  if (primary_) primary_->Release();
  if (palette_) palette_->Release();
  if (draw4_) draw4_->Release();
  if (draw_) draw_->Release();
  back_ = nullptr;
  primary_ = nullptr;
  palette_ = nullptr;
  draw4_ = nullptr;
  draw_ = nullptr;
  create_ = nullptr;
}

void FullScreenDisplay::Undo(int step) {
  switch (step) {
    case kPaletteOnBackBuffer: back_->SetPalette(nullptr); break;
    case kPaletteOnPrimary: primary_->SetPalette(nullptr); break;
    case kBackBuffer: back_->Release(); back_ = nullptr; break;
    case kPrimarySurface: primary_->Release(); primary_ = nullptr; break;
    case kPalette: palette_->Release(); palette_ = nullptr; break;
    case kDisplayMode: draw4_->RestoreDisplayMode(); break;
    case kCooperativeLevel: draw4_->SetCooperativeLevel(window_, DDSCL_NORMAL); break;
    case kQueryInterface: draw4_->Release(); draw4_ = nullptr; break;
    case kCreate: draw_->Release(); draw_ = nullptr; break;
    case kLoadLibrary: create_ = nullptr; break;
  }
}

HDC FullScreenDisplay::GetDC() {
  HDC dc = nullptr;
  if (!primary_ || !Succeeded(primary_->GetDC(&dc), "GetDC primary")) return nullptr;
  return dc;
}

void FullScreenDisplay::ReleaseDC(HDC dc) {
  if (primary_ && dc) primary_->ReleaseDC(dc);
}

}  // namespace qv
