// The tray icon of the resident agent: a hidden 10 x 10 pop-up without caption that owns one
// notification-area icon, receives its callback, shows the tray menu at the cursor and re-adds
// the icon when the shell restarts. Commands of the menu go to the owner (the main window).
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "widgets/CustomWindow.h"

namespace qv {

class CSystemTray : public widgets::CustomWindow {
 public:
  CSystemTray();
  ~CSystemTray() override;

  // Creates the hidden window and adds the icon with tooltip (cut to 127 characters), callback
  // message and menu resource menuId (also the icon's id). The icon is not owned. False when
  // the system is older than version 4 (nothing is created) or either step fails.
  bool Create(HWND owner, UINT callbackMessage, const std::string& tooltip, HICON icon,
              UINT menuId);
  // The menu item, by command id, that is marked default and that a double-click sends.
  void SetMenuDefaultItem(UINT commandId) { defaultItem_ = commandId; }
  UINT MenuDefaultItem() const { return defaultItem_; }
  // Removes the icon (the window stays until the object goes).
  void RemoveIcon();
  bool HasIcon() const { return added_; }

  // The callback's mouse message (the long parameter of the callback), as the shell sends it.
  void OnTrayNotification(UINT mouseMessage);

  // The notification record as handed to the shell (tests compare it).
  const NOTIFYICONDATAA& Data() const { return data_; }

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool AddIcon();
  void ShowMenu();

  NOTIFYICONDATAA data_;
  HWND owner_ = nullptr;  // not owned
  UINT menuId_ = 0;
  UINT defaultItem_ = 0;
  UINT taskbarCreated_ = 0;
  bool added_ = false;
};

}  // namespace qv
