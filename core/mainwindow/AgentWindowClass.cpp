#include "core/mainwindow/AgentWindowClass.h"

#include "core/mainwindow/MainWindowRes.h"
#include "platform/AgentWindow.h"
#include "platform/Log.h"

namespace qv {

bool RegisterAgentWindowClass(HINSTANCE module) {
  WNDCLASSA windowClass{};
  if (GetClassInfoA(module, QV_AGENT_WINDOW_CLASS, &windowClass)) return true;
  // The system's dialog class under another name: its procedure (the dialog manager's) and its
  // window extra bytes, which every dialog needs.
  if (!GetClassInfoA(nullptr, WC_DIALOG, &windowClass)) {
    QV_LOG();
    return false;
  }
  windowClass.style &= ~CS_GLOBALCLASS;
  windowClass.hInstance = module;
  windowClass.hIcon = LoadIconA(module, MAKEINTRESOURCEA(IDR_MAINFRAME));
  windowClass.lpszClassName = QV_AGENT_WINDOW_CLASS;
  windowClass.lpszMenuName = nullptr;
  if (RegisterClassA(&windowClass)) return true;
  QV_LOG();
  return false;
}

}  // namespace qv
