// The message hook library "pv.dll": loaded from the program's own folder by full path (a library
// of that name in the current folder or on the search path is never used), installed as a
// system-wide WH_GETMESSAGE hook, removed and freed on destruction. A missing library or entry
// point installs nothing and changes nothing else.
#pragma once

#include <windows.h>

#include <string>

#include "platform/Handles.h"

namespace qv {

class HookLibrary {
 public:
  HookLibrary() = default;
  ~HookLibrary() { Remove(); }
  HookLibrary(const HookLibrary&) = delete;
  HookLibrary& operator=(const HookLibrary&) = delete;

  // Loads fullPath, looks up "HookGetMsgProc" and "SetHookHandle", installs the hook and hands
  // its handle to the library. False when any step fails (the library is then freed).
  bool Install(const std::string& fullPath);
  // Unhooks and frees the library; nothing when not installed.
  void Remove();
  bool IsInstalled() const { return hook_ != nullptr; }

 private:
  ScopedLibrary library_;
  HHOOK hook_ = nullptr;
};

// Loads a library that lies beside the program, by its full path only.
HMODULE LoadProgramLibrary(const char* name);

}  // namespace qv
