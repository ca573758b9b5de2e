// One language file in memory: its descriptor and its sections of texts, built from the bytes
// of a "qv*.lng" file by the shared profile reader. Portable and free of file access, so that
// tests and the fuzzer feed it buffers directly.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <utility>

#include "i18n/ProfileReader.h"

namespace qv {

// The descriptor of a language file, as the scan lists it (values as written, not unescaped).
struct LanguageInfo {
  std::string name;            // "lang name" of section "info"
  std::string author;          // "author"
  std::string version;         // "version"
  std::string programVersion;  // "qv ver": the program version the file was prepared for
  std::string path;            // the full path of the file
};

// A loaded language. Section names and keys are stored lower-cased; each key keeps the pair
// (key as written, value as written) and values keep their escapes until looked up.
struct LanguageText {
  LanguageInfo info;
  using Section = std::map<std::string, std::pair<std::string, std::string>>;
  std::map<std::string, Section> sections;
};

// Why a parse failed, with the position of the offending byte where there is one.
struct LanguageParseError {
  std::string reason;
  std::size_t offset = 0;
  int line = 0;
};

// Reads headers up to the first section named "info" (any case) and its pairs, until the
// section or the file ends or a pair has an empty key; the reader is left after them. False
// (and *emptyKey set, if given, when an empty key ended it) when there is no "info" section.
// *endedOnEmptyKey tells whether an empty key stopped the section.
bool ReadLanguageInfo(ProfileReader* reader, LanguageInfo* info, bool* endedOnEmptyKey = nullptr,
                      ProfilePair* emptyKey = nullptr);

// The descriptor only, as the scan reads it (the path is left empty for the caller).
bool ParseLanguageInfo(const char* data, std::size_t size, LanguageInfo* info);

// The whole file: "info" first, then the sections after it. A later section of the same name
// replaces an earlier one completely; a key read again overwrites the earlier pair. An empty
// key in "info" ends that section there and the file still loads. False without an "info"
// section or when a pair of a later section has an empty key; *text is replaced only on success. The path is left empty for the caller.
bool ParseLanguage(const char* data, std::size_t size, LanguageText* text,
                   LanguageParseError* error = nullptr);

// The value with its escapes resolved ("\n", "\t", "\\", "\"" ...), on a copy.
std::string ResolveEscapes(const std::string& value);

// A message text that takes one path: the first "%s" becomes path and "%%" becomes "%". Nothing
// else is interpreted, so a translated text can never act as a printf format.
std::string FormatWithPath(const std::string& format, const std::string& path);

}  // namespace qv
