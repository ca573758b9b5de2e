// A picture page hosted in a window of its own on the test's thread, with doubles for the
// modal parts of the page services (messages, choosers, shell) and the real language files.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core/PVoptionData.h"
#include "pages/PageServices.h"
#include "pages/WallpaperPage.h"

namespace qvtest {

struct PageRecord {
  std::vector<std::string> messages;  // keys, "key|path" for messages with a path
  std::vector<std::string> opened;    // "show|target" handed to the shell
  std::vector<std::string> files;     // what the file dialog double answers
  std::string folder;                 // what the folder dialog double answers
  bool includeSubFolders = true;
  bool useRealFileDialog = false;
  bool (*modifyWallpaper)(const std::string&, int) = nullptr;  // nullptr: answer true
  std::vector<std::string> wallpapers;
};
PageRecord& Page();

// The services with the doubles above; texts from the language manager.
const qv::PageServices& TestPageServices();
// Loads language\<file> of the program folder into the process's language manager.
bool LoadProgramLanguage(const char* file);

// A top-level window holding one wallpaper page over live.
class HostedWallpaperPage {
 public:
  explicit HostedWallpaperPage(const qv::PVoptionData& live, int width = 700, int height = 560);
  ~HostedWallpaperPage();
  qv::WallpaperPage& page() { return *page_; }
  HWND Host() const { return host_; }
  HWND Window() const { return page_->Handle(); }
  const widgets::ListView& List() const { return page_->List(); }

  void Command(int id) const;
  // Pumps this thread's messages for ms milliseconds.
  static void Pump(DWORD ms);
  // Sends a real WM_DROPFILES with a DROPFILES block of paths to the page.
  void Drop(const std::vector<std::string>& paths) const;
  // A click on a column header as the list reports it.
  void ClickColumn(int column) const;
  // Selects exactly the rows whose flag is set.
  void SelectRows(const std::vector<bool>& rows) const;
  std::vector<std::string> Column(int column) const;

 private:
  HWND host_ = nullptr;
  std::unique_ptr<qv::WallpaperPage> page_;
};

// A fresh folder under the temp folder.
std::string PageTempFolder(const std::string& name);
// Every .jpg below folder (recursive), sorted.
std::vector<std::string> FindPictures(const std::string& folder);
// The same paths, the smallest files first.
std::vector<std::string> SmallestFirst(std::vector<std::string> paths);

}  // namespace qvtest
