#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Handles.h"
#include "tests/mainwindow/DialogTemplate.h"
#include "tests/support/LogCapture.h"
#include "widgets/Dialog.h"
#include "widgets/Menu.h"
#include "widgets/TreeView.h"

namespace {

using qvtest::DialogTemplate;

// Records each typed hook with its arguments.
class RecordingPage : public widgets::Page {
 public:
  std::vector<std::string> calls;
  bool throwOnCommand = false;

 protected:
  bool OnInit() override {
    calls.push_back("init");
    return true;
  }
  bool OnCommand(int code, int id, HWND) override {
    if (throwOnCommand) throw std::runtime_error("boom");
    calls.push_back("command " + std::to_string(code) + " " + std::to_string(id));
    return id == 42;
  }
  bool OnNotify(int id, NMHDR* header, LRESULT* result) override {
    if (id != 7) return false;  // leaves the tree's own notices alone
    calls.push_back("notify " + std::to_string(id) + " " + std::to_string(header->code));
    *result = 1234;
    return true;
  }
  bool OnTimer(UINT_PTR id) override {
    calls.push_back("timer " + std::to_string(id));
    return true;
  }
  bool OnSize(UINT type, int width, int height) override {
    calls.push_back("size " + std::to_string(type) + " " + std::to_string(width) + "x" +
                    std::to_string(height));
    return true;
  }
  void OnDestroy() override { calls.push_back("destroy"); }
};

TEST(Dialog, MessagesFanOutToTheTypedHooks) {
  DialogTemplate dialogTemplate(WS_POPUP, 100, 50);
  RecordingPage page;
  ASSERT_TRUE(page.CreateIndirect(GetModuleHandleA(nullptr), dialogTemplate.Get(), nullptr));
  EXPECT_EQ(widgets::Dialog::FromHandle(page), &page);

  NMHDR header{page, 7, 99};
  struct Row {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    const char* expected;
    LRESULT result;
  } rows[] = {
      {WM_COMMAND, MAKEWPARAM(42, 3), 0, "command 3 42", 0},
      {WM_COMMAND, MAKEWPARAM(41, 0), 0, "command 0 41", 0},
      {WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&header), "notify 7 99", 1234},
      {WM_TIMER, 1005, 0, "timer 1005", 0},
      {WM_SIZE, SIZE_RESTORED, MAKELPARAM(320, 200), "size 0 320x200", 0},
  };
  for (const Row& r : rows) {
    page.calls.clear();
    LRESULT result = SendMessageA(page, r.message, r.wParam, r.lParam);
    ASSERT_EQ(page.calls.size(), 1u) << r.expected;
    EXPECT_EQ(page.calls[0], r.expected);
    if (r.message == WM_NOTIFY) EXPECT_EQ(result, r.result) << "the notify result reaches the sender";
  }
}

TEST(Dialog, AnExceptionStopsAtTheProcedureAndIsLogged) {
  DialogTemplate dialogTemplate(WS_POPUP, 100, 50);
  RecordingPage page;
  ASSERT_TRUE(page.CreateIndirect(GetModuleHandleA(nullptr), dialogTemplate.Get(), nullptr));
  page.throwOnCommand = true;
  qvtest::LogCapture log;
  EXPECT_EQ(SendMessageA(page, WM_COMMAND, 42, 0), 0);
  ASSERT_EQ(log.lines().size(), 1u);
  EXPECT_NE(log.lines()[0].find("Dialog.cpp"), std::string::npos);
  EXPECT_NE(log.lines()[0].find("error msg: boom"), std::string::npos);
  EXPECT_TRUE(page.IsWindow()) << "the dialog lives on";
}

TEST(Dialog, PageDestructionDestroysItsWindowAndForgetsTheObject) {
  DialogTemplate dialogTemplate(WS_POPUP, 100, 50);
  HWND window = nullptr;
  std::vector<std::string> calls;
  {
    RecordingPage page;
    ASSERT_TRUE(page.CreateIndirect(GetModuleHandleA(nullptr), dialogTemplate.Get(), nullptr));
    window = page;
    ASSERT_TRUE(IsWindow(window));
    page.Destroy();
    calls = page.calls;
    EXPECT_EQ(page.Handle(), nullptr);
  }
  EXPECT_FALSE(IsWindow(window));
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front(), "init");
  EXPECT_EQ(calls.back(), "destroy");
}

class EndingDialog : public widgets::ModalDialog {
 public:
  bool destroyed = false;

