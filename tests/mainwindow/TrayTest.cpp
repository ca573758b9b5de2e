#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/mainwindow/MainWindowRes.h"
#include "core/mainwindow/SystemTray.h"
#include "platform/PrivateMessages.h"
#include "widgets/CustomWindow.h"

namespace {

// Stands in for the main window: records what the tray sends it and closes the menu at once.
class OwnerWindow : public widgets::CustomWindow {
 public:
  std::vector<UINT> messages;
  std::vector<UINT> menuIds;
  UINT menuDefault = 0;
  WPARAM command = 0;

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == QV_MSG_TRANSLATE_MENU || message == WM_NULL || message == WM_COMMAND)
      messages.push_back(message);
    if (message == QV_MSG_TRANSLATE_MENU) {
      HMENU menu = reinterpret_cast<HMENU>(wParam);
      for (int i = 0; i < GetMenuItemCount(menu); ++i) menuIds.push_back(GetMenuItemID(menu, i));
      menuDefault = GetMenuDefaultItem(menu, FALSE, 0);
      ::SetTimer(Handle(), 1, 50, nullptr);
      return 0;
    }
    if (message == WM_TIMER && wParam == 1) {
      ::KillTimer(Handle(), 1);
      EndMenu();
      return 0;
    }
    if (message == WM_COMMAND) command = wParam;
    return CustomWindow::OnMessage(message, wParam, lParam);
  }
};

void Pump(DWORD ms) {
  DWORD start = GetTickCount();
  MSG msg;
  while (GetTickCount() - start < ms) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(10);
  }
}

struct TrayFixture : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(owner.Create("QvTestOwner", WS_OVERLAPPEDWINDOW, 0, 10, 10, 200, 100, nullptr));
    icon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
    created = tray.Create(owner, QV_MSG_TRAY_NOTIFY, "Quorvex Agent", icon, IDR_TRAYMENU);
    tray.SetMenuDefaultItem(ID_CONFIGURE);
  }
  OwnerWindow owner;
  qv::CSystemTray tray;
  HICON icon = nullptr;
  bool created = false;
};

TEST_F(TrayFixture, TheHiddenWindowHoldsOneIconWithTheAgentsRecord) {
  EXPECT_TRUE(created) << "the shell's notification area accepted the icon";
  ASSERT_TRUE(tray.IsWindow());
  EXPECT_FALSE(tray.IsVisible());
  RECT r = tray.WindowRect();
  EXPECT_EQ(r.right - r.left, 10);
  EXPECT_EQ(r.bottom - r.top, 10);
  LONG_PTR style = GetWindowLongPtrA(tray, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE((style & WS_CAPTION) == WS_CAPTION);

  const NOTIFYICONDATAA& data = tray.Data();
  EXPECT_EQ(data.hWnd, tray.Handle());
  EXPECT_EQ(data.uID, static_cast<UINT>(IDR_TRAYMENU));
  EXPECT_EQ(data.uCallbackMessage, static_cast<UINT>(QV_MSG_TRAY_NOTIFY));
  EXPECT_EQ(data.hIcon, icon);
  EXPECT_STREQ(data.szTip, "Quorvex Agent");
  EXPECT_EQ(data.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V2_SIZE));
}

TEST_F(TrayFixture, ALongTooltipIsCutTo127Characters) {
  qv::CSystemTray other;
  other.Create(owner, QV_MSG_TRAY_NOTIFY, std::string(300, 'x'), icon, 133);
  EXPECT_EQ(std::string(other.Data().szTip), std::string(127, 'x'));
}

