#include "boot/BootIniSetup.h"

#include "core/WindowsGeneration.h"
#include "platform/AsciiText.h"
#include "platform/Log.h"
#include "platform/SafeFile.h"

namespace qv {
namespace {

// The full line of a row: a trailing kernel switch is cut for the list only.
std::string FullLine(const BootIniPair& pair) {
  const std::string kSwitch = platform::LowerAscii(BootINI::kKernelSwitch);
  std::string value = pair.value;
  if (value.size() > kSwitch.size() &&
      platform::LowerAscii(value.substr(value.size() - kSwitch.size())) == kSwitch)
    value.erase(value.size() - kSwitch.size());
  return pair.key + "=" + value;
}

bool PreselectsFor(const std::string& name, int generation) {
  if (generation == kWin2000) return name.find("2000") != std::string::npos;
  return platform::LowerAscii(name).find("xp") != std::string::npos;
}

// Splits text at CR LF, lone LF and lone CR.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.emplace_back();
    } else {
      lines.back() += c;
    }
  }
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

}  // namespace

BootEntryChoice OfferedBootEntries(const BootINI& model, int generation) {
  BootEntryChoice choice;
  const BootIniSection* section = model.OperatingSystems();
  if (!section) {
    QV_LOG_MSG("boot.ini has no operating systems section");
    return choice;
  }
  for (std::size_t i = 0; i < section->pairs.size(); ++i) {
    const BootIniPair& pair = section->pairs[i];
    if (BootINI::IsBackupEntry(pair) || !BootINI::IsWindowsEntry(pair)) continue;
    BootEntryRow row{i, BootINI::DisplayName(pair.value), FullLine(pair)};
    if (choice.preselected < 0 && PreselectsFor(row.name, generation))
      choice.preselected = static_cast<int>(choice.rows.size());
    choice.rows.push_back(std::move(row));
  }
  return choice;
}

BootEntrySave SaveBootEntry(BootINI& model, long pairIndex, const std::string& path) {
  if (pairIndex < 0) return BootEntrySave::NoSelection;
  const BootIniSection* section = model.OperatingSystems();
  if (!section || static_cast<std::size_t>(pairIndex) >= section->pairs.size()) {
    QV_LOG_MSG("boot.ini entry no longer there");
    return BootEntrySave::InvalidIndex;
  }
  switch (model.Mark(static_cast<std::size_t>(pairIndex), path)) {
    case BootINI::MarkResult::Written:
    case BootINI::MarkResult::Unchanged:
      return BootEntrySave::Saved;
    case BootINI::MarkResult::WriteFailed:
      return BootEntrySave::WriteFailed;
    case BootINI::MarkResult::NoEntry:
      break;
  }
  QV_LOG_MSG("boot.ini entry cannot be marked");
  return BootEntrySave::InvalidIndex;
}

std::string NewBootIniSystemName(int generation) {
  switch (generation) {
    case kWin95: return "Microsoft Windows 95";
    case kWin98: return "Microsoft Windows 98";
    case kWinMe: return "Microsoft Windows Me";
    case kWinNT4: return "Microsoft Windows NT4";
    case kWin2000: return "Microsoft Windows 2000";
    case kWinXP: return "Microsoft Windows XP";
  }
  return std::string();
}

std::string WindowsFolderName(const std::string& windowsDirectory) {
  std::size_t start = 0;
  for (std::size_t i = 0; i + 1 < windowsDirectory.size(); ++i) {
    char c = windowsDirectory[i];
    if ((c == '\\' || c == ':') && windowsDirectory[i + 1] != '\\') start = i + 1;
  }
  std::string name = windowsDirectory.substr(start);
  while (!name.empty() && name.back() == '\\') name.pop_back();
  return name;
}

NewBootIniTexts MakeNewBootIniTexts(const std::string& windowsDirectory, int generation) {
  NewBootIniTexts texts;
  if (windowsDirectory.empty() || (windowsDirectory[0] != 'c' && windowsDirectory[0] != 'C')) {
    QV_LOG_MSG("Windows is not on drive C");
    return texts;
  }
  const std::string arc = "multi(0)disk(0)rdisk(0)partition(1)\\" + WindowsFolderName(windowsDirectory);
  const std::string system = NewBootIniSystemName(generation);
  texts.mainText = "[boot loader]\r\ntimeout=5\r\ndefault=" + arc + "\r\n[operating systems]\r\n" +
                   arc + "=\"" + system + "\" /fastdetect";
  texts.backupLine = arc + "=\"" + BootINI::kBackupLabel + system + "\" /fastdetect";
  return texts;
}

std::string NewBootIniBytes(const std::string& mainText, const std::string& backupLine) {
  std::vector<std::string> lines = Lines(mainText);
  if (lines.empty()) return std::string();
  lines.back() += BootINI::kKernelSwitch;
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  for (const std::string& line : Lines(backupLine)) bytes += line + "\r\n";
  return bytes;
}

NewBootIniWrite WriteNewBootIni(const std::string& path, const std::string& mainText,
                                const std::string& backupLine) {
  std::string bytes = NewBootIniBytes(mainText, backupLine);
  if (bytes.empty()) return NewBootIniWrite::Empty;
  unsigned ignored = 0;
  if (platform::GetFileAttributeBits(path, &ignored))
    platform::SetFileAttributeBits(path, platform::kAttrNormal);
  if (!platform::ReplaceFileContent(path, bytes, path + BootINI::kBackupSuffix)) {
    QV_LOG_MSG(path.c_str());
    return NewBootIniWrite::Failed;
  }
  platform::SetFileAttributeBits(path, platform::kAttrReadOnly | platform::kAttrHidden |
                                           platform::kAttrSystem | platform::kAttrArchive);
  return NewBootIniWrite::Written;
}

}  // namespace qv
