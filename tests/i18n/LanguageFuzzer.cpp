// libFuzzer target: the language-file parser and the shared profile reader on arbitrary bytes.
// Besides crashes it stops on a broken invariant of what the reader hands out.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "i18n/LanguageFile.h"
#include "i18n/ProfileReader.h"
#include "platform/AsciiText.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckTrimmed(const std::string& text) {
  Check(text.empty() || (!qv::IsProfileSpace(static_cast<unsigned char>(text.front())) &&
                         !qv::IsProfileSpace(static_cast<unsigned char>(text.back()))));
}

void CheckPair(const qv::ProfilePair& pair, std::size_t size) {
  CheckTrimmed(pair.key);
  CheckTrimmed(pair.value);
  for (unsigned char c : pair.key) Check(c >= 32 && c < 128 && c != ';' && c != '=' && c != '[');
  for (unsigned char c : pair.value) Check(c != '\r' && c != '\n' && c != ';');
  Check(pair.offset < size);
  Check(pair.line >= 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);

  qv::ProfileDocument document;
  qv::ProfilePair emptyKey;
  bool read = qv::ReadProfile(bytes, size, &document, &emptyKey);
  if (!read) {
    Check(emptyKey.key.empty());
    Check(emptyKey.offset < size && bytes[emptyKey.offset] == '=');
  }
  std::size_t previous = 0;
  for (const auto& section : document.sections) {
    CheckTrimmed(section.header.name);
    Check(section.header.offset < size && bytes[section.header.offset] == '[');
    Check(section.header.offset >= previous);
    previous = section.header.offset;
    for (const auto& pair : section.pairs) {
      CheckPair(pair, size);
      Check(!pair.key.empty());
    }
  }

  qv::LanguageInfo info;
  bool hasInfo = qv::ParseLanguageInfo(bytes, size, &info);

  qv::LanguageText text;
  qv::LanguageParseError error;
  if (qv::ParseLanguage(bytes, size, &text, &error)) {
    Check(hasInfo);
    Check(text.info.name == info.name);
    for (const auto& section : text.sections) {
      Check(platform::LowerAscii(section.first) == section.first);
      for (const auto& key : section.second) {
        Check(platform::LowerAscii(key.second.first) == key.first);
        std::string resolved = qv::ResolveEscapes(key.second.second);
        Check(resolved.size() <= key.second.second.size());
        std::string formatted = qv::FormatWithPath(resolved, "C:\\x.bmp");
        Check(formatted.size() <= resolved.size() + 8);
      }
    }
  } else if (error.line > 0) {
    Check(error.offset < size && bytes[error.offset] == '=');
  }
  return 0;
}
