// The helper of preview-shots.sh: one picture page hosted at its own dialog size (what the
// configuration window gives it at its minimum size), rows added, the first selected, the
// wallpaper position or the logon colour chosen as the page's controls report it; it writes the
// file QV_SHOT_READY names once the preview has its picture, and stays until it is ended.
//   qv_preview_shots qveng.lng|qvdeu.lng wallpaper MODE PICTURE...
//   qv_preview_shots qveng.lng|qvdeu.lng logon RRGGBB PICTURE...
//   qv_preview_shots qveng.lng|qvdeu.lng skin - PICTURE...
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "imageinfo/InfoPickers.h"
#include "pages/IESkinPage.h"
#include "pages/LogonScreenPage.h"
#include "pages/PagesRes.h"
#include "pages/ThumbnailGenerator.h"
#include "pages/WallpaperPage.h"
#include "tests/pages/PageTestSupport.h"
#include "tests/support/WinTestSupport.h"

namespace {

template <class P>
int Show(int argc, char** argv, qv::PVoptionData& live) {
  qvtest::HostedPage<P> host(live, 600, 500);
  RECT page{0, 0, 299, 258};
  MapDialogRect(host.Window(), &page);
  RECT outer = page;
  AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
  SetWindowPos(host.Host(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOZORDER);
  MoveWindow(host.Window(), 0, 0, page.right, page.bottom, TRUE);
  SetWindowTextA(host.Host(), argv[2]);
  for (int i = 4; i < argc; ++i) host.page().AddFileRow(argv[i]);
  if (std::strcmp(argv[2], "wallpaper") == 0) {
    HWND combo = GetDlgItem(host.Window(), IDC_POSITION);
    SendMessageA(combo, CB_SETCURSEL, std::atoi(argv[3]), 0);
    SendMessageA(host.Window(), WM_COMMAND, MAKEWPARAM(IDC_POSITION, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  }
  host.SelectRows({true});
  // Tells the script (QV_SHOT_READY names a file) once the preview has its picture.
  for (DWORD start = GetTickCount(); GetTickCount() - start < 60000;) {
    qvtest::PageHost::Pump(50);
    if (host.page().Preview()->CurrentState() != qv::PreviewMonitor::kLoading) break;
  }
  RedrawWindow(host.Host(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  if (const char* ready = std::getenv("QV_SHOT_READY")) {
    if (FILE* f = std::fopen(ready, "w")) std::fclose(f);
  }
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) return 2;
  if (!qvtest::LoadProgramLanguage(argv[1])) return 1;
  qv::InitInfoPickers();
  qv::ThumbnailGenerator::Shared().Load(qvtest::DistFolder() + "kz.dll", nullptr);
  qv::PVoptionData live;
  live.wallpaper.items.clear();
  live.wallpaper.viewMode = 0;
  live.ieSkin.items.clear();
  live.ieSkin.viewMode = 0;
  live.logonScreen.items.clear();
  live.logonScreen.viewMode = 0;
  if (std::strcmp(argv[2], "wallpaper") == 0) return Show<qv::WallpaperPage>(argc, argv, live);
  if (std::strcmp(argv[2], "logon") == 0) {
    const unsigned long rgb = std::strtoul(argv[3], nullptr, 16);
    live.logonScreen.backgroundColour = static_cast<int32_t>(RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF));
    return Show<qv::LogonScreenPage>(argc, argv, live);
  }
  if (std::strcmp(argv[2], "skin") == 0) return Show<qv::IESkinPage>(argc, argv, live);
  return 2;
}
