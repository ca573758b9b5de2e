#include "core/BaseSetupData.h"

#include <cstring>
#include <string_view>

#include "core/Archive.h"
#include "core/Clock.h"
#include "core/ListServices.h"
#include "platform/AsciiText.h"
#include "platform/Log.h"
#include "platform/Log.h"
#include "platform/Platform.h"

namespace qv {
namespace {

// The reader's bounds for the counts of a list record; anything outside ends the read.
constexpr int32_t kMaxSiteLinks = 10000;
constexpr int32_t kMaxItems = 1000000;

// The default last change time, 1990-01-01 01:01:01 local.
int32_t DefaultLastChangeTime() {
  platform::LocalTime t{1990, 1, 1, 1, 1, 1, 0};
  return static_cast<int32_t>(Services().clock->FromLocal(t));
}

// True when the text ends in one of the program's picture extensions (after the last ".").
// ".jpeg", ".tif" and ".wbmp" are kinds the image object reads as well.
bool HasPictureExtension(const char* text, std::size_t length) {
  static const char* const kExtensions[] = {"bmp", "jpg",  "gif", "emf", "wmf",  "tga",  "png", "dib", "rle",
                                            "tiff", "pic", "pcx", "pct", "pict", "jpeg", "tif", "wbmp"};
  const std::string_view extension = platform::ExtensionAfterLastDot(std::string_view(text, length));
  for (const char* known : kExtensions)
    if (platform::EqualsIgnoringAsciiCase(extension, known)) return true;
  return false;
}

// Scans one folder into the flat list: pictures in listing order, sub folders where they come.
class FolderScan final : public platform::FolderVisitor {
 public:
  FolderScan(std::vector<std::string>& flat, const std::string& folder, bool subFolders, bool& full,
             std::size_t cap = kFlatListCap)
      : flat_(flat), folder_(folder), prefix_(folder), subFolders_(subFolders), full_(full), cap_(cap) {
    if (prefix_.empty() || prefix_.back() != '\\') prefix_ += '\\';
  }

  // False when the folder could not be listed.
  bool Run() { return platform::ListFolder(prefix_ + "*.*", *this); }

  bool Visit(const char* name, bool isFolder) override {
    if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) return true;
    const std::size_t nameLength = std::strlen(name);
    if (!isFolder) {
      if (prefix_.size() + nameLength <= 5 || !HasPictureExtension(name, nameLength)) return true;
      if (flat_.size() >= cap_) {
        full_ = true;
        return false;
      }
      flat_.push_back(prefix_);
      flat_.back().append(name, nameLength);
      return true;
    }
    if (!subFolders_) return true;
    std::string sub = prefix_ + name;
    if (sub.size() + 4 >= kSearchPatternLimit) return true;  // sub + "\*.*" too long
    if (sub == folder_) {
      QV_LOG();
      return true;
    }
    FolderScan inner(flat_, sub, true, full_, cap_);
    if (!inner.Run()) QV_LOG();
    return !full_;
  }

 private:
  std::vector<std::string>& flat_;
  const std::string& folder_;
  std::string prefix_;  // the folder with its "\"
  bool subFolders_;
  bool& full_;
  std::size_t cap_;
};

}  // namespace

std::string FirstFolderPicture(const std::string& folder, bool subFolders) {
  if (folder.empty()) return std::string();
  std::vector<std::string> first;
  bool full = false;
  FolderScan scan(first, folder, subFolders, full, 1);
  scan.Run();
  return first.empty() ? std::string() : first.front();
}

// --- BaseSetupData -----------------------------------------------------------------------------

BaseSetupData::BaseSetupData() : lastChangeTime(DefaultLastChangeTime()) {}

BaseSetupData::~BaseSetupData() = default;

void BaseSetupData::Reset() {
  enabled = 1;
  currentIndex = -1;
  changeMode = kModeEachStartup;
  order = kOrderNormalize;
  viewMode = 1;
  lastChangeTime = DefaultLastChangeTime();
  FillDefaultSiteLinks();
  interval = 1;
  timerUnit = kUnitDays;
}

