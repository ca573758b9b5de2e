// The small icons beside the commands of the main window's menus and the tray menu: the program's
// own icon for the window and help commands, arrows for the previous and next commands.
#pragma once

#include <windows.h>

#include "platform/Handles.h"
#include "widgets/IconMenu.h"

namespace qv {

class MenuIcons {
 public:
  // programIcon (a shared resource icon, not owned) and the arrows made here.
  explicit MenuIcons(HINSTANCE instance);
  const widgets::IconMenu& Menu() const { return menu_; }

 private:
  widgets::IconMenu menu_;
  HICON program_ = nullptr;  // shared, not destroyed
  qv::ScopedIcon previous_;
  qv::ScopedIcon next_;
  qv::ScopedIcon screenSaver_;
};

}  // namespace qv
