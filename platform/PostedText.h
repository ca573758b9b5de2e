// Text handed from a worker thread to a window's thread through a posted message: the poster
// gives up the text, the receiver takes it from the long parameter and owns it from then on.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

// Posts message with the text in its long parameter (word parameter 0). False when the post
// failed (the window is gone, the queue is full); the text is released then.
bool PostText(HWND window, UINT message, std::string text);

// The text of a message posted by PostText; call once per message, on the receiving thread.
std::string TakePostedText(LPARAM lParam);

// Releases the texts of messages first..last still waiting in window's queue (the window is
// about to be destroyed and will never receive them).
void DiscardPostedTexts(HWND window, UINT first, UINT last);

}  // namespace platform
