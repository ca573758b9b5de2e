// Plays steps inside a modal loop of this thread: a thread timer runs the first step every
// 30 ms until it returns true, then the next one. A modal dialog's own loop dispatches the
// timer, so a test drives the real dialog through its controls on the dialog's thread.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace qvtest {

class Script {
 public:
  using Step = std::function<bool()>;

  explicit Script(std::vector<Step> steps) : steps_(std::move(steps)) {
    current_ = this;
    timer_ = ::SetTimer(nullptr, 0, 30, &Script::Tick);
  }
  ~Script() {
    ::KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  Script(const Script&) = delete;
  Script& operator=(const Script&) = delete;

  bool Finished() const { return next_ == steps_.size(); }
  std::size_t StepsDone() const { return next_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    Script* self = current_;
    if (!self || self->running_ || self->Finished()) return;
    self->running_ = true;  // a step that opens a message loop must not be entered again
    if (self->steps_[self->next_]()) ++self->next_;
    self->running_ = false;
  }

  static inline Script* current_ = nullptr;
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  UINT_PTR timer_ = 0;
  bool running_ = false;
};

inline std::string ControlText(HWND dialog, int id) {
  char text[4096] = "";
  ::GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

inline std::string WindowCaption(HWND window) {
  char text[512] = "";
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

inline void Click(HWND dialog, int id) {
  ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

// Loads the shipped language file of this build's program folder ("qveng.lng" or "qvdeu.lng").
bool LoadShippedLanguage(const char* fileName);

}  // namespace qvtest
