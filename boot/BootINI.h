// The loader's menu file, boot.ini, as an ordered list of sections and pairs, with the marking of
// one entry for the patched kernel copy and the undoing of every marking.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace qv {

struct BootIniPair {
  std::string key;    // trimmed, case kept (an ARC path in the operating-systems section)
  std::string value;  // trimmed, case kept, nothing unquoted
};

struct BootIniSection {
  std::string name;  // trimmed, case kept
  std::vector<BootIniPair> pairs;
};

class BootINI {
 public:
  static constexpr const char* kPath = "c:\\boot.ini";
  // The previous content of every write is kept beside the file under this suffix.
  static constexpr const char* kBackupSuffix = ".qvbak";
  static constexpr const char* kKernelSwitch = " /KERNEL=QVLOGO.EXE";
  static constexpr const char* kKernelKey = "/KERNEL=";
  static constexpr const char* kKernelFileName = "QVLOGO.EXE";
  static constexpr const char* kBackupLabel = "(Backuped by Quorvex)";

  enum class MarkResult {
    Written,      // the entry is marked and the file written
    Unchanged,    // the entry was already marked; nothing written
    WriteFailed,  // marked in the model, but the file could not be written: the caller shows "0007"
    NoEntry,      // no operating-systems section, no such pair, or not a Windows entry
  };

  // Discards the content, then reads path. False when it can't be opened or a pair has an empty
  // key; what was read up to that pair stays in the model.
  bool Read(const std::string& path);
  // The same from bytes already in memory.
  bool Parse(const char* data, std::size_t size);

  // The written form: "[name]" and "key=value" lines, each ending in CR LF, nothing else.
  std::string Serialize() const;
  // Writes the whole model to path: attributes normal, the complete new file beside the old one,
  // the old content kept as path + kBackupSuffix, then read-only, hidden and archive.
  bool Write(const std::string& path) const;

  // The first section named "Operating Systems" in any case, or nullptr.
  BootIniSection* OperatingSystems();
  const BootIniSection* OperatingSystems() const;

  // Marks pair index of the operating-systems section (with a backup entry) and writes path.
  MarkResult Mark(std::size_t index, const std::string& path = kPath);
  // Reads path, takes every marking out of the operating-systems section and writes it back.
  // False when the file can't be read, has no such section, or can't be written.
  bool UnmarkAll(const std::string& path = kPath);

  void Clear() { sections_.clear(); }
  const std::vector<BootIniSection>& sections() const { return sections_; }
  std::vector<BootIniSection>& sections() { return sections_; }

  // The text between the first and the second double quote; empty with fewer than two.
  static std::string DisplayName(const std::string& value);
  // A Windows entry has "partition" (case-sensitive) in its key; only those are offered.
  static bool IsWindowsEntry(const BootIniPair& pair);
  static bool IsMarked(const BootIniPair& pair);
  static bool IsBackupEntry(const BootIniPair& pair);

 private:
  std::vector<BootIniSection> sections_;
};

}  // namespace qv