bool BaseSetupData::Load(ArchiveReader& ar) {
  int32_t* const fields[] = {&enabled, &currentIndex, &changeMode, &interval, &timerUnit, &order};
  for (int32_t* field : fields)
    if (!ar.ReadInt32(*field)) return false;
  if (!ar.ReadInt32(lastChangeTime) || !ar.ReadInt32(viewMode)) return false;

  int32_t count;
  if (!ar.ReadInt32(count)) return false;
  if (count < 0 || count > kMaxSiteLinks) {
    QV_LOG();
    ar.Fail();
    return false;
  }
  siteLinks.clear();
  for (int32_t i = 0; i < count; ++i) {
    SiteLink link;
    if (!ar.ReadString(link.name) || !ar.ReadString(link.address) || !ar.ReadString(link.note))
      return false;
    siteLinks.push_back(std::move(link));
  }
  return true;
}

void BaseSetupData::Save(ArchiveWriter& ar) const {
  ar.WriteInt32(enabled);
  ar.WriteInt32(currentIndex);
  ar.WriteInt32(changeMode);
  ar.WriteInt32(interval);
  ar.WriteInt32(timerUnit);
  ar.WriteInt32(order);
  ar.WriteInt32(lastChangeTime);
  ar.WriteInt32(viewMode);
  ar.WriteInt32(static_cast<int32_t>(siteLinks.size()));
  for (const SiteLink& link : siteLinks) {
    ar.WriteString(link.name);
    ar.WriteString(link.address);
    ar.WriteString(link.note);
  }
}

void BaseSetupData::CopyRunState(const BaseSetupData& other) {
  lastChangeTime = other.lastChangeTime;
  currentIndex = other.currentIndex;
  siteLinks = other.siteLinks;
}

void BaseSetupData::AssignBase(const BaseSetupData& other) {
  enabled = other.enabled;
  currentIndex = other.currentIndex;
  changeMode = other.changeMode;
  interval = other.interval;
  timerUnit = other.timerUnit;
  order = other.order;
  viewMode = other.viewMode;
  lastChangeTime = other.lastChangeTime;
  siteLinks.clear();
  for (const SiteLink& link : other.siteLinks)
    siteLinks.push_back(SiteLink{link.name, link.address, link.note, std::string()});
}

bool BaseSetupData::IsDue() const {
  const Clock& clock = *Services().clock;
  const int64_t now = clock.Now();
  switch (changeMode) {
    case kModeDisable:
      return false;
    case kModeEachStartup:
      return true;
    case kModeEachDay:
      return clock.ToLocal(now).day != clock.ToLocal(lastChangeTime).day;
    case kModeEachWeek: {
      platform::LocalTime today = clock.ToLocal(now);
      return today.day != clock.ToLocal(lastChangeTime).day && today.dayOfWeek == 1;
    }
    case kModeEachMonth:
      return clock.ToLocal(now).month != clock.ToLocal(lastChangeTime).month;
    case kModeUseTimer:
      break;
    default:
      return changeMode > kModeUseTimer;
  }
  const int64_t elapsed = now - lastChangeTime;
  switch (timerUnit) {
    case kUnitSeconds:
      return elapsed >= interval;
    case kUnitMinutes:
      return elapsed / 60 >= interval;
    case kUnitHours:
      return elapsed / 3600 >= interval;
    default: {
      // Days count up to the end of today, so that a change yesterday is one day old all today.
      platform::LocalTime endOfToday = clock.ToLocal(now);
      endOfToday.hour = 23;
      endOfToday.minute = 59;
      endOfToday.second = 59;
      return (clock.FromLocal(endOfToday) - lastChangeTime) / 86400 >= interval;
    }
  }
}

uint32_t BaseSetupData::TimerPeriod() const {
  int64_t period;
  switch (timerUnit) {
    case kUnitSeconds:
      period = int64_t{interval <= 0 ? 30 : interval} * 1000;
      break;
    case kUnitMinutes:
      period = int64_t{interval <= 0 ? 5 : interval} * 60000;
      break;
    case kUnitHours:
      period = int64_t{interval > 100 ? 100 : (interval <= 0 ? 1 : interval)} * 3600000;
      break;
    default:
      period = 300000;
      break;
  }
  // A long interval is clamped to the longest period a timer takes instead of wrapping.
  return period > 0x7FFFFFFF ? 0x7FFFFFFFu : static_cast<uint32_t>(period);
}

bool BaseSetupData::IsSupportedPictureName(const std::string& path) {
  return path.size() > 5 && HasPictureExtension(path.c_str(), path.size());
}

int BaseSetupData::RandomIndex(int n) { return n <= 0 ? 0 : Services().randomIndex(n); }

