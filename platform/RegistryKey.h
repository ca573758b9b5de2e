// An open registry key, closed with the object, and the value writes the changers need.
#pragma once

#include <windows.h>

#include <string>

namespace qv {

class RegistryKey {
 public:
  RegistryKey(HKEY root, const char* subKey, REGSAM access) {
    if (RegOpenKeyExA(root, subKey, 0, access, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  ~RegistryKey() {
    if (key_) RegCloseKey(key_);
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  bool IsOpen() const { return key_ != nullptr; }

  // A text value with its terminating zero counted, so readers never see an open-ended string.
  bool WriteText(const char* name, const std::string& text, DWORD type = REG_SZ) {
    return RegSetValueExA(key_, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
  }
  bool WriteNumber(const char* name, DWORD number) {
    return RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                          sizeof number) == ERROR_SUCCESS;
  }
  // At most MAX_PATH bytes of the value.
  bool ReadText(const char* name, std::string* text) {
    char buffer[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    DWORD type = 0;
    if (RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
        ERROR_SUCCESS)
      return false;
    buffer[size < MAX_PATH ? size : MAX_PATH] = '\0';
    *text = buffer;
    return true;
  }
  bool DeleteValue(const char* name) { return RegDeleteValueA(key_, name) == ERROR_SUCCESS; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace qv
