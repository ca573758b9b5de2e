// The message hook library. It is loaded into every process that has a message queue, so it does
// as little as possible: every message is passed on unchanged, and when a screen saver is being
// started (WM_SYSCOMMAND with SC_SCREENSAVE taken from a queue) the agent's window, found by its
// class and caption, gets message 2106 posted. Nothing is allocated, nothing waits, nothing is sent.
#include <windows.h>

#include "platform/AgentWindow.h"
#include "platform/PrivateMessages.h"

namespace {

// One hook handle for all processes the library is loaded into (needed by CallNextHookEx on the
// older systems).
HHOOK g_hook __attribute__((section(".shared"), shared)) = nullptr;

}  // namespace

extern "C" {

__declspec(dllexport) void WINAPI SetHookHandle(HHOOK hook) { g_hook = hook; }

__declspec(dllexport) LRESULT CALLBACK HookGetMsgProc(int code, WPARAM removal, LPARAM message) {
  // Only messages that leave the queue: a peek that leaves it there would count it twice.
  if (code == HC_ACTION && removal == PM_REMOVE && message != 0) {
    const MSG* msg = reinterpret_cast<const MSG*>(message);
    if (msg->message == WM_SYSCOMMAND && (msg->wParam & 0xFFF0) == SC_SCREENSAVE) {
      if (HWND agent = platform::FindAgentWindow())
        PostMessageA(agent, QV_MSG_SCREENSAVER_RUN, 0, 0);
    }
  }
  return CallNextHookEx(g_hook, code, removal, message);
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(module);
  return TRUE;
}

}  // extern "C"