int BaseSetupData::PickNext(int old, int n, bool avoidRepeat) const {
  if (order == kOrderRandomize) {
    int next = RandomIndex(n);
    if (avoidRepeat && next == old) {
      ++next;
      if (next >= n) next = 0;
    }
    return next;
  }
  int next = old + 1;
  return (next < 0 || next >= n) ? 0 : next;
}

int32_t BaseSetupData::NowAsTimeValue() { return static_cast<int32_t>(Services().clock->Now()); }

// --- ImageSetupData ----------------------------------------------------------------------------

bool ImageSetupData::ChangeIfDue() {
  if (items.empty() || !enabled || changeMode == kModeDisable) return false;
  if (!IsDue()) return true;
  if (flatList.empty()) RebuildFlatList();
  return Rotate(true);
}

void ImageSetupData::ChangeOnTimer() {
  if (items.empty() || !enabled || changeMode == kModeDisable) return;
  if (flatList.empty()) RebuildFlatList();
  Rotate(false);
}

bool ImageSetupData::Rotate(bool avoidRepeat) {
  const int n = static_cast<int>(flatList.size());
  const int old = currentIndex;
  const int next = PickNext(old, n, avoidRepeat);
  if (next < 0 || next >= n) return false;
  currentIndex = next;
  if (!ApplyItem(flatList[static_cast<std::size_t>(next)])) {
    currentIndex = old;
    return false;
  }
  lastChangeTime = NowAsTimeValue();
  return true;
}

bool ImageSetupData::NextItem() { return Step(1); }
bool ImageSetupData::PreviousItem() { return Step(-1); }

bool ImageSetupData::Step(int delta) {
  const int n = static_cast<int>(flatList.size());
  if (n == 0) {
    QV_LOG();
    return false;
  }
  int next = currentIndex + delta;
  if (next < 0 || next >= n) next = delta > 0 ? 0 : n - 1;
  currentIndex = next;
  return ApplyItem(flatList[static_cast<std::size_t>(next)]);
}

void ImageSetupData::RebuildFlatList() {
  flatList.clear();
  bool full = false;
  for (const SetupItem& item : items) {
    if (!item.isFolder) {
      flatList.push_back(item.path);
      continue;
    }
    if (item.path.empty()) {
      QV_LOG();
      continue;
    }
    if (full) continue;  // nothing more can come from folders
    FolderScan scan(flatList, item.path, item.includeSubFolders != 0, full);
    if (!scan.Run()) QV_LOG_MSG(item.path.c_str());
  }
}

void ImageSetupData::Reset() {
  BaseSetupData::Reset();
  items.clear();
  currentPath.clear();
  flatList.clear();
}

bool ImageSetupData::Load(ArchiveReader& ar) {
  if (!BaseSetupData::Load(ar)) return false;
  int32_t count;
  if (!ar.ReadInt32(count)) return false;
  if (count < 0 || count > kMaxItems) {
    QV_LOG();
    ar.Fail();
    return false;
  }
  items.clear();
  flatList.clear();
  // Grown as items are read: a count the file cannot back never allocates.
  for (int32_t i = 0; i < count; ++i) {
    SetupItem item;
    if (!ar.ReadString(item.path) || !ar.ReadInt32(item.width) || !ar.ReadInt32(item.height) ||
        !ar.ReadInt32(item.depth) || !ar.ReadInt32(item.isFolder) ||
        !ar.ReadInt32(item.includeSubFolders))
      return false;
    items.push_back(std::move(item));
  }
  return true;
}

void ImageSetupData::Save(ArchiveWriter& ar) const {
  BaseSetupData::Save(ar);
  ar.WriteInt32(static_cast<int32_t>(items.size()));
  for (const SetupItem& item : items) {
    ar.WriteString(item.path);
    ar.WriteInt32(item.width);
    ar.WriteInt32(item.height);
    ar.WriteInt32(item.depth);
    ar.WriteInt32(item.isFolder);
    ar.WriteInt32(item.includeSubFolders);
  }
}

void ImageSetupData::AssignImage(const ImageSetupData& other) {
  AssignBase(other);
  items = other.items;
}

void ImageSetupData::AddWindowsWallpaperFolder() {
  std::string windows = Services().windowsFolder();
  if (windows.empty()) {
    QV_LOG();
    return;
  }
  if (windows.back() != '\\') windows += '\\';
  SetupItem item;
  item.path = windows + "web\\wallpaper";
  item.isFolder = 1;
  item.includeSubFolders = 1;
  items.push_back(item);
}

}  // namespace qv
