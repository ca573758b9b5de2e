#include <gtest/gtest.h>
#include <windows.h>

#include "core/mainwindow/MainWindowRes.h"
#include "platform/Handles.h"
#include "platform/PrivateMessages.h"
#include "tests/support/WinTestSupport.h"
#include "widgets/CustomWindow.h"

namespace {

using HookProc = LRESULT(CALLBACK*)(int, WPARAM, LPARAM);
using SetHookProc = void(WINAPI*)(HHOOK);

// The agent's window as the hook library finds it: by the caption "Quorvex".
class AgentWindow : public widgets::CustomWindow {
 public:
  int screenSaverNotices = 0;

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == QV_MSG_SCREENSAVER_RUN) ++screenSaverNotices;
    return CustomWindow::OnMessage(message, wParam, lParam);
  }
};

int PumpNotices(AgentWindow& agent) {
  MSG msg;
  for (int i = 0; i < 20; ++i) {
    while (PeekMessageA(&msg, agent, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(5);
  }
  return agent.screenSaverNotices;
}

struct HookFixture : ::testing::Test {
  void SetUp() override {
    library.Reset(LoadLibraryA((qvtest::DistFolder() + "pv.dll").c_str()));
    ASSERT_TRUE(library) << "pv.dll beside the program";
    hookProc = reinterpret_cast<HookProc>(GetProcAddress(library.Get(), "HookGetMsgProc"));
    setHook = reinterpret_cast<SetHookProc>(GetProcAddress(library.Get(), "SetHookHandle"));
    ASSERT_NE(hookProc, nullptr);
    ASSERT_NE(setHook, nullptr);
    ASSERT_TRUE(agent.Create("QvTestAgent", WS_POPUP, 0, 0, 0, 10, 10, nullptr));
    agent.SetText("Quorvex");
  }
  qv::ScopedLibrary library;
  HookProc hookProc = nullptr;
  SetHookProc setHook = nullptr;
  AgentWindow agent;
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
    agent.screenSaverNotices = 0;
    MSG msg{};
    msg.message = r.message;
    msg.wParam = r.wParam;
    hookProc(r.code, r.removal, reinterpret_cast<LPARAM>(&msg));
    EXPECT_EQ(PumpNotices(agent), r.notices) << r.message << " " << r.wParam << " " << r.code;
    EXPECT_EQ(msg.message, r.message) << "the message passes on unchanged";
  }
}

TEST_F(HookFixture, WithoutTheAgentsWindowNothingIsPosted) {
  agent.SetText("Somebody else");
  MSG msg{};
  msg.message = WM_SYSCOMMAND;
  msg.wParam = SC_SCREENSAVE;
  hookProc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&msg));
  EXPECT_EQ(PumpNotices(agent), 0);
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
  EXPECT_EQ(PumpNotices(agent), 1);
  EXPECT_TRUE(UnhookWindowsHookEx(hook));
  DestroyWindow(target);
}

}  // namespace
