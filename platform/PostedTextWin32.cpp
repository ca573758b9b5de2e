#include "platform/PostedText.h"

#include <memory>

namespace platform {

bool PostText(HWND window, UINT message, std::string text) {
  auto owned = std::make_unique<std::string>(std::move(text));
  if (!PostMessageA(window, message, 0, reinterpret_cast<LPARAM>(owned.get()))) return false;
  owned.release();  // the receiver owns it now
  return true;
}

std::string TakePostedText(LPARAM lParam) {
  std::unique_ptr<std::string> owned(reinterpret_cast<std::string*>(lParam));
  return owned ? std::move(*owned) : std::string();
}

void DiscardPostedTexts(HWND window, UINT first, UINT last) {
  MSG msg;
  while (PeekMessageA(&msg, window, first, last, PM_REMOVE)) TakePostedText(msg.lParam);
}

}  // namespace platform
