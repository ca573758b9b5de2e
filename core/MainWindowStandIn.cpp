// Until the configuration window exists, the program's start ends here: the main window is the
// plain dialog 102, which answers "Configure" and the agent's quit message so that the
// single-instance hand-over and the undo run can be used and tested, and saves the settings when
// it ends as the main window will.
#include <windows.h>

#include "core/MainWindowSeam.h"
#include "core/PVoptionData.h"
#include "res/resource.h"

namespace qv {
namespace {

INT_PTR CALLBACK StandInProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
      SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
      SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == ID_CONFIGURE) {
        ShowWindow(dialog, IsIconic(dialog) ? SW_RESTORE : SW_SHOW);
        SetForegroundWindow(dialog);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {  // Escape does not close the window
        return TRUE;
      }
      break;
    case WM_CLOSE:
    case QV_MSG_QUIT_AGENT:
      EndDialog(dialog, 0);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

int RunMainWindow(HINSTANCE instance, PVoptionData& settings, const std::string& settingsPath, bool) {
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, StandInProc, 0);
  settings.Save(settingsPath);
  return 0;
}

}  // namespace qv
