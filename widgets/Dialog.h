// Dialogs over the Win32 dialog manager. One static procedure per kind stores `this` at
// WM_INITDIALOG and hands every message to the virtual OnMessage, whose default fans out to the
// typed hooks below. Nothing is thrown through user32: the procedure catches, logs and answers
// "not handled".
//
//   Window -> Dialog -> ModalDialog   (DialogBoxParam: runs its own loop until End)
//                    -> Page          (a modeless child dialog inside another window)
#pragma once

#include <windows.h>

#include "widgets/Window.h"

namespace widgets {

class Dialog : public Window {
 public:
  Dialog() = default;
  virtual ~Dialog() = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // The object a dialog window belongs to, or nullptr for a window not made by this layer.
  static Dialog* FromHandle(HWND window);

 protected:
  // Every message after WM_INITDIALOG's `this` is stored. The return value is the dialog
  // procedure's: TRUE when handled (set a result with SetResult where the message needs one).
  virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // True lets the dialog manager set the default focus.
  virtual bool OnInit() { return true; }
  // code is the notification code (0 for menus, 1 for accelerators), id the command id.
  virtual bool OnCommand(int code, int id, HWND control) { return false; }
  // Handled notifications set *result, which reaches the sender.
  virtual bool OnNotify(int id, NMHDR* header, LRESULT* result) { return false; }
  virtual bool OnTimer(UINT_PTR id) { return false; }
  virtual bool OnSize(UINT type, int width, int height) { return false; }
  // Before the window goes; the handle is still valid.
  virtual void OnDestroy() {}

  // The message result of a handled message (DWLP_MSGRESULT).
  void SetResult(LRESULT result) const;

  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

class ModalDialog : public Dialog {
 public:
  // Runs the dialog template resourceId of module until End; returns End's value, or -1 when
  // the dialog cannot be created.
  INT_PTR Run(HINSTANCE module, int resourceId, HWND owner);
  INT_PTR RunIndirect(HINSTANCE module, const DLGTEMPLATE* dialogTemplate, HWND owner);
  void End(INT_PTR result) const { ::EndDialog(Handle(), result); }
};

class Page : public Dialog {
 public:
  ~Page() override;
  // Creates the page as a child of parent; false (logged) when it cannot be created.
  bool Create(HINSTANCE module, int resourceId, HWND parent);
  bool CreateIndirect(HINSTANCE module, const DLGTEMPLATE* dialogTemplate, HWND parent);
};

}  // namespace widgets
