#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "core/mainwindow/AgentWindowClass.h"
#include "core/mainwindow/MainWindowRes.h"
#include "platform/AgentWindow.h"
#include "platform/Handles.h"
#include "platform/PrivateMessages.h"
#include "tests/support/WinTestSupport.h"

namespace {

using HookProc = LRESULT(CALLBACK*)(int, WPARAM, LPARAM);
using SetHookProc = void(WINAPI*)(HHOOK);

// A window of the agent's class and caption, as the main window registers it, and a window that
// only shares the caption (the program's message boxes do: class "#32770", above their owner).
struct TestWindow {
  HWND window = nullptr;
  TestWindow(const char* className, const char* caption) {
    window = CreateWindowExA(0, className, caption, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  }
  ~TestWindow() {
    if (window) DestroyWindow(window);
  }
  // Message 2106 as posted to this window (taken from the queue, counted, not dispatched).
  int Notices() const {
    int count = 0;
    MSG msg;
    for (int i = 0; i < 20; ++i) {
      while (PeekMessageA(&msg, window, QV_MSG_SCREENSAVER_RUN, QV_MSG_SCREENSAVER_RUN, PM_REMOVE))
        ++count;
      Sleep(5);
    }
    return count;
  }
};

struct HookFixture : ::testing::Test {
  void SetUp() override {
    library.Reset(LoadLibraryA((qvtest::DistFolder() + "pv.dll").c_str()));
    ASSERT_TRUE(library) << "pv.dll beside the program";
    hookProc = reinterpret_cast<HookProc>(GetProcAddress(library.Get(), "HookGetMsgProc"));
    setHook = reinterpret_cast<SetHookProc>(GetProcAddress(library.Get(), "SetHookHandle"));
    ASSERT_NE(hookProc, nullptr);
    ASSERT_NE(setHook, nullptr);
    ASSERT_TRUE(qv::RegisterAgentWindowClass(GetModuleHandleA(nullptr)));
    agent = std::make_unique<TestWindow>(QV_AGENT_WINDOW_CLASS, QV_AGENT_WINDOW_CAPTION);
    ASSERT_NE(agent->window, nullptr);
  }
  qv::ScopedLibrary library;
  HookProc hookProc = nullptr;
  SetHookProc setHook = nullptr;
  std::unique_ptr<TestWindow> agent;
};

TEST_F(HookFixture, OnlyARemovedScreenSaveCommandIsReported) {
  struct Row {
    int code;
    WPARAM removal;
    UINT message;
    WPARAM wParam;
    int notices;
  } rows[] = {
      {HC_ACTION, PM_REMOVE, WM_SYSCOMMAND, SC_SCREENSAVE, 1},
      {HC_ACTION, PM_REMOVE, WM_SYSCOMMAND, SC_SCREENSAVE | 0x2, 1},  // low bits are the system's
      {HC_ACTION, PM_NOREMOVE, WM_SYSCOMMAND, SC_SCREENSAVE, 0},      // seen again when removed
      {HC_ACTION, PM_REMOVE, WM_SYSCOMMAND, SC_CLOSE, 0},
      {HC_ACTION, PM_REMOVE, WM_SYSCOMMAND, SC_MONITORPOWER, 0},
      {HC_ACTION, PM_REMOVE, WM_COMMAND, SC_SCREENSAVE, 0},
      {-1, PM_REMOVE, WM_SYSCOMMAND, SC_SCREENSAVE, 0},  // negative codes are only passed on
  };
  for (const Row& r : rows) {
    MSG msg{};
    msg.message = r.message;
    msg.wParam = r.wParam;
    hookProc(r.code, r.removal, reinterpret_cast<LPARAM>(&msg));
    EXPECT_EQ(agent->Notices(), r.notices) << r.message << " " << r.wParam << " " << r.code;
    EXPECT_EQ(msg.message, r.message) << "the message passes on unchanged";
  }
}

TEST_F(HookFixture, TheNoticeGoesToTheAgentNotToAMessageBoxWithItsCaption) {
  // Made after the agent, so that it lies above it, as a message box lies above its owner.
  TestWindow messageBox("#32770", QV_AGENT_WINDOW_CAPTION);
  ASSERT_NE(messageBox.window, nullptr);
  MSG msg{};
  msg.message = WM_SYSCOMMAND;
  msg.wParam = SC_SCREENSAVE;
  hookProc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&msg));
  EXPECT_EQ(messageBox.Notices(), 0);
  EXPECT_EQ(agent->Notices(), 1);
}

TEST_F(HookFixture, WithoutTheAgentsWindowNothingIsPosted) {
  SetWindowTextA(agent->window, "Somebody else");
  MSG msg{};
  msg.message = WM_SYSCOMMAND;
  msg.wParam = SC_SCREENSAVE;
  hookProc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&msg));
  EXPECT_EQ(agent->Notices(), 0);
}

TEST_F(HookFixture, InstalledSystemWideItSeesQueuedMessages) {
  HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, hookProc, library.Get(), 0);
  ASSERT_NE(hook, nullptr);
  setHook(hook);
  HWND target = CreateWindowExA(0, "STATIC", "target", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  PostMessageA(target, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
  MSG msg;
  // Taken from the queue but never dispatched: no screen saver is started by the test.
  ASSERT_TRUE(PeekMessageA(&msg, target, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
  EXPECT_EQ(agent->Notices(), 1);
  EXPECT_TRUE(UnhookWindowsHookEx(hook));
  DestroyWindow(target);
}

}  // namespace
