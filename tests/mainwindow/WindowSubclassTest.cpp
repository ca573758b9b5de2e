// The subclass that every Windows version can make: messages reach the handler, what it leaves
// reaches the window's own procedure, and it leaves cleanly however the window and a later
// subclass come and go.
#include "widgets/WindowSubclass.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

struct Seen {
  int texts = 0;  // WM_SETTEXT seen by the handler
  widgets::WindowSubclass* subclass = nullptr;
};

LRESULT CountTexts(void* context, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* seen = static_cast<Seen*>(context);
  if (message == WM_SETTEXT) ++seen->texts;
  return seen->subclass->CallPrevious(window, message, wParam, lParam);
}

HWND MakeStatic() {
  return CreateWindowExA(0, "STATIC", "start", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

std::string Text(HWND window) {
  char text[64] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

WNDPROC g_laterPrevious = nullptr;
int g_laterTexts = 0;
LRESULT CALLBACK Later(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTEXT) ++g_laterTexts;
  return CallWindowProcA(g_laterPrevious, window, message, wParam, lParam);
}

TEST(WindowSubclass, PassesOnWhatItLeavesAndGivesTheProcedureBack) {
  HWND window = MakeStatic();
  ASSERT_NE(window, nullptr);
  const LONG_PTR own = GetWindowLongPtrA(window, GWLP_WNDPROC);
  Seen seen;
  widgets::WindowSubclass subclass;
  seen.subclass = &subclass;
  ASSERT_TRUE(subclass.Attach(window, &CountTexts, &seen));
  // One of ours per window.
  widgets::WindowSubclass second;
  EXPECT_FALSE(second.Attach(window, &CountTexts, &seen));
  SetWindowTextA(window, "one");
  EXPECT_EQ(seen.texts, 1);
  EXPECT_EQ(Text(window), "one");  // the static's own procedure stored it
  subclass.Detach();
  EXPECT_FALSE(subclass.Attached());
  EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), own);
  SetWindowTextA(window, "two");
  EXPECT_EQ(seen.texts, 1);
  DestroyWindow(window);
}

TEST(WindowSubclass, TheWindowsEndDetachesIt) {
  HWND window = MakeStatic();
  Seen seen;
  widgets::WindowSubclass subclass;
  seen.subclass = &subclass;
  ASSERT_TRUE(subclass.Attach(window, &CountTexts, &seen));
  DestroyWindow(window);
  EXPECT_FALSE(subclass.Attached());
}

// A subclass made after ours stays working when ours goes first: ours stays in the chain and
// only passes messages on, until the window ends.
TEST(WindowSubclass, ALaterSubclassKeepsWorkingWhenOursGoesFirst) {
  HWND window = MakeStatic();
  Seen seen;
  {
    widgets::WindowSubclass subclass;
    seen.subclass = &subclass;
    ASSERT_TRUE(subclass.Attach(window, &CountTexts, &seen));
    g_laterPrevious = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Later)));
  }  // ours is destroyed here, under the later one
  g_laterTexts = 0;
  SetWindowTextA(window, "three");
  EXPECT_EQ(g_laterTexts, 1);
  EXPECT_EQ(seen.texts, 0);
  EXPECT_EQ(Text(window), "three");
  DestroyWindow(window);
}

}  // namespace