TEST_F(TrayFixture, RightButtonShowsTheMenuAfterAskingTheOwnerToTranslateIt) {
  SendMessageA(tray, QV_MSG_TRAY_NOTIFY, IDR_TRAYMENU, WM_RBUTTONUP);
  Pump(300);
  ASSERT_GE(owner.messages.size(), 2u);
  EXPECT_EQ(owner.messages[0], static_cast<UINT>(QV_MSG_TRANSLATE_MENU));
  EXPECT_EQ(owner.messages[1], static_cast<UINT>(WM_NULL)) << "WM_NULL follows the menu";
  const std::vector<UINT> expected = {ID_CONFIGURE, 0, ID_PREVIOUS_WALLPAPER, ID_NEXT_WALLPAPER,
                                      ID_PREVIOUS_IESKIN, ID_NEXT_IESKIN, 0,
                                      ID_TOGGLE_SCREENSAVER, ID_START_SCREENSAVER, 0,
                                      ID_HELP_CONTENTS, ID_ABOUT, 0, ID_EXIT};
  EXPECT_EQ(owner.menuIds, expected);
  EXPECT_EQ(owner.menuDefault, static_cast<UINT>(ID_CONFIGURE));
}

TEST_F(TrayFixture, MouseNoticesAndTheirEffects) {
  struct Row {
    UINT mouse;
    UINT expectedFirst;  // 0: nothing reaches the owner
  } rows[] = {
      {WM_LBUTTONDBLCLK, WM_COMMAND},
      {WM_LBUTTONUP, 0},
      {WM_MOUSEMOVE, 0},
      {WM_RBUTTONDOWN, 0},
  };
  for (const Row& r : rows) {
    owner.messages.clear();
    owner.command = 0;
    SendMessageA(tray, QV_MSG_TRAY_NOTIFY, IDR_TRAYMENU, r.mouse);
    Pump(100);
    if (r.expectedFirst == 0) {
      EXPECT_TRUE(owner.messages.empty()) << r.mouse;
    } else {
      ASSERT_FALSE(owner.messages.empty()) << r.mouse;
      EXPECT_EQ(owner.messages[0], r.expectedFirst);
      EXPECT_EQ(LOWORD(owner.command), ID_CONFIGURE);
    }
  }
  // Another icon's id on the same message is not ours.
  owner.messages.clear();
  SendMessageA(tray, QV_MSG_TRAY_NOTIFY, 999, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(owner.messages.empty());
}

TEST_F(TrayFixture, WhileTheOwnerIsDisabledItsModalPopupComesForward) {
  HWND popup = CreateWindowExA(0, "STATIC", "modal", WS_POPUP | WS_VISIBLE | WS_CAPTION, 50, 50,
                               120, 80, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(popup, nullptr);
  SetActiveWindow(popup);
  EnableWindow(owner, FALSE);
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 300, 300, 50, 50,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  SetActiveWindow(other);
  for (UINT mouse : {WM_LBUTTONUP, WM_RBUTTONUP, WM_LBUTTONDBLCLK}) {
    SetActiveWindow(other);
    owner.messages.clear();
    SendMessageA(tray, QV_MSG_TRAY_NOTIFY, IDR_TRAYMENU, mouse);
    Pump(100);
    EXPECT_EQ(GetActiveWindow(), popup) << mouse;
    EXPECT_EQ(GetFocus(), popup) << mouse;
    EXPECT_TRUE(owner.messages.empty()) << "no menu and no command while disabled";
  }
  EnableWindow(owner, TRUE);
  DestroyWindow(other);
  DestroyWindow(popup);
}

TEST_F(TrayFixture, ARestartedShellGetsTheIconAgain) {
  ASSERT_TRUE(created);
  NOTIFYICONDATAA data = tray.Data();
  ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data)) << "as a restarting shell forgets it";
  data.uFlags = NIF_TIP;
  EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &data)) << "gone from the notification area";
  SendMessageA(tray, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &data)) << "added again";
}

TEST_F(TrayFixture, DestructionRemovesTheIcon) {
  ASSERT_TRUE(created);
  NOTIFYICONDATAA data;
  {
    qv::CSystemTray second;
    ASSERT_TRUE(second.Create(owner, QV_MSG_TRAY_NOTIFY, "second", icon, 140));
    data = second.Data();
  }
  data.uFlags = NIF_TIP;
  EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &data));
}

}  // namespace
