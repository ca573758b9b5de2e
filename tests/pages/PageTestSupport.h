// A list page hosted in a window of its own on the test's thread, with doubles for the modal
// parts of the page services (messages, choosers, shell) and the real language files.
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
  bool useRealFolderDialog = false;
  bool (*modifyWallpaper)(const std::string&, int) = nullptr;  // nullptr: answer true
  std::vector<std::string> wallpapers;
  bool (*changeBootScreen)(const std::string&) = nullptr;  // nullptr: answer true
  bool (*restoreBootScreen)() = nullptr;                   // nullptr: answer true
  std::vector<std::string> bootScreens;                    // paths, "restore" for a restore
  // The other changer entries run for real; these record their calls ("path|colour" in hex).
  std::vector<std::string> logonChanges;
  int logonRestores = 0;
  int skinRemovals = 0;
  std::vector<std::string> previews;
  std::vector<std::string> saverSettings;
};
PageRecord& Page();

// A page test's start: English texts, the header readers, fresh doubles, and live settings
// whose wallpaper list is empty and shown as details.
bool StartPageTest(qv::PVoptionData* live);

// The services with the doubles above; texts from the language manager.
const qv::PageServices& TestPageServices();
// Loads language\<file> of the program folder into the process's language manager.
bool LoadProgramLanguage(const char* file);

// A top-level window that hosts one list page on the test's thread, with the helpers that send
// what the user's actions send.
class PageHost {
 public:
  PageHost(int width, int height);
  virtual ~PageHost();
  HWND Host() const { return host_; }
  HWND Window() const { return base_->Handle(); }
  const widgets::ListView& List() const { return base_->List(); }

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

 protected:
  // Creates the page's window over live, translates, loads and shows it.
  void Start(qv::BaseSetupDlg& page, const qv::PVoptionData& live);

 private:
  HWND host_ = nullptr;
  qv::BaseSetupDlg* base_ = nullptr;  // not owned
};

template <class P>
class HostedPage : public PageHost {
 public:
  explicit HostedPage(const qv::PVoptionData& live, int width = 700, int height = 560)
      : PageHost(width, height), page_(std::make_unique<P>(TestPageServices())) {
    Start(*page_, live);
  }
  ~HostedPage() override { page_.reset(); }  // before the host window goes
  P& page() { return *page_; }

 private:
  std::unique_ptr<P> page_;
};

using HostedWallpaperPage = HostedPage<qv::WallpaperPage>;

// While it lives, closes every message box that this thread shows (a changer's own messages)
// and keeps the texts of each.
class MessageBoxCloser {
 public:
  MessageBoxCloser();
  ~MessageBoxCloser();
  std::vector<std::string> texts;

 private:
  static void CALLBACK Check(HWND, UINT, UINT_PTR, DWORD);
  UINT_PTR timer_ = 0;
};

// Reads the pop-up menu the page opens and presses keys in it, from a timer that the menu's
// own message loop runs; a second timer closes a menu that the keys did not close.
struct MenuPick {
  std::vector<std::pair<UINT, std::string>> items;  // command and text; separators left out
  std::vector<WPARAM> keys;
  bool seen = false;

  // Sends message to the page, which opens its menu, and picks from it; the chosen command
  // arrives as a posted WM_COMMAND, handled before this returns.
  void Run(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
  // The page's list context menu, opened as a right click in the list's middle does.
  void RunContextMenu(const PageHost& host);

 private:
  static MenuPick*& Current();
  static void CALLBACK Read(HWND, UINT, UINT_PTR timer, DWORD);
  static void CALLBACK Close(HWND, UINT, UINT_PTR timer, DWORD);
};

// A Unix path of the build as Wine's Z: drive names it.
std::string WinePath(const char* unixPath);
// A fresh folder under the temp folder.
std::string PageTempFolder(const std::string& name);
// Every .jpg below folder (recursive), sorted.
std::vector<std::string> FindPictures(const std::string& folder);
// The same paths, the smallest files first.
std::vector<std::string> SmallestFirst(std::vector<std::string> paths);

}  // namespace qvtest
