#include "boot/BootINI.h"

#include <cstring>

#include "i18n/ProfileReader.h"
#include "platform/Log.h"
#include "platform/SafeFile.h"

namespace qv {
namespace {

constexpr std::size_t kSwitchLength = 19;
constexpr std::size_t kKeyLength = 8;
constexpr std::size_t kFileNameLength = 10;

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && Upper(text.substr(0, prefix.size())) == Upper(prefix);
}

// A kernel file name ends at a blank, a control character or a byte of 128 or more.
std::size_t FileNameEnd(const std::string& value, std::size_t from) {
  while (from < value.size()) {
    unsigned char c = static_cast<unsigned char>(value[from]);
    if (c <= ' ' || c == 127 || c >= 128) break;
    ++from;
  }
  return from;
}

// The backup of a marked entry: same key, display name with the label before it.
const BootIniPair* FindBackupOf(const BootIniSection& section, const BootIniPair& entry) {
  std::string wanted = std::string(BootINI::kBackupLabel) + BootINI::DisplayName(entry.value);
  for (const BootIniPair& p : section.pairs)
    if (&p != &entry && p.key == entry.key && BootINI::DisplayName(p.value) == wanted) return &p;
  return nullptr;
}

// Marking replaced the file name of an existing "/KERNEL=" switch; before that switch is cut,
// the name the backup entry still holds is put back, so the entry boots the kernel it booted.
void RestoreReplacedKernelNames(BootIniSection& section) {
  for (BootIniPair& entry : section.pairs) {
    if (!BootINI::IsWindowsEntry(entry) || BootINI::IsBackupEntry(entry)) continue;
    std::size_t at = Upper(entry.value).find(BootINI::kKernelSwitch);
    if (at == std::string::npos || at == 0) continue;
    const BootIniPair* backup = FindBackupOf(section, entry);
    if (!backup) continue;
    std::size_t h = Upper(backup->value).find(BootINI::kKernelKey);
    if (h == std::string::npos) continue;
    std::size_t end = FileNameEnd(backup->value, h + kKeyLength);
    std::string original = backup->value.substr(h + kKeyLength, end - h - kKeyLength);
    if (original.empty() || Upper(original) == BootINI::kKernelFileName) continue;
    entry.value.replace(at + 1 + kKeyLength, kFileNameLength, original);
  }
}

}  // namespace

std::string BootINI::DisplayName(const std::string& value) {
  std::size_t first = value.find('"');
  if (first == std::string::npos) return std::string();
  std::size_t second = value.find('"', first + 1);
  if (second == std::string::npos) return std::string();
  return value.substr(first + 1, second - first - 1);
}

bool BootINI::IsWindowsEntry(const BootIniPair& pair) {
  return pair.key.find("partition") != std::string::npos;
}

bool BootINI::IsMarked(const BootIniPair& pair) {
  return IsWindowsEntry(pair) && Upper(pair.value).find(kKernelSwitch) != std::string::npos;
}

bool BootINI::IsBackupEntry(const BootIniPair& pair) {
  return StartsWithNoCase(DisplayName(pair.value), kBackupLabel);
}

bool BootINI::Read(const std::string& path) {
  Clear();
  std::string bytes;
  if (!ReadFileBytes(path, &bytes)) {
    QV_LOG_MSG(path.c_str());
    return false;
  }
  return Parse(bytes.data(), bytes.size());
}

bool BootINI::Parse(const char* data, std::size_t size) {
  Clear();
  ProfileDocument document;
  ProfilePair emptyKey;
  bool ok = ReadProfile(data, size, &document, &emptyKey);
  for (const ProfileSection& s : document.sections) {
    BootIniSection section;
    section.name = s.header.name;
    for (const ProfilePair& p : s.pairs) section.pairs.push_back({p.key, p.value});
    sections_.push_back(std::move(section));
  }
  if (!ok) {
    std::string where = "empty key in line " + std::to_string(emptyKey.line);
    QV_LOG_MSG(where.c_str());
  }
  return ok;
}

