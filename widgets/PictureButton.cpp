#include "widgets/PictureButton.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <cmath>
#include <cstring>

namespace widgets {
namespace {


bool PlayWave(const unsigned char* wave, std::size_t) {
  // Asynchronous: the mouse never waits for the sound, and no device just means no sound.
  return ::PlaySoundA(reinterpret_cast<LPCSTR>(wave), nullptr,
                      SND_MEMORY | SND_ASYNC | SND_NODEFAULT | SND_NOSTOP) != FALSE;
}

SoundPlayer g_player = &PlayWave;

void PutLittleEndian(std::vector<unsigned char>& out, std::size_t at, unsigned value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// A square bitmap of side pixels filled with face, the icon drawn at offset.
HBITMAP DrawIconBitmap(HICON icon, int side, COLORREF face, int offset, bool sunken, bool frame,
                       bool greyed) {
  qv::ScopedDC screen(nullptr);
  HDC memory = ::CreateCompatibleDC(screen.Get());
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen.Get(), side, side);
  if (!memory || !bitmap) {
    if (memory) ::DeleteDC(memory);
    if (bitmap) ::DeleteObject(bitmap);
    return nullptr;
  }
  HGDIOBJ previous = ::SelectObject(memory, bitmap);
  RECT all{0, 0, side, side};
  qv::ScopedGdiObj<HBRUSH> brush(::CreateSolidBrush(face));
  ::FillRect(memory, &all, brush.Get());
  const int iconSide = side - 8;
  const int at = 4 + offset;
  if (greyed) {
    ::DrawStateA(memory, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, at, at, iconSide,
                 iconSide, DST_ICON | DSS_DISABLED);
  } else {
    ::DrawIconEx(memory, at, at, icon, iconSide, iconSide, 0, nullptr, DI_NORMAL);
  }
  if (sunken) ::DrawEdge(memory, &all, EDGE_SUNKEN, BF_RECT);
  if (frame) {
    qv::ScopedGdiObj<HBRUSH> link(::CreateSolidBrush(::GetSysColor(COLOR_HIGHLIGHT)));
    ::FrameRect(memory, &all, link.Get());
  }
  ::SelectObject(memory, previous);
  ::DeleteDC(memory);
  return bitmap;
}

COLORREF Lighter(COLORREF colour) {
  return RGB((GetRValue(colour) + 255) / 2, (GetGValue(colour) + 255) / 2,
             (GetBValue(colour) + 255) / 2);
}

}  // namespace

PictureButtonBitmaps BitmapsOfIcon(HICON icon, int side) {
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  PictureButtonBitmaps bitmaps;
  bitmaps.normal.Reset(DrawIconBitmap(icon, side, face, 0, false, false, false));
  bitmaps.hover.Reset(DrawIconBitmap(icon, side, Lighter(face), 0, false, true, false));
  bitmaps.pressed.Reset(DrawIconBitmap(icon, side, face, 1, true, false, false));
  bitmaps.disabled.Reset(DrawIconBitmap(icon, side, face, 0, false, false, true));
  return bitmaps;
}

const std::vector<unsigned char>& HoverSound() {
  static const std::vector<unsigned char> wave = [] {
    // 40 ms of a falling 1.2 kHz tone, 8-bit mono at 11,025 samples a second.
    const unsigned rate = 11025, samples = rate / 25;
    std::vector<unsigned char> out(44 + samples);
    std::memcpy(&out[0], "RIFF", 4);
    PutLittleEndian(out, 4, 36 + samples, 4);
    std::memcpy(&out[8], "WAVEfmt ", 8);
    PutLittleEndian(out, 16, 16, 4);
    PutLittleEndian(out, 20, 1, 2);  // PCM
    PutLittleEndian(out, 22, 1, 2);  // mono
    PutLittleEndian(out, 24, rate, 4);
    PutLittleEndian(out, 28, rate, 4);
    PutLittleEndian(out, 32, 1, 2);
    PutLittleEndian(out, 34, 8, 2);
    std::memcpy(&out[36], "data", 4);
    PutLittleEndian(out, 40, samples, 4);
    for (unsigned i = 0; i < samples; ++i) {
      double fade = 1.0 - static_cast<double>(i) / samples;
      double value = std::sin(2 * 3.14159265358979 * 1200.0 * i / rate) * 90.0 * fade * fade;
      out[44 + i] = static_cast<unsigned char>(128 + static_cast<int>(value));
    }
    return out;
  }();
  return wave;
}

SoundPlayer SetSoundPlayer(SoundPlayer player) {
  SoundPlayer previous = g_player;
  g_player = player ? player : &PlayWave;
  return previous;
}

bool PictureButton::Attach(HWND button, PictureButtonBitmaps bitmaps) {
  if (!button || subclass_.Attached()) return false;
  Window::Attach(button);
  bitmaps_ = std::move(bitmaps);
  LONG_PTR style = ::GetWindowLongPtrA(button, GWL_STYLE);
  ::SetWindowLongPtrA(button, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
  const bool attached = subclass_.Attach(button, &Route, this);
  ::InvalidateRect(button, nullptr, TRUE);
  return attached;
}

LRESULT PictureButton::Route(void* self, HWND, UINT message, WPARAM wParam, LPARAM lParam) {
  return static_cast<PictureButton*>(self)->OnMessage(message, wParam, lParam);
}

LRESULT PictureButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
      if (!hovering_) Enter();
      break;
    case WM_MOUSELEAVE:
      hovering_ = false;
      ::InvalidateRect(Handle(), nullptr, FALSE);
      break;
    case WM_SETCURSOR: {
      HCURSOR hand = ::LoadCursor(nullptr, IDC_HAND);
      if (hand) {
        ::SetCursor(hand);
        return TRUE;
      }
      break;
    }
  }
  return subclass_.CallPrevious(Handle(), message, wParam, lParam);
}

