#include "widgets/Dialog.h"

#include <exception>

#include "platform/Log.h"

namespace widgets {

Dialog* Dialog::FromHandle(HWND window) {
  return reinterpret_cast<Dialog*>(::GetWindowLongPtrA(window, DWLP_USER));
}

void Dialog::SetResult(LRESULT result) const {
  ::SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, result);
}

INT_PTR Dialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInit() ? TRUE : FALSE;
    case WM_COMMAND:
      return OnCommand(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE
                                                                                        : FALSE;
    case WM_NOTIFY: {
      NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
      LRESULT result = 0;
      if (!OnNotify(static_cast<int>(wParam), header, &result)) return FALSE;
      SetResult(result);
      return TRUE;
    }
    case WM_TIMER:
      return OnTimer(wParam) ? TRUE : FALSE;
    case WM_SIZE:
      return OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)) ? TRUE : FALSE;
    case WM_DESTROY:
      OnDestroy();
      return FALSE;
  }
  return FALSE;
}

INT_PTR CALLBACK Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    ::SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    if (self) self->Attach(window);
  } else {
    self = FromHandle(window);
  }
  if (!self) return FALSE;
  INT_PTR handled = FALSE;
  try {
    handled = self->OnMessage(message, wParam, lParam);
  } catch (const std::exception& e) {
    QV_LOG_MSG(e.what());
    handled = FALSE;
  } catch (...) {
    QV_LOG();
    handled = FALSE;
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(window, DWLP_USER, 0);
    self->Detach();
  }
  return handled;
}

INT_PTR ModalDialog::Run(HINSTANCE module, int resourceId, HWND owner) {
  INT_PTR result = ::DialogBoxParamA(module, MAKEINTRESOURCEA(resourceId), owner, &Procedure,
                                     reinterpret_cast<LPARAM>(static_cast<Dialog*>(this)));
  if (result == -1) QV_LOG();
  return result;
}

INT_PTR ModalDialog::RunIndirect(HINSTANCE module, const DLGTEMPLATE* dialogTemplate, HWND owner) {
  INT_PTR result = ::DialogBoxIndirectParamA(module, dialogTemplate, owner, &Procedure,
                                             reinterpret_cast<LPARAM>(static_cast<Dialog*>(this)));
  if (result == -1) QV_LOG();
  return result;
}

Page::~Page() {
  if (IsWindow()) Destroy();
}

bool Page::Create(HINSTANCE module, int resourceId, HWND parent) {
  HWND window = ::CreateDialogParamA(module, MAKEINTRESOURCEA(resourceId), parent, &Procedure,
                                     reinterpret_cast<LPARAM>(static_cast<Dialog*>(this)));
  if (!window) QV_LOG();
  return window != nullptr;
}

bool Page::CreateIndirect(HINSTANCE module, const DLGTEMPLATE* dialogTemplate, HWND parent) {
  HWND window = ::CreateDialogIndirectParamA(module, dialogTemplate, parent, &Procedure,
                                             reinterpret_cast<LPARAM>(static_cast<Dialog*>(this)));
  if (!window) QV_LOG();
  return window != nullptr;
}

}  // namespace widgets
