// The change lists: what the user wants to rotate through for one kind of system appearance,
// with the schedule that says when the next item is put into effect. BaseSetupData holds the
// schedule, the rotation state and the site links; ImageSetupData adds picture items and the flat
// list of files that folder items expand to. The per-kind lists are in ChangeLists.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

class ArchiveReader;
class ArchiveWriter;

enum ChangeMode {
  kModeDisable = 0,
  kModeEachStartup = 1,
  kModeEachDay = 2,
  kModeEachWeek = 3,
  kModeEachMonth = 4,
  kModeUseTimer = 5,
  kModeEachRun = 6,  // screen saver only: another one after each run
};

enum TimerUnit { kUnitSeconds = 0, kUnitMinutes = 1, kUnitHours = 2, kUnitDays = 3 };

enum ChangeOrder { kOrderNormalize = 0, kOrderRandomize = 1 };

// A web site that offers pictures of a kind.
struct SiteLink {
  std::string name;
  std::string address;
  std::string note;
  std::string categoryKey;  // not stored in the settings file, not copied
};

// One entry of an image list: a picture file or a folder of pictures.
struct SetupItem {
  std::string path;
  int32_t width = 0;   // pixels, from the picture header; 0 for folders and unexamined files
  int32_t height = 0;
  int32_t depth = 0;   // bits per pixel
  int32_t isFolder = 0;
  int32_t includeSubFolders = 1;
};

// The most paths that folder items add to a flat list.
constexpr std::size_t kFlatListCap = 51840;

// The picture a folder item puts first into the flat list (its listing order, sub-folders
// entered where they are listed when subFolders); "" when it holds none or cannot be listed.
std::string FirstFolderPicture(const std::string& folder, bool subFolders);
// A sub folder is scanned only while its search pattern stays below this length.
constexpr std::size_t kSearchPatternLimit = 260;

class BaseSetupData {
 public:
  BaseSetupData();
  virtual ~BaseSetupData();

  // Replaces the site links with the kind's built-in entries.
  virtual void FillDefaultSiteLinks() = 0;
  // One scheduled change if the schedule says so: true when there was nothing to do or the change
  // succeeded; false when the list is empty, switched off, in mode 0, or the apply failed.
  virtual bool ChangeIfDue() = 0;
  // Back to the defaults of the kind.
  virtual void Reset();
  // Reads the list's record; false when the archive ended or held a value out of range, in which
  // case the fields read so far keep their new values and the rest keep their old ones.
  virtual bool Load(ArchiveReader& archive);
  virtual void Save(ArchiveWriter& archive) const;
  // Takes over last change time, current index and site links, and nothing else.
  virtual void CopyRunState(const BaseSetupData& other);
  // Puts one item into effect through the kind's changer; true on success.
  virtual bool ApplyItem(const std::string& path) = 0;

  // The due test for the change mode at the clock's current time.
  bool IsDue() const;
  // Milliseconds between the timed changes of a list in mode 5 (between 1 and 0x7FFFFFFF).
  uint32_t TimerPeriod() const;
  // True when the path ends in one of the picture extensions the program can load.
  static bool IsSupportedPictureName(const std::string& path);
  // A random number in 0..n-1 (0 for n <= 0).
  static int RandomIndex(int n);

  int32_t enabled = 1;
  int32_t currentIndex = -1;
  int32_t changeMode = kModeEachStartup;
  int32_t interval = 1;
  int32_t timerUnit = kUnitDays;
  int32_t order = kOrderNormalize;
  int32_t viewMode = 1;
  int32_t lastChangeTime;  // seconds since 1970 UTC; the default is 1990-01-01 01:01:01 local
  std::vector<SiteLink> siteLinks;

 protected:
  BaseSetupData(const BaseSetupData&) = default;
  BaseSetupData& operator=(const BaseSetupData&) = default;

  // The assign of every kind: the base fields and site links.
  void AssignBase(const BaseSetupData& other);
  // The next position of a rotation over n entries from old; avoidRepeat moves a random pick that
  // equals old one place on. May be outside 0..n-1 when n is 0.
  int PickNext(int old, int n, bool avoidRepeat) const;
  // The current time as a time value of the settings file.
  static int32_t NowAsTimeValue();
};

class ImageSetupData : public BaseSetupData {
 public:
  bool ChangeIfDue() override;
  void Reset() override;
  bool Load(ArchiveReader& archive) override;
  void Save(ArchiveWriter& archive) const override;

  // The change of the repeating timer: as ChangeIfDue without the schedule test, and a random
  // pick may repeat the item in effect.
  void ChangeOnTimer();
  // One place forward or back and apply, whatever the schedule and the enabled flag say; the new
  // index stays even when the apply fails, the last change time never moves. False when the flat
  // list is empty (logged) or the apply failed.
  bool NextItem();
  bool PreviousItem();
  // Expands the items into the flat list: file items as they are, folder items to their pictures
  // in listing order, at most kFlatListCap paths from folders.
  void RebuildFlatList();

  std::vector<SetupItem> items;
  std::string currentPath;  // last path handed to the boot screen changer; not stored
  std::vector<std::string> flatList;  // never stored

 protected:
  ImageSetupData() = default;
  ImageSetupData(const ImageSetupData&) = default;
  ImageSetupData& operator=(const ImageSetupData&) = default;

  void AssignImage(const ImageSetupData& other);
  // Adds the folder "web\wallpaper" of the Windows directory, with sub folders.
  void AddWindowsWallpaperFolder();

 private:
  bool Rotate(bool avoidRepeat);
  bool Step(int delta);
};

}  // namespace qv