std::string BootINI::Serialize() const {
  std::string text;
  for (const BootIniSection& section : sections_) {
    text += "[" + section.name + "]\n";
    for (const BootIniPair& pair : section.pairs) text += pair.key + "=" + pair.value + "\n";
  }
  // As a text-mode write does it: every line feed, also one inside a section name, gets its
  // carriage return.
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

bool BootINI::Write(const std::string& path) const {
  unsigned ignored = 0;
  if (platform::GetFileAttributeBits(path, &ignored))
    platform::SetFileAttributeBits(path, platform::kAttrNormal);
  if (!platform::ReplaceFileContent(path, Serialize(), path + kBackupSuffix)) {
    QV_LOG_MSG(path.c_str());
    return false;
  }
  platform::SetFileAttributeBits(path, platform::kAttrReadOnly | platform::kAttrHidden |
                                           platform::kAttrArchive);
  return true;
}

BootIniSection* BootINI::OperatingSystems() {
  for (BootIniSection& section : sections_)
    if (Upper(section.name) == "OPERATING SYSTEMS") return &section;
  return nullptr;
}

const BootIniSection* BootINI::OperatingSystems() const {
  return const_cast<BootINI*>(this)->OperatingSystems();
}

BootINI::MarkResult BootINI::Mark(std::size_t index, const std::string& path) {
  BootIniSection* section = OperatingSystems();
  if (!section || index >= section->pairs.size() || !IsWindowsEntry(section->pairs[index])) {
    QV_LOG();
    return MarkResult::NoEntry;
  }
  const std::string key = section->pairs[index].key;
  const std::string value = section->pairs[index].value;
  const std::string upper = Upper(value);
  if (upper.find(kKernelSwitch) != std::string::npos) return MarkResult::Unchanged;

  std::string backup = value;
  std::size_t quote = backup.find('"');
  if (quote != std::string::npos) backup.insert(quote + 1, kBackupLabel);
  bool haveBackup = false;
  for (std::size_t i = 0; i < section->pairs.size(); ++i)
    if (i != index && section->pairs[i].key == key && section->pairs[i].value == backup)
      haveBackup = true;
  if (!haveBackup) section->pairs.push_back({key, backup});

  std::string& marked = section->pairs[index].value;
  std::size_t h = upper.find(kKernelKey);
  if (h != std::string::npos) {
    std::size_t from = h + kKeyLength;
    marked.replace(from, FileNameEnd(marked, from) - from, kKernelFileName);
  } else {
    marked += kKernelSwitch;
  }
  return Write(path) ? MarkResult::Written : MarkResult::WriteFailed;
}

bool BootINI::UnmarkAll(const std::string& path) {
  if (!Read(path)) {
    QV_LOG();
    return false;
  }
  BootIniSection* section = OperatingSystems();
  if (!section) {
    QV_LOG();
    return false;
  }
  RestoreReplacedKernelNames(*section);
  const std::size_t labelLength = std::strlen(kBackupLabel);
  std::vector<BootIniPair>& pairs = section->pairs;
  // The count shrinks as backups go; a removed pair's index is visited again.
  for (std::size_t i = 0; i < pairs.size();) {
    std::string name = DisplayName(pairs[i].value);
    if (StartsWithNoCase(name, kBackupLabel)) {
      std::string unlabelled = name.substr(labelLength);
      bool counterpart = false;
      for (std::size_t j = 0; j < pairs.size() && !counterpart; ++j)
        counterpart = j != i && pairs[j].key == pairs[i].key &&
                      DisplayName(pairs[j].value) == unlabelled;
      if (counterpart) {
        pairs.erase(pairs.begin() + static_cast<std::ptrdiff_t>(i));
        continue;
      }
    } else if (IsWindowsEntry(pairs[i]) && pairs[i].value.size() > kSwitchLength) {
      std::size_t at = Upper(pairs[i].value).find(kKernelSwitch);
      if (at != std::string::npos && at > 0) pairs[i].value.erase(at, kSwitchLength);
    }
    ++i;
  }
  return Write(path);
}

}  // namespace qv
