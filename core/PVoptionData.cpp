#include "core/PVoptionData.h"

#include <cstring>

#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/SafeFile.h"

namespace qv {
namespace {

const char kMagic[4] = {'Q', 'V', 'P', 'F'};

// Ctrl+Alt with minus, equals, left bracket and right bracket.
const HotkeySetting kDefaultHotkeys[kHotkeyCount] = {
    {0xBD, HotkeySetting::kControl | HotkeySetting::kAlt},
    {0xBB, HotkeySetting::kControl | HotkeySetting::kAlt},
    {0xDB, HotkeySetting::kControl | HotkeySetting::kAlt},
    {0xDD, HotkeySetting::kControl | HotkeySetting::kAlt},
};

}  // namespace

// --- HotkeySetting -----------------------------------------------------------------------------

bool HotkeySetting::Load(ArchiveReader& ar) {
  return ar.ReadUInt16(keyCode) && ar.ReadUInt16(modifiers);
}

void HotkeySetting::Store(ArchiveWriter& ar) const {
  ar.WriteUInt16(keyCode);
  ar.WriteUInt16(modifiers);
}

unsigned HotkeySetting::RegisterModifiers() const {
  const unsigned kModAlt = 1, kModControl = 2, kModShift = 4;
  unsigned flags = 0;
  if (modifiers & kShift) flags |= kModShift;
  if (modifiers & kControl) flags |= kModControl;
  if (modifiers & kAlt) flags |= kModAlt;
  return flags;
}

// --- PVoptionData ------------------------------------------------------------------------------

std::string DefaultLanguageFile() {
  std::string program = platform::ProgramFilePath();
  std::string::size_type slash = program.find_last_of("\\/");
  std::string folder = slash == std::string::npos ? std::string() : program.substr(0, slash + 1);
  return folder + "language\\qveng.lng";
}

PVoptionData::PVoptionData() : languageFile(DefaultLanguageFile()) {
  for (int i = 0; i < kHotkeyCount; ++i) hotkeys[i] = kDefaultHotkeys[i];
}

PVoptionData::~PVoptionData() = default;

void PVoptionData::Reset() {
  languageFile = DefaultLanguageFile();
  bootScreen.Reset();
  wallpaper.Reset();
  ieSkin.Reset();
  logonScreen.Reset();
  screenSaver.Reset();
  for (int i = 0; i < kHotkeyCount; ++i) hotkeys[i] = kDefaultHotkeys[i];
  checkNewVersion = 0;
  agentEnabled = 1;
  siteListRefreshDay = 0;
}

bool PVoptionData::LoadFromBytes(const void* data, std::size_t size) {
  ArchiveReader ar(data, size);
  char magic[4];
  uint32_t version;
  if (size < sizeof magic) {
    QV_LOG();
    return false;
  }
  std::memcpy(magic, data, sizeof magic);
  ar.Skip(sizeof magic);
  if (std::memcmp(magic, kMagic, sizeof magic) != 0 || !ar.ReadUInt32(version)) {
    QV_LOG();
    return false;
  }
  if (version != kSettingsVersion) LogText("Different Version");
  ar.SetVersion(version);
  ReadFields(ar);
  return true;
}

// Each field takes its value as soon as it is read; the first failure ends the reading there.
void PVoptionData::ReadFields(ArchiveReader& ar) {
  if (!ar.ReadString(languageFile) || !bootScreen.Load(ar) || !wallpaper.Load(ar) ||
      !ieSkin.Load(ar) || !logonScreen.Load(ar) || !screenSaver.Load(ar) ||
      !ar.ReadInt32(checkNewVersion) || !ar.ReadUInt8(siteListRefreshDay))
    return;
  if (ar.Version() > kSettingsVersionWithLogonColour) {
    std::string reservedText;
    int32_t reserved, blockSize;
    if (!ar.ReadInt32(agentEnabled) || !ar.ReadString(reservedText) || !ar.ReadInt32(reserved) ||
        !ar.ReadInt32(reserved) || !ar.ReadInt32(blockSize))
      return;
    if (blockSize > 0 && !ar.Skip(static_cast<std::size_t>(blockSize))) return;
  }
  for (HotkeySetting& hotkey : hotkeys)
    if (!hotkey.Load(ar)) return;
}

std::string PVoptionData::SaveToBytes(uint32_t version) const {
  ArchiveWriter ar(version);
  ar.WriteBytes(kMagic, sizeof kMagic);
  ar.WriteUInt32(version);
  ar.WriteString(languageFile);
  bootScreen.Save(ar);
  wallpaper.Save(ar);
  ieSkin.Save(ar);
  logonScreen.Save(ar);
  screenSaver.Save(ar);
  ar.WriteInt32(checkNewVersion);
  ar.WriteUInt8(siteListRefreshDay);
  if (version > kSettingsVersionWithLogonColour) {
    ar.WriteInt32(agentEnabled);
    ar.WriteString(std::string());
    ar.WriteInt32(0);
    ar.WriteInt32(0);
    ar.WriteInt32(0);  // the reserved block: no bytes
  }
  for (const HotkeySetting& hotkey : hotkeys) hotkey.Store(ar);
  return ar.Bytes();
}

bool PVoptionData::Load(const std::string& path) {
  std::string bytes;
  if (!platform::ReadFileBytes(path, bytes)) {
    QV_LOG_MSG(path.c_str());
    return false;
  }
  return LoadFromBytes(bytes.data(), bytes.size());
}

bool PVoptionData::Save(const std::string& path) const {
  if (!platform::ReplaceFileContent(path, SaveToBytes(), std::string())) {
    QV_LOG_MSG(path.c_str());
    return false;
  }
  return true;
}

std::string SettingsFilePath(const std::string& appDataFolder, const std::string& instanceName,
                             const std::string& programFile) {
  if (!appDataFolder.empty()) {
    std::string folder = appDataFolder;
    if (folder.back() != '\\') folder += '\\';
    folder += instanceName;
    if (platform::IsFolder(folder) || platform::MakeFolder(folder)) return folder + "\\qv.dat";
  }
  std::string beside = programFile;
  if (beside.size() >= 3) beside.replace(beside.size() - 3, 3, "dat");
  return beside;
}

}  // namespace qv
