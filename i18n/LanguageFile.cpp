#include "i18n/LanguageFile.h"

#include "platform/AsciiText.h"

namespace qv {

using platform::LowerAscii;

bool ReadLanguageInfo(ProfileReader* reader, LanguageInfo* info, bool* endedOnEmptyKey,
                      ProfilePair* emptyKey) {
  if (endedOnEmptyKey) *endedOnEmptyKey = false;
  ProfileSectionHeader header;
  ProfilePair pair;
  for (;;) {
    if (!reader->NextSection(&header)) return false;
    if (LowerAscii(header.name) == "info") break;
    // Sections before "info" are passed over pair by pair, so that a "[" inside one of their
    // values is not taken for a header.
    while (reader->NextPair(&pair) == ProfileStep::Pair) {
    }
  }
  while (reader->NextPair(&pair) == ProfileStep::Pair) {
    if (pair.key.empty()) {
      if (endedOnEmptyKey) *endedOnEmptyKey = true;
      if (emptyKey) *emptyKey = pair;
      break;
    }
    std::string key = LowerAscii(pair.key);
    if (key == "lang name")
      info->name = pair.value;
    else if (key == "author")
      info->author = pair.value;
    else if (key == "version")
      info->version = pair.value;
    else if (key == "qv ver")
      info->programVersion = pair.value;
  }
  return true;
}

bool ParseLanguageInfo(const char* data, std::size_t size, LanguageInfo* info) {
  ProfileReader reader(data, size);
  LanguageInfo read;
  if (!ReadLanguageInfo(&reader, &read)) return false;
  *info = read;
  return true;
}

bool ParseLanguage(const char* data, std::size_t size, LanguageText* text,
                   LanguageParseError* error) {
  LanguageParseError unused;
  if (!error) error = &unused;
  ProfileReader reader(data, size);
  LanguageText result;
  ProfilePair pair;
  if (!ReadLanguageInfo(&reader, &result.info)) {
    error->reason = "no [info] section";
    return false;
  }
  // An empty key ends the "info" section (its descriptor is what came before it); the texts
  // start at the next section header. Only an empty key in a later section refuses the file.
  ProfileSectionHeader header;
  while (reader.NextSection(&header)) {
    LanguageText::Section& section = result.sections[LowerAscii(header.name)];
    section.clear();  // a repeated section replaces the earlier one
    ProfileStep step;
    while ((step = reader.NextPair(&pair)) == ProfileStep::Pair) {
      if (pair.key.empty()) {
        *error = LanguageParseError{"empty key", pair.offset, pair.line};
        return false;
      }
      section[LowerAscii(pair.key)] = std::make_pair(pair.key, pair.value);
    }
    if (step == ProfileStep::FileEnd) break;
  }
  *text = std::move(result);
  return true;
}

std::string ResolveEscapes(const std::string& value) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    char c = value[i];
    if (c != '\\' || i + 1 == value.size()) {
      out += c;
      continue;
    }
    char next = value[++i];
    switch (next) {
      case '"': out += '"'; break;
      case '\'': out += '\''; break;
      case '\\': out += '\\'; break;
      case 'a': out += '\a'; break;
      case 'b': out += '\b'; break;
      case 'f': out += '\f'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case 'v': out += '\v'; break;
      default:
        out += '\\';
        out += next;
    }
  }
  return out;
}

std::string FormatWithPath(const std::string& format, const std::string& path) {
  std::string out;
  bool used = false;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      if (format[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (format[i + 1] == 's' && !used) {
        out += path;
        used = true;
        ++i;
        continue;
      }
    }
    out += format[i];
  }
  return out;
}

}  // namespace qv
