// What the pages need from outside the dialog layer: texts, messages, help, the shell, the two
// modal choosers, and the changers' entries that the pages call themselves. The program's table
// reaches the real modules; tests put doubles in place of the modal parts so that a page is
// driven through its controls.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

struct PageServices {
  // The text of key in section of the language in use; false when missing.
  bool (*lookup)(const std::string& section, const std::string& key, std::string* out);
  // A message of section "Strings" (MB_* style); the button, or -1 when not shown.
  int (*showMessage)(const char* key, UINT style);
  // The same, its one "%s" replaced by path.
  int (*showMessageWithPath)(const char* key, const std::string& path, UINT style);
  // The refusal of a number outside low..high.
  void (*showRangeMessage)(int low, int high);
  // The compiled help at a topic.
  void (*openHelp)(HWND owner, const char* topic);
  // The shell's "open" of a path or address with the given show command.
  bool (*shellOpen)(HWND owner, const std::string& target, int show);
  // The add-image-folder dialog: false when cancelled.
  bool (*pickFolder)(HWND owner, std::string* folder, bool* includeSubFolders);
  // The multiple-selection file dialog with a "title|patterns|..." filter: false when cancelled.
  bool (*pickFiles)(HWND owner, const std::string& filter, std::vector<std::string>* paths);
  // The wallpaper changer.
  bool (*modifyWallpaper)(const std::string& path, int positionMode);
  // The IE skin changer's removal of "BackBitmap" (false also when there was none).
  bool (*removeIESkin)();
  // The logon screen changer (colour: red in the low byte) and the restore of the system's host.
  bool (*modifyLogonScreen)(const std::string& path, uint32_t backgroundColour);
  bool (*restoreLogonHost)();
  // A screen saver started for its preview ("/P") or its settings ("/C").
  bool (*previewScreenSaver)(const std::string& path);
  bool (*configureScreenSaver)(const std::string& path);
};

// The program's table.
PageServices ProgramPageServices();

}  // namespace qv
