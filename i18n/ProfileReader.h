// The byte reader of the "[section]" / "key=value" text files: the language files and boot.ini.
// It reads the bytes as they are (no character-set conversion), hands out section headers and
// pairs in file order with their positions, and merges or lower-cases nothing: each caller
// decides what a repeated section or key means and what to do with a pair whose key is empty.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace qv {

struct ProfileSectionHeader {
  std::string name;       // trimmed of white space at both ends, case kept
  std::size_t offset = 0; // byte offset of the "["
  int line = 0;           // 1-based line of the "["
};

struct ProfilePair {
  std::string key;        // trimmed, 7-bit bytes only, case kept; may be empty
  std::string value;      // trimmed, any bytes but CR, LF and ";", escapes left as written
  std::size_t offset = 0; // byte offset of the key's first byte (of the "=" when the key is empty)
  int line = 0;           // 1-based line of that byte
};

// What NextPair found.
enum class ProfileStep {
  Pair,        // a pair was read
  SectionEnd,  // a "[" ends the section; it is left for NextSection
  FileEnd,     // end of file (a key without "=" collected so far is dropped)
};

// Pull reader over a buffer it does not own; the buffer must outlive the reader.
class ProfileReader {
 public:
  ProfileReader(const char* data, std::size_t size);
  explicit ProfileReader(const std::string& bytes) : ProfileReader(bytes.data(), bytes.size()) {}

  // Skips up to and including the next "[" and reads the name up to the next "]".
  // False at end of file, also when the file ends before the "]".
  bool NextSection(ProfileSectionHeader* header);

  // Reads the next pair of the current section.
  ProfileStep NextPair(ProfilePair* pair);

  // Byte offset of the next byte to be read.
  std::size_t offset() const { return pos_; }

 private:
  int Get();               // next byte 0..255, or -1 at end of file
  void SkipRestOfLine();   // up to and including the next line feed

  const unsigned char* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

// The whole file in file order, for readers that keep everything (boot.ini).
struct ProfileSection {
  ProfileSectionHeader header;
  std::vector<ProfilePair> pairs;
};

struct ProfileDocument {
  std::vector<ProfileSection> sections;
};

// Reads every section and pair. False when a pair has an empty key: the document then holds
// everything before that pair, and *emptyKey (if given) the pair itself, for its position.
bool ReadProfile(const char* data, std::size_t size, ProfileDocument* document,
                 ProfilePair* emptyKey = nullptr);

// Reads a whole file as untranslated bytes. False when it cannot be opened or read.
bool ReadFileBytes(const std::string& path, std::string* bytes);

// White space as the reader trims it: blank, tab, line feed, vertical tab, form feed, return.
bool IsProfileSpace(unsigned char c);
std::string TrimProfileSpace(const std::string& text);

}  // namespace qv
