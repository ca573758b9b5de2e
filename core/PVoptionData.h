// The settings root: every setting of the program, and its settings file "qv.dat".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/Archive.h"
#include "core/ChangeLists.h"

namespace qv {

// One global hotkey as the system's hotkey control gives it.
class HotkeySetting {
 public:
  enum : uint16_t { kShift = 1, kControl = 2, kAlt = 4 };

  HotkeySetting() = default;
  HotkeySetting(uint16_t keyCode, uint16_t modifiers) : keyCode(keyCode), modifiers(modifiers) {}
  virtual ~HotkeySetting() = default;
  HotkeySetting(const HotkeySetting&) = default;
  HotkeySetting& operator=(const HotkeySetting&) = default;

  virtual bool Load(ArchiveReader& archive);
  virtual void Store(ArchiveWriter& archive) const;

  // The flags RegisterHotKey takes: Shift 4, Ctrl 2, Alt 1.
  unsigned RegisterModifiers() const;

  bool operator==(const HotkeySetting& other) const {
    return keyCode == other.keyCode && modifiers == other.modifiers;
  }

  uint16_t keyCode = 0;  // 0: no hotkey
  uint16_t modifiers = 0;
};

enum HotkeyIndex { kPreviousWallpaper = 0, kNextWallpaper, kPreviousIESkin, kNextIESkin, kHotkeyCount };

class PVoptionData {
 public:
  PVoptionData();
  virtual ~PVoptionData();
  PVoptionData(const PVoptionData&) = default;
  PVoptionData& operator=(const PVoptionData&) = default;

  // Back to the defaults: language, the five lists (boot screen, wallpaper, browser skin, logon,
  // screen saver), hotkeys, preferences.
  void Reset();

  // Reads the settings from an archive's bytes. False when the magic or the version word cannot be
  // read or the magic is not "QVPF"; a file that breaks off later keeps what was read and succeeds.
  bool LoadFromBytes(const void* data, std::size_t size);
  // The file in the layout of the given version (the program always writes kSettingsVersion;
  // older layouts serve tests of the reader).
  std::string SaveToBytes(uint32_t version = kSettingsVersion) const;

  // The settings file: Load is false (and logged) when it cannot be read or is not a settings file;
  // Save replaces the file as a whole, leaving the old one intact when it fails.
  bool Load(const std::string& path);
  bool Save(const std::string& path) const;

  std::string languageFile;
  uint8_t siteListRefreshDay = 0;
  BootScreenSetupData bootScreen;
  WallpaperSetupData wallpaper;
  IESkinSetupData ieSkin;
  ScreenSaverSetupData screenSaver;
  LogonScreenSetupData logonScreen;
  int32_t checkNewVersion = 0;
  int32_t agentEnabled = 1;
  HotkeySetting hotkeys[kHotkeyCount];

 private:
  void ReadFields(ArchiveReader& archive);
};

// "qveng.lng" in the folder "language" beside the program file.
std::string DefaultLanguageFile();

// Where the settings file lies: "<appData>\<instanceName>\qv.dat" when that folder exists or can
// be created, otherwise the program file's path with its last three characters replaced by "dat".
std::string SettingsFilePath(const std::string& appDataFolder, const std::string& instanceName,
                             const std::string& programFile);

}  // namespace qv
