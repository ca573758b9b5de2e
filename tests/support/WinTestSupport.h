// Helpers for the Windows tests that run under Wine: the program folder, child processes,
// waiting for windows, and the Wine per-program Windows version.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace qvtest {

// The runnable program folder of this build, as a Windows path ending in "\".
std::string DistFolder();
// The folder of the running test program, ending in "\".
std::string TestFolder();

// A started child process; terminated on destruction if it still runs.
class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts "program" with the given arguments (the program path is quoted); with `suspended`
  // its first thread waits for Resume.
  bool Start(const std::string& program, const std::string& arguments = "", bool suspended = false);
  void Resume() { ResumeThread(info_.hThread); }
  // Waits up to timeoutMs for the process to end; true when it ended.
  bool WaitForExit(DWORD timeoutMs);
  bool IsRunning() const;
  DWORD ExitCode() const;
  DWORD Id() const { return info_.dwProcessId; }
  HANDLE Handle() const { return info_.hProcess; }

 private:
  PROCESS_INFORMATION info_{};
};

// Polls for a top-level window with this caption, owned by process pid (0: any process).
HWND WaitForWindow(const char* caption, DWORD pid, DWORD timeoutMs);

// The top-level windows of class className, of process pid (0: of every process).
std::vector<HWND> TopLevelsOfClass(const char* className, DWORD pid = 0);
// The first of them, or nullptr.
HWND TopLevelOfClass(const char* className, DWORD pid);
// Polls until the window's visibility is `visible`; false when it is not within ms.
bool WaitVisible(HWND window, bool visible, DWORD ms);

// Makes Wine report the given Windows version ("winxp", "win2k", "nt40", "win98", "winme", "win95")
// to programs named exeName; an empty version removes the setting.
bool SetWineVersionFor(const std::string& exeName, const std::string& version);

}  // namespace qvtest
