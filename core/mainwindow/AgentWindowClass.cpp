#include "core/mainwindow/AgentWindowClass.h"

#include "core/mainwindow/MainWindowRes.h"
#include "platform/AgentWindow.h"
#include "platform/Log.h"

namespace qv {

bool RegisterAgentWindowClass(HINSTANCE module) {
  WNDCLASSA existing;
  if (GetClassInfoA(module, QV_AGENT_WINDOW_CLASS, &existing)) return true;
  WNDCLASSA windowClass{};
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = DefDlgProcA;
  windowClass.cbWndExtra = DLGWINDOWEXTRA;
  windowClass.hInstance = module;
  windowClass.hIcon = LoadIconA(module, MAKEINTRESOURCEA(IDR_MAINFRAME));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = QV_AGENT_WINDOW_CLASS;
  if (RegisterClassA(&windowClass)) return true;
  QV_LOG();
  return false;
}

}  // namespace qv
