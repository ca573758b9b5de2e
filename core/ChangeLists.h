// The five change lists, one per kind of system appearance. Each knows its defaults, its built-in
// site links, the extra fields it stores, and how its apply hands an item to the kind's changer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/BaseSetupData.h"
#include "core/ScreenSaverItemData.h"

namespace qv {

// Wallpaper position modes (the system never sees kFitToScreen or kFillScreen: the changer
// scales, crops for fill, and the system centres).
enum WallpaperPosition {
  kPositionCenter = 0,
  kPositionTile = 1,
  kPositionStretch = 2,
  kFitToScreen = 3,
  kFillScreen = 4,
};
constexpr int kPositionModeCount = 5;

constexpr int32_t kDefaultLogonColour = 0x00DC7E5A;  // red 90, green 126, blue 220
constexpr int32_t kDefaultScreenSaverMinutes = 5;

class BootScreenSetupData final : public ImageSetupData {
 public:
  BootScreenSetupData();
  void FillDefaultSiteLinks() override;
  void Reset() override;
  // Remembers the path as the current path, then the boot screen changer.
  bool ApplyItem(const std::string& path) override;
  void Assign(const BootScreenSetupData& other) { AssignImage(other); }
};

class WallpaperSetupData final : public ImageSetupData {
 public:
  WallpaperSetupData();
  void FillDefaultSiteLinks() override;
  void Reset() override;
  // A position mode this program does not know loads as fit to screen (logged).
  bool Load(ArchiveReader& archive) override;
  void Save(ArchiveWriter& archive) const override;
  // Skipped (false) while a screen saver runs on Windows 2000 and XP; else the wallpaper changer.
  bool ApplyItem(const std::string& path) override;
  void Assign(const WallpaperSetupData& other);

  int32_t positionMode = kFitToScreen;
};

class IESkinSetupData final : public ImageSetupData {
 public:
  IESkinSetupData();
  void FillDefaultSiteLinks() override;
  bool ApplyItem(const std::string& path) override;
  void Assign(const IESkinSetupData& other) { AssignImage(other); }
};

class LogonScreenSetupData final : public ImageSetupData {
 public:
  LogonScreenSetupData();
  void FillDefaultSiteLinks() override;
  void Reset() override;
  // The record, then the background colour in files of version 0x00010300 and later.
  bool Load(ArchiveReader& archive) override;
  void Save(ArchiveWriter& archive) const override;
  // The logon changer with the background colour; records whether it failed.
  bool ApplyItem(const std::string& path) override;
  // Neither the colour nor the failed flag: the main window copies those itself.
  void Assign(const LogonScreenSetupData& other) { AssignImage(other); }

  int32_t lastApplyFailed = 0;  // not stored
  int32_t backgroundColour = kDefaultLogonColour;
};

class ScreenSaverSetupData final : public BaseSetupData {
 public:
  ScreenSaverSetupData();
  void FillDefaultSiteLinks() override;
  // As for the image lists over the items; mode 0 is "not due". After a pick the item is applied
  // and the time recorded whatever the changer reported.
  bool ChangeIfDue() override;
  // Scans the Windows and then the system directory for the installed screen savers.
  void Reset() override;
  bool Load(ArchiveReader& archive) override;
  void Save(ArchiveWriter& archive) const override;
  // The screen saver changer with the timeout in seconds; always true.
  bool ApplyItem(const std::string& path) override;
  void Assign(const ScreenSaverSetupData& other);

  // The timeout handed to the system: 0 or less counts as 5 minutes.
  int32_t EffectiveTimeoutMinutes() const {
    return timeoutMinutes <= 0 ? kDefaultScreenSaverMinutes : timeoutMinutes;
  }

  int32_t timeoutMinutes = kDefaultScreenSaverMinutes;
  std::vector<ScreenSaverItemData> items;
};

// The built-in site links of one kind ("bootscreen", "wallpaper", "ieksin" or "screensaver").
std::vector<SiteLink> BuiltInSiteLinks(const char* categoryKey);

}  // namespace qv
