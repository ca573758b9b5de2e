#include "boot/ui/BootScreenPreviewDlg.h"

#include <cstring>

#include "boot/BootAnimation.h"
#include "boot/BootPicture.h"
#include "boot/ui/BootScreenRes.h"
#include "changers/ImagePreparation.h"
#include "changers/LoadModuleBitmap.h"
#include "core/WindowsGeneration.h"
#include "i18n/MessageKeys.h"
#include "platform/AsciiText.h"
#include "platform/Log.h"

namespace qv {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kLogoModeHeight = 400;
const char kHelpTopic[] = "boot_screen_changer.htm";
const char kBuiltInTitle[] = "Preview BOOT Screen (ALT+ENTER: Toggle FullScreen/Window Mode) ";

bool IsLogoGeneration(int generation) {
  return generation == kWin95 || generation == kWin98 || generation == kWinMe;
}
bool IsKernelGeneration(int generation) { return generation == kWin2000 || generation == kWinXP; }

// Bit 30 of a key message: the key was already down (an automatic repeat, not a press).
bool IsRepeat(LPARAM flags) { return (flags & (1 << 30)) != 0; }

void FillBox(HDC dc, int x, int y, int cx, int cy, const RGBQUAD& colour) {
  ::SetBkColor(dc, RGB(colour.rgbRed, colour.rgbGreen, colour.rgbBlue));
  RECT r{x, y, x + cx, y + cy};
  ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

}  // namespace

BootScreenPreviewDlg::BootScreenPreviewDlg(const PageServices& services, int generation)
    : services_(services), generation_(generation) {}

BootScreenPreviewDlg::~BootScreenPreviewDlg() = default;

bool BootScreenPreviewDlg::Load(const std::string& path) {
  std::memset(palette_, 0, sizeof palette_);
  const std::string extension = platform::LowerExtension(path);
  if (extension.empty()) {
    QV_LOG_MSG(path.c_str());
    return false;
  }
  return extension == "exe" ? LoadKernelFile(path) : LoadPicture(path);
}

bool BootScreenPreviewDlg::LoadKernelFile(const std::string& path) {
  ScopedGdiObj<HBITMAP> bitmap(
      LoadModuleBitmap(path, MAKEINTRESOURCEA(1), kWidth, kHeight, palette_));
  if (!bitmap || !picture_.CreateFromHBITMAP(bitmap.Get())) {
    QV_LOG_MSG(path.c_str());
    return false;
  }
  return true;
}

bool BootScreenPreviewDlg::LoadPicture(const std::string& path) {
  std::uint32_t type = 0;
  if (!FormatTypeFromPath(path, true, &type)) {
    QV_LOG_MSG(path.c_str());
    return false;
  }
  const BootPictureFormat* format = BootPictureFormatFor(generation_);
  if (!format) {
    QV_LOG();
    return false;
  }
  // At the boot size straight away: a large photo is averaged while it decodes.
  if (!picture_.LoadResampled(path.c_str(), type, BootPictureFit(*format), nullptr) || !picture_.IsValid()) {
    QV_LOG_MSG(picture_.GetLastError());
    services_.showMessageWithPath(msg::kPictureLoad, path, MB_OK);
    return false;
  }
  // The boot screen changer's own reduction, so that the preview shows the bitmap it writes.
  CxRgbQuad quantized[256];
  if (!PrepareBootPicture(picture_, *format, quantized)) {
    QV_LOG_MSG(picture_.GetLastError());
    return false;
  }
  static_assert(sizeof quantized == sizeof palette_, "both are 256 blue, green, red, reserved");
  std::memcpy(palette_, quantized, sizeof palette_);
  return true;
}

INT_PTR BootScreenPreviewDlg::Show(HWND owner) {
  return Run(::GetModuleHandleA(nullptr), IDD_BOOT_PREVIEW, owner);
}

bool BootScreenPreviewDlg::Animated() const { return IsKernelGeneration(generation_); }

bool BootScreenPreviewDlg::OnInit() {
  RECT frame{0, 0, kWidth, kHeight};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrA(Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongPtrA(Handle(), GWL_EXSTYLE)));
  const int cx = frame.right - frame.left, cy = frame.bottom - frame.top;
  RECT work{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  ::SetWindowPos(Handle(), nullptr, work.left + (work.right - work.left - cx) / 2,
                 work.top + (work.bottom - work.top - cy) / 2, cx, cy, SWP_NOZORDER);
  ticks_ = 0;
  if (Animated() && !::SetTimer(Handle(), kTimerId, kTimerPeriod, nullptr)) QV_LOG();
  std::string title;
  if (!services_.lookup("Boot Screen Page", "008", &title) || title.empty()) title = kBuiltInTitle;
  SetText(title);
  // No control takes the focus: the keys come to the dialog itself.
  ::SetFocus(Handle());
  return false;
}

void BootScreenPreviewDlg::Paint() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(Handle(), &paint);
  if (!dc) return;
  RECT client{};
  ::GetClientRect(Handle(), &client);
  picture_.Stretch(dc, client);
  if (generation_ == kWin2000 && !strip_) CaptureStrip(dc);
  DrawAnimation(dc);
  ::EndPaint(Handle(), &paint);
  if (fullScreen_) DrawOnSurface();
}

