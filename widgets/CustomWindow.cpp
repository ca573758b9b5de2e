#include "widgets/CustomWindow.h"

#include <exception>

#include "platform/Log.h"

namespace widgets {

CustomWindow::~CustomWindow() {
  if (IsWindow()) Destroy();
}

bool CustomWindow::Create(const char* className, DWORD style, DWORD exStyle, int x, int y,
                          int width, int height, HWND parent) {
  HINSTANCE module = ::GetModuleHandleA(nullptr);
  WNDCLASSA existing{};
  if (!::GetClassInfoA(module, className, &existing)) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &Procedure;
    windowClass.hInstance = module;
    windowClass.lpszClassName = className;
    if (!::RegisterClassA(&windowClass)) {
      QV_LOG();
      return false;
    }
  }
  HWND window = ::CreateWindowExA(exStyle, className, "", style, x, y, width, height, parent,
                                  nullptr, module, this);
  if (!window) {
    QV_LOG();
    return false;
  }
  return true;
}

LRESULT CustomWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcA(Handle(), message, wParam, lParam);
}

LRESULT CALLBACK CustomWindow::Procedure(HWND window, UINT message, WPARAM wParam,
                                         LPARAM lParam) {
  CustomWindow* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<CustomWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    if (self) self->Attach(window);
  } else {
    self = reinterpret_cast<CustomWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  }
  if (!self) return ::DefWindowProcA(window, message, wParam, lParam);
  LRESULT result = 0;
  try {
    result = self->OnMessage(message, wParam, lParam);
  } catch (const std::exception& e) {
    QV_LOG_MSG(e.what());
    result = ::DefWindowProcA(window, message, wParam, lParam);
  } catch (...) {
    QV_LOG();
    result = ::DefWindowProcA(window, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->Detach();
  }
  return result;
}

}  // namespace widgets
