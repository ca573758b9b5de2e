#include "net/UpdateRules.h"

namespace qv {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool ParseVersionText(const std::string& text, uint32_t* version) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  // "0x" counts as a prefix only when a digit follows it; "0" alone is the number 0.
  if (i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
      HexDigit(text[i + 2]) >= 0)
    i += 2;
  uint64_t value = 0;
  std::size_t digits = 0;
  for (; i < text.size() && HexDigit(text[i]) >= 0; ++i, ++digits) {
    value = value * 16 + static_cast<uint64_t>(HexDigit(text[i]));
    if (value > 0xFFFFFFFFull) return false;
  }
  if (digits == 0) return false;
  *version = static_cast<uint32_t>(value);
  return true;
}

bool IsNewerVersion(const std::string& text, uint32_t own) {
  uint32_t version = 0;
  return ParseVersionText(text, &version) && version > own;
}

bool SiteListDue(int today, int refreshDay) {
  if (refreshDay == 0 || refreshDay > 30) return true;
  int day = today < refreshDay ? today + 30 : today;
  return day - refreshDay > 4;
}

bool ParseContentLength(const char* text, std::size_t cap, std::size_t* length) {
  if (!text) return false;
  const char* p = text;
  while (IsBlank(*p)) ++p;
  std::size_t value = 0;
  std::size_t digits = 0;
  for (; *p >= '0' && *p <= '9'; ++p, ++digits) {
    value = value * 10 + static_cast<std::size_t>(*p - '0');
    if (value > cap) return false;
  }
  while (IsBlank(*p)) ++p;
  if (digits == 0 || *p != '\0') return false;
  *length = value;
  return true;
}

}  // namespace qv