void BootScreenPreviewDlg::DrawOnSurface() {
  // In the exclusive mode the primary surface is what the screen shows.
  HDC dc = display_.GetDC();
  if (!dc) return;  // logged
  RECT client{};
  ::GetClientRect(Handle(), &client);
  picture_.Stretch(dc, client);
  DrawAnimation(dc);
  display_.ReleaseDC(dc);
}

void BootScreenPreviewDlg::CaptureStrip(HDC dc) {
  HDC memory = ::CreateCompatibleDC(dc);
  strip_.Reset(::CreateCompatibleBitmap(dc, kStripWidth, kStripHeight));
  if (!memory || !strip_) {
    QV_LOG();
    if (memory) ::DeleteDC(memory);
    return;
  }
  HGDIOBJ old = ::SelectObject(memory, strip_.Get());
  ::BitBlt(memory, 0, 0, kStripWidth, kStripHeight, dc, 0, kStripTop, SRCCOPY);
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
}

void BootScreenPreviewDlg::DrawAnimation(HDC dc) const {
  if (generation_ == kWin2000) DrawStrip(dc);
  if (generation_ == kWinXP) DrawBlocks(dc);
}

void BootScreenPreviewDlg::DrawStrip(HDC dc) const {
  if (!strip_) return;
  HDC memory = ::CreateCompatibleDC(dc);
  if (!memory) return;
  HGDIOBJ old = ::SelectObject(memory, strip_.Get());
  for (const StripPiece& piece : StripPieces(ticks_))
    if (piece.width > 0)
      ::BitBlt(dc, piece.destX, kStripTop, piece.width, kStripHeight, memory, piece.sourceX, 0, SRCCOPY);
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
}

void BootScreenPreviewDlg::DrawBlocks(HDC dc) const {
  for (const PaletteBox& box : XpProgressBoxes(ticks_))
    FillBox(dc, box.x, box.y, box.width, box.height, palette_[box.paletteIndex]);
}

bool BootScreenPreviewDlg::OnTimer(UINT_PTR id) {
  if (id != kTimerId) return false;
  ++ticks_;
  if (fullScreen_) {
    HDC dc = display_.GetDC();
    if (!dc) return true;  // logged; the next tick tries again
    DrawAnimation(dc);
    display_.ReleaseDC(dc);
  } else {
    ScopedDC dc(Handle());
    if (dc.Get()) DrawAnimation(dc.Get());
  }
  return true;
}

