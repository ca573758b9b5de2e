#include "platform/SystemFunctions.h"

#include <windows.h>

#include <string>

#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/Threads.h"

namespace platform {
namespace {

struct Entry {
  const char* library;
  const char* name;
};

// In the order of the enumeration. scripts/check-imports.py reads these rows.
constexpr Entry kTable[] = {
    {"shell32.dll", "SHGetSpecialFolderPathA"},
    {"user32.dll", "EndMenu"},
    {"imagehlp.dll", "MapFileAndCheckSumA"},
    {"hhctrl.ocx", "HtmlHelpA"},
    {"ddraw.dll", "DirectDrawCreate"},
    {"uxtheme.dll", "OpenThemeData"},
    {"uxtheme.dll", "CloseThemeData"},
    {"uxtheme.dll", "DrawThemeBackground"},
    {"uxtheme.dll", "IsAppThemed"},
    {"ws2_32.dll", "WSAStartup"},
    {"ws2_32.dll", "WSACleanup"},
    {"ws2_32.dll", "gethostbyname"},
    {"wininet.dll", "InternetOpenA"},
    {"wininet.dll", "InternetOpenUrlA"},
    {"wininet.dll", "HttpQueryInfoA"},
    {"wininet.dll", "InternetReadFile"},
    {"wininet.dll", "InternetCloseHandle"},
};
static_assert(sizeof kTable / sizeof kTable[0] == static_cast<int>(SystemFunction::kCount),
              "one row per system function");

struct Slot {
  bool looked = false;
  bool missing = false;  // for tests
  void* address = nullptr;
};

Slot& SlotOf(int index) {
  static Slot slots[static_cast<int>(SystemFunction::kCount)];
  return slots[index];
}

Lock& TableLock() {
  static Lock lock;
  return lock;
}

// From the system folder only, so that a copy planted beside the program or in the current
// folder is never taken for the system's. Already loaded libraries are found by name first.
HMODULE Library(const char* name) {
  if (HMODULE loaded = GetModuleHandleA(name)) return loaded;
  const std::string folder = SystemFolder();
  if (folder.empty()) return nullptr;
  return LoadLibraryA((folder + "\\" + name).c_str());
}

}  // namespace

void* SystemFunctionAddress(SystemFunction which) {
  const int index = static_cast<int>(which);
  if (index < 0 || index >= static_cast<int>(SystemFunction::kCount)) return nullptr;
  LockHold hold(TableLock());
  Slot& slot = SlotOf(index);
  if (slot.missing) return nullptr;
  if (!slot.looked) {
    slot.looked = true;
    const Entry& entry = kTable[index];
    HMODULE library = Library(entry.library);
    if (library)
      slot.address = reinterpret_cast<void*>(GetProcAddress(library, entry.name));
    if (!slot.address) QV_LOG_MSG(entry.name);
  }
  return slot.address;
}

void SetSystemFunctionMissing(SystemFunction which, bool missing) {
  const int index = static_cast<int>(which);
  if (index < 0 || index >= static_cast<int>(SystemFunction::kCount)) return;
  LockHold hold(TableLock());
  SlotOf(index).missing = missing;
}

const char* SystemFunctionLibrary(SystemFunction which) {
  return kTable[static_cast<int>(which)].library;
}

const char* SystemFunctionName(SystemFunction which) { return kTable[static_cast<int>(which)].name; }

}  // namespace platform
