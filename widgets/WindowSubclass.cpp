#include "widgets/WindowSubclass.h"

namespace widgets {

// What the shared procedure needs of one subclassed window. It outlives its subclass object
// when a later subclass keeps it in the chain: it then passes every message on until the
// window's WM_NCDESTROY frees it.
struct WindowSubclass::Record {
  WNDPROC previous;
  Handler handler;  // nullptr: pass everything on
  void* context;
  WindowSubclass* owner;  // nullptr once the window owns the record
};

namespace {

constexpr char kProperty[] = "QuorvexSubclass";

WindowSubclass::Record* RecordOf(HWND window) {
  return static_cast<WindowSubclass::Record*>(::GetPropA(window, kProperty));
}

WNDPROC ProcedureOf(HWND window) {
  return reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(window, GWLP_WNDPROC));
}

WNDPROC SetProcedure(HWND window, WNDPROC procedure) {
  return reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

}  // namespace

WindowSubclass::~WindowSubclass() { Detach(); }

bool WindowSubclass::Attach(HWND window, Handler handler, void* context) {
  if (!window || !::IsWindow(window) || record_ || RecordOf(window)) return false;
  Record* record = new Record{nullptr, handler, context, this};
  if (!::SetPropA(window, kProperty, record)) {
    delete record;
    return false;
  }
  record->previous = SetProcedure(window, &WindowSubclass::Procedure);
  if (!record->previous) {
    ::RemovePropA(window, kProperty);
    delete record;
    return false;
  }
  window_ = window;
  record_ = record;
  return true;
}

void WindowSubclass::Detach() {
  if (!record_) return;
  if (::IsWindow(window_) && ProcedureOf(window_) == &WindowSubclass::Procedure) {
    SetProcedure(window_, record_->previous);
    ::RemovePropA(window_, kProperty);
    delete record_;
  } else {
    // A later subclass sits on top: ours stays in its chain and only passes messages on.
    record_->handler = nullptr;
    record_->context = nullptr;
    record_->owner = nullptr;
  }
  record_ = nullptr;
  window_ = nullptr;
}

LRESULT WindowSubclass::CallPrevious(HWND window, UINT message, WPARAM wParam,
                                     LPARAM lParam) const {
  if (!record_) return ::DefWindowProcA(window, message, wParam, lParam);
  return ::CallWindowProcA(record_->previous, window, message, wParam, lParam);
}

LRESULT CALLBACK WindowSubclass::Procedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  Record* record = RecordOf(window);
  if (!record) return ::DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // The window's last message: its own procedure finishes it, and nothing of ours is left.
    WNDPROC previous = record->previous;
    if (ProcedureOf(window) == &WindowSubclass::Procedure) SetProcedure(window, previous);
    ::RemovePropA(window, kProperty);
    if (record->owner) {
      record->owner->record_ = nullptr;
      record->owner->window_ = nullptr;
    }
    delete record;
    return ::CallWindowProcA(previous, window, message, wParam, lParam);
  }
  if (!record->handler) return ::CallWindowProcA(record->previous, window, message, wParam, lParam);
  return record->handler(record->context, window, message, wParam, lParam);
}

}  // namespace widgets
