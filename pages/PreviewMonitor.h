// The small monitor on the picture pages that shows the selected row as it would look once
// applied: the wallpaper at the screen's shape with its position and the desktop colour behind
// it, the logon screen composed on its background colour, or the browser's toolbar strip with the
// skin tiled over it. The picture comes from a worker of its own (a ThumbnailQueue whose jobs
// are copies; the result is posted back to this window), so the page never waits for a decode;
// the mode and the colour only repaint. User-interface thread only, apart from the worker.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/ChangeLists.h"
#include "pages/PreviewPicture.h"
#include "pages/ThumbnailQueue.h"
#include "platform/Handles.h"
#include "widgets/CustomWindow.h"
#include "widgets/MemoryCanvas.h"

namespace qv {

enum class PreviewKind { kNone, kWallpaper, kLogon, kSkinStrip };

// The row to show; an empty path shows the empty screen.
struct PreviewRow {
  std::string path;
  bool folder = false;
  bool subFolders = false;
  int icon = -1;  // the row's icon in the system image lists: the mark of a picture that does not load
  bool operator==(const PreviewRow& o) const {
    return path == o.path && folder == o.folder && subFolders == o.subFolders;
  }
};

// What the page adds to the picture: the wallpaper's position mode, the colour behind it.
struct PreviewLook {
  int positionMode = kFitToScreen;
  COLORREF background = RGB(0, 0, 0);
};

class PreviewMonitor : public widgets::CustomWindow {
 public:
  enum State { kEmpty, kLoading, kReady, kRefused };

  explicit PreviewMonitor(PreviewKind kind);
  ~PreviewMonitor() override;

  // A child of page at area, not in the tab order.
  bool Create(HWND page, const RECT& area);
  // Starts the picture of a row unless it is the one shown or on its way.
  void ShowRow(const PreviewRow& row);
  // Repaints with a new mode or colour at once; nothing is decoded again.
  void SetLook(const PreviewLook& look);
  // Draws what the window shows into dc over client (the window's paint, and tests).
  void Render(HDC dc, const RECT& client) const;
  // Where the monitor's screen (or the strip) lies inside client.
  RECT ScreenArea(const RECT& client) const;

  // Tests and benchmarks.
  State CurrentState() const { return state_; }
  const PreviewRow& Row() const { return row_; }
  const PreviewLook& Look() const { return look_; }
  int Requests() const { return requests_; }

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Request();
  void TakeResults();
  // Keeps the worker's bitmap as rows of pixels; false when it cannot be read.
  bool KeepPicture(HBITMAP bitmap);
  void Stop();
  void DrawScreen(HDC dc, const RECT& screen) const;
  void DrawStrip(HDC dc, const RECT& strip) const;
  void DrawPicture(HDC dc, const RECT& target) const;

  PreviewKind kind_;
  PreviewRow row_;
  PreviewLook look_;
  State state_ = kEmpty;
  uint64_t request_ = 0;   // the identity of the job whose result is wanted
  int requests_ = 0;
  SIZE requestedFor_{0, 0};  // the screen area the wanted picture is decoded for
  // The decoded picture as 32-bit rows from the top, drawn with StretchDIBits.
  std::vector<uint8_t> picture_;
  BITMAPINFO pictureInfo_{};
  SIZE pictureSize_{0, 0};
  SIZE ownSize_{0, 0};       // the picture's own, which the position modes place
  widgets::MemoryCanvas canvas_;  // where a paint is put together
  std::atomic<HWND> notifyWindow_{nullptr};  // read by the worker's notice
  std::unique_ptr<ThumbnailQueue> queue_;
};

// The message the worker posts to the monitor when a picture is ready.
constexpr UINT kPreviewReadyMessage = WM_APP + 15;

}  // namespace qv
