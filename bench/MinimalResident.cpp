// The smallest resident Win32 program: one hidden top-level window and its message loop. It is
// the peer that bench/agent-memory.sh measures the resident agent against, under the same Wine.
#include <windows.h>

namespace {

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA type{};
  type.lpfnWndProc = Proc;
  type.hInstance = instance;
  type.lpszClassName = "QvMinimalResident";
  if (!RegisterClassA(&type)) return 1;
  if (!CreateWindowExA(0, type.lpszClassName, "qv minimal resident", WS_OVERLAPPEDWINDOW,
                       CW_USEDEFAULT, CW_USEDEFAULT, 200, 100, nullptr, nullptr, instance,
                       nullptr))
    return 1;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
