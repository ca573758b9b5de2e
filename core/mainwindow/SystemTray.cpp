#include "core/mainwindow/SystemTray.h"

#include <cstring>

#include "core/mainwindow/MainWindowRes.h"
#include "platform/Handles.h"
#include "platform/Log.h"
#include "platform/PrivateMessages.h"

namespace qv {
namespace {

// The record of shell version 5 without the balloon's GUID: 488 bytes on 32-bit Windows.
constexpr DWORD kNotifyDataSize = NOTIFYICONDATAA_V2_SIZE;
#if !defined(_WIN64)
static_assert(kNotifyDataSize == 488, "the shell expects the 488-byte record");
#endif

constexpr char kTrayClass[] = "QuorvexTrayWindow";

}  // namespace

CSystemTray::CSystemTray() { std::memset(&data_, 0, sizeof data_); }

CSystemTray::~CSystemTray() { RemoveIcon(); }

bool CSystemTray::Create(HWND owner, UINT callbackMessage, const std::string& tooltip, HICON icon,
                         UINT menuId) {
  if (LOBYTE(LOWORD(::GetVersion())) < 4) return false;
  owner_ = owner;
  menuId_ = menuId;
  if (!IsWindow() &&
      !CustomWindow::Create(kTrayClass, WS_POPUP, 0, 0, 0, 10, 10, nullptr)) {
    return false;
  }
  taskbarCreated_ = ::RegisterWindowMessageA("TaskbarCreated");

  std::memset(&data_, 0, sizeof data_);
  data_.cbSize = kNotifyDataSize;
  data_.hWnd = Handle();
  data_.uID = menuId;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = callbackMessage;
  data_.hIcon = icon;
  std::strncpy(data_.szTip, tooltip.c_str(), sizeof data_.szTip - 1);
  return AddIcon();
}

bool CSystemTray::AddIcon() {
  added_ = ::Shell_NotifyIconA(NIM_ADD, &data_) != FALSE;
  return added_;
}

void CSystemTray::RemoveIcon() {
  if (!added_) return;
  ::Shell_NotifyIconA(NIM_DELETE, &data_);
  added_ = false;
}

LRESULT CSystemTray::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (data_.uCallbackMessage != 0 && message == data_.uCallbackMessage) {
    if (static_cast<UINT>(wParam) == data_.uID) OnTrayNotification(static_cast<UINT>(lParam));
    return 0;
  }
  if (taskbarCreated_ != 0 && message == taskbarCreated_) {
    // A restarted shell has forgotten every icon.
    if (data_.hWnd && !AddIcon()) QV_LOG();
    return 0;
  }
  return CustomWindow::OnMessage(message, wParam, lParam);
}

void CSystemTray::OnTrayNotification(UINT mouseMessage) {
  if (!owner_) return;
  if (!::IsWindowEnabled(owner_)) {
    // A modal dialog of the program is open: bring it forward instead of offering the menu.
    if (mouseMessage == WM_LBUTTONUP || mouseMessage == WM_LBUTTONDBLCLK ||
        mouseMessage == WM_RBUTTONUP) {
      HWND popup = ::GetLastActivePopup(owner_);
      ::BringWindowToTop(popup);
      ::SetForegroundWindow(popup);
      ::SetActiveWindow(popup);
      ::SetFocus(popup);
    }
    return;
  }
  if (mouseMessage == WM_RBUTTONUP) {
    ShowMenu();
  } else if (mouseMessage == WM_LBUTTONDBLCLK) {
    ::SetForegroundWindow(owner_);
    ::SendMessageA(owner_, WM_COMMAND, MAKEWPARAM(defaultItem_, 0), 0);
  }
}

void CSystemTray::ShowMenu() {
  ScopedMenu menu(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menuId_)));
  HMENU popup = menu ? ::GetSubMenu(menu.Get(), 0) : nullptr;
  if (!popup) {
    QV_LOG();
    return;
  }
  if (defaultItem_) ::SetMenuDefaultItem(popup, defaultItem_, FALSE);
  ::SetForegroundWindow(owner_);
  ::SendMessageA(owner_, QV_MSG_TRANSLATE_MENU, reinterpret_cast<WPARAM>(popup), 0);
  POINT cursor{};
  ::GetCursorPos(&cursor);
  ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y, 0, owner_, nullptr);
  // Without a message after the menu, the menu would not close when the user clicks elsewhere
  // the next time (the shell's known foreground quirk).
  ::PostMessageA(owner_, WM_NULL, 0, 0);
}

}  // namespace qv