void BootScreenPreviewDlg::EnterFullScreen() {
  ::GetWindowRect(Handle(), &savedRect_);
  savedStyle_ = ::GetWindowLongPtrA(Handle(), GWL_STYLE);
  savedExStyle_ = ::GetWindowLongPtrA(Handle(), GWL_EXSTYLE);
  ::SetWindowLongPtrA(Handle(), GWL_STYLE, savedStyle_ & ~static_cast<LONG_PTR>(WS_DLGFRAME | DS_MODALFRAME));
  ::SetWindowLongPtrA(Handle(), GWL_EXSTYLE,
                      savedExStyle_ & ~static_cast<LONG_PTR>(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE));
  int height = IsLogoGeneration(generation_) ? kLogoModeHeight : kHeight;
  bool entered = (IsLogoGeneration(generation_) || IsKernelGeneration(generation_)) &&
                 display_.Enter(Handle(), kWidth, height, palette_);
  // A display without 640 x 400 may still have 640 x 480; the logo is stretched over it as in the window.
  if (!entered && height == kLogoModeHeight &&
      display_.FailedStep() == FullScreenDisplay::kDisplayMode) {
    height = kHeight;
    entered = display_.Enter(Handle(), kWidth, height, palette_);
  }
  if (entered) {
    ::SetWindowPos(Handle(), HWND_TOP, 0, 0, kWidth, height, SWP_FRAMECHANGED);
    ::SetCapture(Handle());
    fullScreen_ = true;
    ::InvalidateRect(Handle(), nullptr, FALSE);
    DrawOnSurface();
    return;
  }
  if (!IsLogoGeneration(generation_) && !IsKernelGeneration(generation_)) QV_LOG();
  // Everything is given back before the message, so that it shows on the user's own desktop.
  display_.Release();
  RestoreWindow();
  services_.showMessage(msg::kFullScreenFailed, MB_OK | MB_ICONINFORMATION);
}

void BootScreenPreviewDlg::LeaveFullScreen() {
  fullScreen_ = false;
  display_.Release();
  RestoreWindow();
}

void BootScreenPreviewDlg::RestoreWindow() {
  ::SetWindowLongPtrA(Handle(), GWL_STYLE, savedStyle_);
  ::SetWindowLongPtrA(Handle(), GWL_EXSTYLE, savedExStyle_);
  ::SetWindowPos(Handle(), nullptr, savedRect_.left, savedRect_.top, savedRect_.right - savedRect_.left,
                 savedRect_.bottom - savedRect_.top, SWP_NOZORDER | SWP_FRAMECHANGED);
  if (::GetCapture() == Handle()) ::ReleaseCapture();
  ::InvalidateRect(Handle(), nullptr, FALSE);
}

bool BootScreenPreviewDlg::OnCommand(int code, int id, HWND control) {
  if (id != IDOK && id != IDCANCEL) return false;
  // Enter and Esc first only leave full screen; in the window they close the preview.
  if (fullScreen_)
    LeaveFullScreen();
  else
    End(id);
  return true;
}

void BootScreenPreviewDlg::OnDestroy() {
  ::KillTimer(Handle(), kTimerId);
  if (fullScreen_) LeaveFullScreen();
}

bool BootScreenPreviewDlg::KeyMessage(UINT message, WPARAM key, LPARAM flags) {
  if (fullScreen_) {
    // Any new press leaves full screen; a repeat of the keys that entered it does not.
    if (!IsRepeat(flags)) LeaveFullScreen();
    return true;
  }
  if (message == WM_SYSKEYDOWN && key == VK_RETURN && !IsRepeat(flags)) {
    EnterFullScreen();
    return true;
  }
  return false;
}

INT_PTR BootScreenPreviewDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return TRUE;
    case WM_ERASEBKGND:
      SetResult(1);  // the picture covers the whole client area
      return TRUE;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (KeyMessage(message, wParam, lParam)) return TRUE;
      break;
    case WM_SYSCHAR:
      if (wParam == VK_RETURN) return TRUE;  // Alt+Enter is ours: no menu beep
      break;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
      if (fullScreen_) {
        LeaveFullScreen();
        return TRUE;
      }
      break;
    case WM_NCLBUTTONDBLCLK:
      if (wParam == HTCAPTION && !fullScreen_) {
        EnterFullScreen();
        return TRUE;
      }
      break;
    case WM_HELP:
      services_.openHelp(Handle(), kHelpTopic);
      return TRUE;
  }
  return ModalDialog::OnMessage(message, wParam, lParam);
}

}  // namespace qv
