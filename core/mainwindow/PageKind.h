// The pages of the configuration window, in the order of its page tree.
#pragma once

namespace qv {

enum class PageKind { BootScreen, Wallpaper, IESkin, LogonScreen, ScreenSaver, Preferences, About };

}  // namespace qv
