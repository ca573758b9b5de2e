// Case and extensions of 8-bit text as the program compares it: only the ASCII letters fold, so
// that the result never depends on the locale or the code page.
#pragma once

#include <string>
#include <string_view>

namespace platform {

inline char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string LowerAscii(std::string text) {
  for (char& c : text) c = LowerAscii(c);
  return text;
}

inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

// The text after the last "." anywhere in path, as it stands; empty without a ".". A "." in a
// folder name counts too: callers match the result against extensions, which hold no separator.
inline std::string_view ExtensionAfterLastDot(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : path.substr(dot + 1);
}

// The extension of the file name alone: empty when there is no "." or when a folder separator
// ("\" or "/") follows the last one.
inline std::string_view FileNameExtension(std::string_view path) {
  const std::size_t end = path.find_last_of(".\\/");
  return end == std::string_view::npos || path[end] != '.' ? std::string_view() : path.substr(end + 1);
}

// ExtensionAfterLastDot, lower-cased.
inline std::string LowerExtension(std::string_view path) {
  return LowerAscii(std::string(ExtensionAfterLastDot(path)));
}

}  // namespace platform
