// Helpers of the Windows tests that patch system files: the fake system files of the test build
// put into the prefix's system directory (the prefix's own files kept and put back), whole-file
// reads, resources read independently of the loader, and the Winlogon value.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "changers/PEResources.h"

namespace qvtest {

using Bytes = std::vector<std::uint8_t>;

// The folder of the fake system files, as a Windows path ending in "\".
inline std::string FixtureFolder() {
  std::string folder = QV_FIXTURE_DIR;
  if (!folder.empty() && folder[0] == '/') {
    for (char& c : folder)
      if (c == '/') c = '\\';
    folder = "Z:" + folder;
  }
  return folder + "\\";
}

inline std::string SystemFolder() {
  char folder[MAX_PATH] = {};
  GetSystemDirectoryA(folder, MAX_PATH);
  return folder;
}

// Every .exe and .dll of the system folders (the 32-bit one too, on a 64-bit system): programs
// nobody here wrote, offered to the probes a user's pick reaches.
inline std::vector<std::string> SystemPrograms() {
  std::vector<std::string> folders{SystemFolder()};
  char wow[MAX_PATH] = {};
  if (GetSystemWow64DirectoryA(wow, MAX_PATH) > 0) folders.push_back(wow);
  std::vector<std::string> files;
  for (const std::string& folder : folders) {
    for (const char* pattern : {"\\*.exe", "\\*.dll"}) {
      WIN32_FIND_DATAA found{};
      HANDLE search = FindFirstFileA((folder + pattern).c_str(), &found);
      if (search == INVALID_HANDLE_VALUE) continue;
      do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(folder + "\\" + found.cFileName);
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
  }
  return files;
}

inline bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline Bytes ReadAll(const std::string& path) {
  Bytes bytes;
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return bytes;
  DWORD size = GetFileSize(f, nullptr), got = 0;
  bytes.resize(size);
  if (!ReadFile(f, bytes.data(), size, &got, nullptr)) got = 0;
  bytes.resize(got);
  CloseHandle(f);
  return bytes;
}

inline bool WriteAll(const std::string& path, const Bytes& bytes) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  CloseHandle(f);
  return ok && put == bytes.size();
}

inline void Remove(const std::string& path) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(path.c_str());
}

// Puts a fake system file in place of the prefix's own as long as the object lives.
class SystemFileSwap {
 public:
  explicit SystemFileSwap(const std::string& name)
      : path_(SystemFolder() + "\\" + name), kept_(path_ + ".prefix") {
    if (Exists(path_) && !Exists(kept_)) MoveFileA(path_.c_str(), kept_.c_str());
  }
  ~SystemFileSwap() {
    Remove(path_);
    if (Exists(kept_)) MoveFileA(kept_.c_str(), path_.c_str());
  }
  SystemFileSwap(const SystemFileSwap&) = delete;
  SystemFileSwap& operator=(const SystemFileSwap&) = delete;
  // Copies fixture file `fixture` over the system file.
  bool Install(const std::string& fixture) {
    Remove(path_);
    return CopyFileA((FixtureFolder() + fixture).c_str(), path_.c_str(), FALSE) != FALSE;
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_, kept_;
};

// The resource (type, name) of a file's bytes in its only language; empty when not exactly one.
inline Bytes ResourceOf(const Bytes& file, const qv::PEResourceId& type, const qv::PEResourceId& name,
                        std::uint16_t* language = nullptr) {
  std::vector<qv::PEResourceData> found;
  if (!qv::FindPEResource(file.data(), file.size(), type, name, &found) || found.size() != 1)
    return Bytes();
  if (language) *language = found[0].language;
  return Bytes(found[0].data, found[0].data + found[0].size);
}

inline std::uint32_t U32(const Bytes& b, std::size_t at) {
  return b.size() < at + 4 ? 0xFFFFFFFFu
                           : b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
                                 (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

inline std::uint16_t U16(const Bytes& b, std::size_t at) {
  return b.size() < at + 2 ? 0xFFFF : static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

// What MapFileAndCheckSumA of the system computes for a file.
inline bool SystemChecksums(const std::string& path, DWORD* header, DWORD* computed) {
  using Fn = DWORD(WINAPI*)(PCSTR, PDWORD, PDWORD);
  HMODULE library = LoadLibraryA("IMAGEHLP.DLL");
  Fn fn = library ? reinterpret_cast<Fn>(reinterpret_cast<void*>(
                        GetProcAddress(library, "MapFileAndCheckSumA")))
                  : nullptr;
  return fn && fn(path.c_str(), header, computed) == 0;
}

constexpr char kWinlogonKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

// "UIHost" under the local machine, or "(none)".
inline std::string LogonHostValue() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kWinlogonKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return "(no key)";
  char value[MAX_PATH * 2] = {};
  DWORD size = sizeof value - 1, type = 0;
  LONG r = RegQueryValueExA(key, "UIHost", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  return r == ERROR_SUCCESS ? std::string(value) : "(none)";
}

inline void SetLogonHostValue(const std::string& text) {
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, kWinlogonKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                  nullptr);
  RegSetValueExA(key, "UIHost", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
  RegCloseKey(key);
}

// Where the tests leave copies of what they wrote, for the independent reader that runs after.
inline std::string WrittenFolder() {
  std::string folder = QV_WRITTEN_DIR;
  for (char& c : folder)
    if (c == '/') c = '\\';
  folder = "Z:" + folder + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

}  // namespace qvtest
