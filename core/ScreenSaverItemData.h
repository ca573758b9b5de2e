// One screen-saver program of the screen saver list, and the scan that finds the screen savers
// installed in a folder.
#pragma once

#include <string>
#include <vector>

namespace qv {

struct ScreenSaverItemData {
  std::string name;  // shown in the list
  std::string path;  // full path of the ".scr" program

  // An item for a program: its name is string resource 1 of the program, or else its file name
  // without the extension.
  static ScreenSaverItemData FromPath(const std::string& path);

  bool operator==(const ScreenSaverItemData& other) const {
    return name == other.name && path == other.path;
  }
};

// Appends an item for every "*.scr" file of the folder (not for folders so named), in the order
// the file system lists them. An empty folder text is logged and adds nothing.
void ScanScreenSavers(const std::string& folder, std::vector<ScreenSaverItemData>& list);

// The file name of a path without its extension ("C:\x\My.Saver.scr" -> "My.Saver").
std::string FileNameWithoutExtension(const std::string& path);

// String resource 1 of the program file (at most 259 characters), "" when it has none. A program
// that cannot be loaded is logged. Only Windows has such resources: natively always "".
std::string ScreenSaverResourceName(const std::string& path);

}  // namespace qv
