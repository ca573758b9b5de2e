// Runs the main window modally on the test's thread while a driver thread plays a script
// against it. The script reaches the window's state only through OnUi, which runs a function on
// the window's own thread, so nothing is shared between the threads without a message.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "core/ListServices.h"
#include "core/PVoptionData.h"
#include "core/mainwindow/MainWindowServices.h"
#include "core/mainwindow/PivoraDlg.h"

namespace qvtest {

// What the doubles of the changers and of the main window's services saw (UI thread only).
struct Recorder {
  std::vector<std::string> wallpapers;  // paths handed to the wallpaper changer
  std::vector<std::string> ieSkins;
  std::vector<std::string> bootScreens;
  std::vector<std::string> messages;    // keys given to ShowMessage
  int reassertCalls = 0;
  bool reassertResult = false;
  int messageAnswer = IDNO;
  bool translate = false;               // lookup answers "<key>*" when set
  bool screenSaverActive = false;
  std::string qvLogoPath;  // the system files' paths; empty: none to repair
  std::string qvUiHostPath;
  std::string bootLogoPath;
  std::vector<int> timeouts;
  std::vector<std::string> helpTopics;  // "<contents>" for the contents
  int bootIniSetups = 0;
  // The update check's entries: the refresh day handed to each start, the retries, the texts.
  std::vector<int> updateStarts;
  int updateRetries = 0;
  std::vector<int> siteListRetries;
  std::vector<std::string> newVersionTexts;
  int homePages = 0;
  int endChecks = 0;
};
Recorder& Record();

class MainWindowHarness {
 public:
  MainWindowHarness();
  ~MainWindowHarness();

  qv::PVoptionData settings;
  qv::MainWindowTimings timings;
  qv::PageFactory pages = nullptr;
  std::string settingsPath;
  // The texts come from the process's language manager instead of the recorder's double.
  bool programTexts = false;

  // Runs the window until the script returns, then ends it through message 2107. Returns the
  // dialog's result.
  INT_PTR Run(bool startupRun, const std::function<void(MainWindowHarness&)>& script);

  // Runs fn on the window's thread and waits for it.
  void OnUi(const std::function<void()>& fn);
  qv::PivoraDlg& Dialog() { return *dialog_; }
  HWND Window() const { return window_; }
  // Sleeps on the driver thread.
  static void Wait(DWORD ms) { Sleep(ms); }
  // Polls cond on the UI thread until true or ms pass.
  bool WaitFor(const std::function<bool()>& cond, DWORD ms);
  bool Ended() const { return ended_; }
  // Polls for the window's end (its destruction removes the tray icon, which takes a while).
  bool WaitEnded(DWORD ms) const {
    for (DWORD start = GetTickCount(); !ended_; Sleep(25))
      if (GetTickCount() - start > ms) return false;
    return true;
  }

 private:
  qv::ListServices previous_;
  qv::PivoraDlg* dialog_ = nullptr;
  HWND helper_ = nullptr;
  HWND window_ = nullptr;
  std::atomic<bool> ended_{false};
};

// A picture file in a fresh temp folder (the lists only need names they can load).
std::string TempFolder(const std::string& name);
std::string TouchFile(const std::string& folder, const std::string& name);

}  // namespace qvtest
