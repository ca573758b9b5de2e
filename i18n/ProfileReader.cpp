#include "i18n/ProfileReader.h"

#include "platform/Platform.h"

namespace qv {

bool IsProfileSpace(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string TrimProfileSpace(const std::string& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && IsProfileSpace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && IsProfileSpace(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(begin, end - begin);
}

ProfileReader::ProfileReader(const char* data, std::size_t size)
    : data_(reinterpret_cast<const unsigned char*>(data)), size_(data ? size : 0) {}

int ProfileReader::Get() {
  if (pos_ >= size_) return -1;
  unsigned char c = data_[pos_++];
  if (c == '\n') ++line_;
  return c;
}

void ProfileReader::SkipRestOfLine() {
  int c;
  do {
    c = Get();
  } while (c != -1 && c != '\n');
}

bool ProfileReader::NextSection(ProfileSectionHeader* header) {
  int c;
  do {
    c = Get();
  } while (c != -1 && c != '[');
  if (c == -1) return false;
  header->offset = pos_ - 1;
  header->line = line_;
  std::string name;
  while ((c = Get()) != ']') {
    if (c == -1) return false;
    name += static_cast<char>(c);
  }
  header->name = TrimProfileSpace(name);
  return true;
}

ProfileStep ProfileReader::NextPair(ProfilePair* pair) {
  std::string key;
  bool keyStarted = false;  // a byte other than a blank has been collected
  std::size_t keyOffset = 0;
  int keyLine = 0;
  for (;;) {  // key position
    int c = Get();
    if (c == -1) return ProfileStep::FileEnd;
    if (c < 32 || c >= 128) continue;  // line ends and 8-bit bytes never enter a key
    if (c == ';') {
      SkipRestOfLine();
      key.clear();
      keyStarted = false;
      continue;
    }
    if (c == '[') {
      --pos_;  // the header belongs to NextSection
      return ProfileStep::SectionEnd;
    }
    if (c == '=') {
      if (!keyStarted) {
        keyOffset = pos_ - 1;
        keyLine = line_;
      }
      break;
    }
    if (!keyStarted && c != ' ') {
      keyStarted = true;
      keyOffset = pos_ - 1;
      keyLine = line_;
    }
    key += static_cast<char>(c);
  }
  std::string value;
  for (;;) {  // value position
    int c = Get();
    if (c == -1 || c == '\r' || c == '\n') break;
    if (c == ';') {
      SkipRestOfLine();
      break;
    }
    value += static_cast<char>(c);
  }
  pair->key = TrimProfileSpace(key);
  pair->value = TrimProfileSpace(value);
  pair->offset = keyOffset;
  pair->line = keyLine;
  return ProfileStep::Pair;
}

bool ReadProfile(const char* data, std::size_t size, ProfileDocument* document,
                 ProfilePair* emptyKey) {
  document->sections.clear();
  ProfileReader reader(data, size);
  ProfileSection section;
  while (reader.NextSection(&section.header)) {
    section.pairs.clear();
    ProfilePair pair;
    ProfileStep step;
    while ((step = reader.NextPair(&pair)) == ProfileStep::Pair) {
      if (pair.key.empty()) {
        document->sections.push_back(section);
        if (emptyKey) *emptyKey = pair;
        return false;
      }
      section.pairs.push_back(pair);
    }
    document->sections.push_back(section);
    if (step == ProfileStep::FileEnd) break;
  }
  return true;
}

bool ReadFileBytes(const std::string& path, std::string* bytes) {
  return platform::ReadFileBytes(path, *bytes);
}

}  // namespace qv