 protected:
  bool OnInit() override {
    Post(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return true;
  }
  bool OnCommand(int, int id, HWND) override {
    if (id != IDOK) return false;
    End(77);
    return true;
  }
  void OnDestroy() override { destroyed = true; }
};

TEST(Dialog, ModalRunReturnsTheValueGivenToEnd) {
  DialogTemplate dialogTemplate(WS_POPUP | WS_CAPTION, 100, 50);
  EndingDialog dialog;
  EXPECT_EQ(dialog.RunIndirect(GetModuleHandleA(nullptr), dialogTemplate.Get(), nullptr), 77);
  EXPECT_TRUE(dialog.destroyed);
  EXPECT_EQ(dialog.Handle(), nullptr);
}

TEST(Dialog, ModalRunOfAMissingTemplateFailsAndLogs) {
  EndingDialog dialog;
  qvtest::LogCapture log;
  EXPECT_EQ(dialog.Run(GetModuleHandleA(nullptr), 31999, nullptr), -1);
  EXPECT_EQ(log.lines().size(), 1u);
}

TEST(TreeView, ItemsKeepTextAndValue) {
  DialogTemplate dialogTemplate(WS_POPUP, 200, 200);
  RecordingPage page;
  ASSERT_TRUE(page.CreateIndirect(GetModuleHandleA(nullptr), dialogTemplate.Get(), nullptr));
  HWND control = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, page,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(control, nullptr);
  widgets::TreeView tree(control);
  const char* names[] = {"Boot Screen", "Wallpaper", "IE Skin", "About"};
  for (int i = 0; i < 4; ++i) ASSERT_NE(tree.Add(names[i], 10 + i), nullptr);
  EXPECT_EQ(tree.Count(), 4);
  for (int i = 0; i < 4; ++i) {
    HTREEITEM item = tree.FindByValue(10 + i);
    ASSERT_NE(item, nullptr) << names[i];
    EXPECT_EQ(tree.ItemText(item), names[i]);
    EXPECT_EQ(tree.ItemValue(item), 10 + i);
  }
  EXPECT_EQ(tree.FindByValue(99), nullptr);
  EXPECT_EQ(tree.ItemValue(nullptr), -1);

  HTREEITEM wallpaper = tree.FindByValue(11);
  ASSERT_TRUE(tree.Select(wallpaper));
  EXPECT_EQ(tree.Selection(), wallpaper);
  ASSERT_TRUE(tree.SetItemText(wallpaper, "Hintergrund"));
  EXPECT_EQ(tree.ItemText(wallpaper), "Hintergrund");
  EXPECT_TRUE(tree.Clear());
  EXPECT_EQ(tree.Count(), 0);
}

TEST(Menu, TextsChangeByCommandOrPositionAndKeepTheItemState) {
  qv::ScopedMenu bar(CreateMenu());
  HMENU popup = CreatePopupMenu();
  AppendMenuA(popup, MF_STRING | MF_CHECKED, 100, "Configure");
  AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(popup, MF_STRING | MF_GRAYED, 101, "Exit");
  AppendMenuA(bar.Get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "Setting");

  struct Row {
    UINT idOrPosition;
    bool byPosition;
    HMENU menu;
    bool expected;
  } rows[] = {
      {100, false, bar.Get(), true},   // found in the sub menu by command
      {101, false, popup, true},
      {0, true, bar.Get(), true},      // the heading by position
      {1, true, popup, false},         // a separator keeps no text
      {555, false, bar.Get(), false},  // no such command
  };
  for (const Row& r : rows) {
    EXPECT_EQ(widgets::SetMenuItemText(r.menu, r.idOrPosition, "Neu", r.byPosition), r.expected)
        << r.idOrPosition;
    if (r.expected) EXPECT_EQ(widgets::MenuItemText(r.menu, r.idOrPosition, r.byPosition), "Neu");
  }
  EXPECT_EQ(GetMenuState(popup, 100, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(GetMenuState(popup, 101, MF_BYCOMMAND) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
  EXPECT_EQ(GetMenuState(popup, 1, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));

  EXPECT_TRUE(widgets::MenuHasCommand(bar.Get(), 101));
  EXPECT_TRUE(widgets::RemoveMenuCommand(bar.Get(), 101));
  EXPECT_FALSE(widgets::MenuHasCommand(bar.Get(), 101));
  EXPECT_FALSE(widgets::RemoveMenuCommand(bar.Get(), 101));
  EXPECT_EQ(GetMenuItemCount(popup), 2);
}

TEST(Handles, EachOwnerClosesItsHandleOnceAndMovesOwnership) {
  HANDLE raw = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(raw, nullptr);
  DWORD flags = 0;
  {
    qv::AutoHandle first(raw);
    qv::AutoHandle second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_TRUE(second);
    EXPECT_TRUE(GetHandleInformation(raw, &flags));
  }
  EXPECT_FALSE(GetHandleInformation(raw, &flags)) << "closed when its owner went";

  qv::AutoHandle invalid(INVALID_HANDLE_VALUE);
  EXPECT_FALSE(invalid);

  HANDLE kept = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  {
    qv::AutoHandle owner(kept);
    EXPECT_EQ(owner.Release(), kept);
  }
  EXPECT_TRUE(GetHandleInformation(kept, &flags)) << "a released handle stays open";
  CloseHandle(kept);

  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  {
    qv::ScopedGdiObj<HBRUSH> owner(brush);
    EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
  }
  EXPECT_EQ(GetObjectType(brush), 0u);
}

// The drawing holders put back what they took: the selected object, the device context, COM.
TEST(Handles, DrawingHoldersGiveBackWhatTheyTook) {
  qv::ScopedDC screen(nullptr);
  ASSERT_TRUE(screen);
  HDC raw = nullptr;
  {
    qv::ScopedMemoryDC memory(CreateCompatibleDC(screen.Get()));
    ASSERT_TRUE(memory);
    raw = memory.Get();
    HGDIOBJ original = GetCurrentObject(raw, OBJ_BITMAP);
    qv::ScopedGdiObj<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), 4, 4));
    {
      qv::ScopedSelect selected(raw, bitmap.Get());
      EXPECT_TRUE(selected);
      EXPECT_EQ(GetCurrentObject(raw, OBJ_BITMAP), bitmap.Get());
    }
    EXPECT_EQ(GetCurrentObject(raw, OBJ_BITMAP), original) << "the replaced bitmap is back";
    qv::ScopedSelect nothing(raw, nullptr);
    EXPECT_FALSE(nothing);
  }
  EXPECT_EQ(GetObjectType(raw), 0u) << "the memory DC is deleted with its holder";

  {
    qv::ScopedCom com;
    EXPECT_TRUE(com.Ready());
  }
  // Balanced: a new initialisation is the first on this thread again.
  EXPECT_EQ(CoInitialize(nullptr), S_OK);
  CoUninitialize();
}

}  // namespace
