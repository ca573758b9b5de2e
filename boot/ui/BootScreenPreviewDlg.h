// The boot screen preview: the picture as the boot screen changer reduces it, in a window whose
// client area is 640 x 480 or full screen (Alt+Enter or a double click on the title bar; any key
// or button goes back), with the moving progress marks of the Windows 2000 or XP start screen
// driven by timer 100.
#pragma once

#include <windows.h>

#include <string>

#include "boot/ui/FullScreenDisplay.h"
#include "image/CxImage.h"
#include "pages/PageServices.h"
#include "widgets/Dialog.h"
#include "platform/Handles.h"

namespace qv {

class BootScreenPreviewDlg : public widgets::ModalDialog {
 public:
  static constexpr UINT_PTR kTimerId = 100;
  static constexpr UINT kTimerPeriod = 100;

  // generation: the Windows generation whose boot screen is shown (the program's own).
  BootScreenPreviewDlg(const PageServices& services, int generation);
  ~BootScreenPreviewDlg() override;

  // Loads path: a kernel file's bitmap 1 as it is, any other picture reduced exactly as the
  // boot screen changer reduces it for this generation. False (logged) when it cannot be shown;
  // a picture that does not decode has been named to the user ("0011").
  bool Load(const std::string& path);
  // Shows the loaded preview modally over owner.
  INT_PTR Show(HWND owner);

  // For tests: the picture shown (a kernel file's: 24 bits), its palette, the timer ticks, the
  // full-screen state and the display object (FailAtStep).
  const CxImage& Picture() const { return picture_; }
  const RGBQUAD* Palette() const { return palette_; }
  unsigned Ticks() const { return ticks_; }
  bool IsFullScreen() const { return fullScreen_; }
  FullScreenDisplay& Display() { return display_; }

 protected:
  bool OnInit() override;
  bool OnCommand(int code, int id, HWND control) override;
  bool OnTimer(UINT_PTR id) override;
  void OnDestroy() override;
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool LoadKernelFile(const std::string& path);
  bool LoadPicture(const std::string& path);
  bool Animated() const;
  void Paint();
  void DrawOnSurface();
  void CaptureStrip(HDC dc);
  void DrawAnimation(HDC dc) const;
  void DrawStrip(HDC dc) const;
  void DrawBlocks(HDC dc) const;
  bool KeyMessage(UINT message, WPARAM key, LPARAM flags);
  void EnterFullScreen();
  void LeaveFullScreen();
  void RestoreWindow();

  const PageServices& services_;  // not owned; outlives the dialog
  int generation_;
  CxImage picture_;
  RGBQUAD palette_[256] = {};
  unsigned ticks_ = 0;
  ScopedGdiObj<HBITMAP> strip_;  // the 640 x 10 band, taken on the first paint (2000)
  bool fullScreen_ = false;
  RECT savedRect_ = {};
  LONG_PTR savedStyle_ = 0;
  LONG_PTR savedExStyle_ = 0;
  FullScreenDisplay display_;
};

}  // namespace qv
