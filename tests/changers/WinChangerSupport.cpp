#include "tests/changers/WinChangerSupport.h"

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/AsciiText.h"

namespace qvtest {

std::string RegValue::Text() const {
  if (!data.empty() && data.back() == '\0') return data.substr(0, data.size() - 1);
  return data;
}

RegValue ReadUserValue(const std::string& key, const std::string& name) {
  RegValue value;
  HKEY h = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return value;
  DWORD size = 0;
  if (RegQueryValueExA(h, name.c_str(), nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
    std::vector<char> buffer(size + 1);
    if (RegQueryValueExA(h, name.c_str(), nullptr, &value.type,
                         reinterpret_cast<BYTE*>(buffer.data()), &size) == ERROR_SUCCESS) {
      value.exists = true;
      value.data.assign(buffer.data(), size);
    }
  }
  const std::wstring wideName(name.begin(), name.end());
  RegQueryValueExW(h, wideName.c_str(), nullptr, nullptr, nullptr, &value.storedBytes);
  RegCloseKey(h);
  return value;
}

bool WriteUserText(const std::string& key, const std::string& name, const std::string& text) {
  HKEY h = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h,
                      nullptr) != ERROR_SUCCESS)
    return false;
  LONG r = RegSetValueExA(h, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1));
  RegCloseKey(h);
  return r == ERROR_SUCCESS;
}

void DeleteUserValue(const std::string& key, const std::string& name) {
  HKEY h = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_ALL_ACCESS, &h) != ERROR_SUCCESS) return;
  RegDeleteValueA(h, name.c_str());
  RegCloseKey(h);
}

void DeleteUserKey(const std::string& key) { RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str()); }

bool CreateUserKey(const std::string& key) {
  HKEY h = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h,
                      nullptr) != ERROR_SUCCESS)
    return false;
  RegCloseKey(h);
  return true;
}

std::string MachinePicture(const char* unixPath) {
  std::string path = std::string("Z:") + unixPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return FileExists(path) ? path : std::string();
}

bool BmpFileSize(const std::string& path, int* width, int* height, int* bpp) {
  // Only the headers, and shared for deletion: a watcher polling the wallpaper must neither slow
  // the program down nor make its replacing rename of the file fail.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  unsigned char bytes[54];
  DWORD got = 0;
  const BOOL read = ReadFile(file, bytes, sizeof bytes, &got, nullptr);
  CloseHandle(file);
  if (!read || got < sizeof bytes || bytes[0] != 'B' || bytes[1] != 'M') return false;
  std::int32_t w = 0, h = 0;
  std::uint16_t b = 0;
  std::memcpy(&w, &bytes[18], 4);
  std::memcpy(&h, &bytes[22], 4);
  std::memcpy(&b, &bytes[28], 2);
  *width = w;
  *height = h < 0 ? -h : h;
  *bpp = b;
  return true;
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string LowerCase(std::string text) { return platform::LowerAscii(std::move(text)); }

}  // namespace qvtest