void PictureButton::Enter() {
  hovering_ = true;
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof track;
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = Handle();
  ::TrackMouseEvent(&track);
  ::InvalidateRect(Handle(), nullptr, FALSE);
  if (IsEnabled()) {
    const std::vector<unsigned char>& sound = HoverSound();
    g_player(sound.data(), sound.size());
  }
}

PictureButton::State PictureButton::StateOf(UINT itemState) const {
  if (itemState & ODS_DISABLED) return State::Disabled;
  if (itemState & ODS_SELECTED) return State::Pressed;
  return hovering_ ? State::Hover : State::Normal;
}

HBITMAP PictureButton::BitmapOf(State state) const {
  const qv::ScopedGdiObj<HBITMAP>* chosen = &bitmaps_.normal;
  switch (state) {
    case State::Hover: chosen = &bitmaps_.hover; break;
    case State::Pressed: chosen = &bitmaps_.pressed; break;
    case State::Disabled: chosen = &bitmaps_.disabled; break;
    case State::Normal: break;
  }
  return *chosen ? chosen->Get() : bitmaps_.normal.Get();
}

bool PictureButton::Draw(const DRAWITEMSTRUCT* item) const {
  if (!item || item->hwndItem != Handle()) return false;
  const RECT& r = item->rcItem;
  ::FillRect(item->hDC, &r, ::GetSysColorBrush(COLOR_BTNFACE));
  if (HBITMAP bitmap = BitmapOf(StateOf(item->itemState))) {
    BITMAP size{};
    ::GetObjectA(bitmap, sizeof size, &size);
    HDC memory = ::CreateCompatibleDC(item->hDC);
    HGDIOBJ previous = ::SelectObject(memory, bitmap);
    const int x = r.left + ((r.right - r.left) - size.bmWidth) / 2;
    const int y = r.top + ((r.bottom - r.top) - size.bmHeight) / 2;
    ::BitBlt(item->hDC, x, y, size.bmWidth, size.bmHeight, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, previous);
    ::DeleteDC(memory);
  }
  if (item->itemState & ODS_FOCUS) {
    RECT focus = r;
    ::InflateRect(&focus, -1, -1);
    ::DrawFocusRect(item->hDC, &focus);
  }
  return true;
}

}  // namespace widgets
