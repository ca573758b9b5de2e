#include "tests/core/ListTestSupport.h"

#include <cassert>

namespace qvtest {
namespace {

FakeServices* g_current = nullptr;

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

bool Record(const char* changer, const std::string& path, int64_t argument) {
  FakeServices& s = FakeServices::Current();
  s.calls.push_back(ChangerCall{changer, path, argument});
  return s.changerResult;
}

}  // namespace

platform::LocalTime FakeClock::ToLocal(int64_t t) const {
  int64_t days = t >= 0 ? t / 86400 : (t - 86399) / 86400;
  int64_t secs = t - days * 86400;
  const int64_t z = days + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int year = static_cast<int>(yoe + era * 400 + (month <= 2));
  const int dayOfWeek = static_cast<int>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
  return platform::LocalTime{year,
                             month,
                             day,
                             static_cast<int>(secs / 3600),
                             static_cast<int>(secs / 60 % 60),
                             static_cast<int>(secs % 60),
                             dayOfWeek};
}

int64_t FakeClock::FromLocal(const platform::LocalTime& l) const {
  return DaysFromCivil(l.year, l.month, l.day) * 86400 + l.hour * 3600 + l.minute * 60 + l.second;
}

FakeServices::FakeServices() : previousGeneration_(qv::WindowsGeneration) {
  assert(!g_current);
  g_current = this;
  clock.Set(2004, 6, 15);
  qv::ListServices s;
  s.clock = &clock;
  s.randomIndex = [](int n) {
    FakeServices& f = Current();
    f.randomRanges.push_back(n);
    if (f.randomPicks.empty()) return 0;
    int pick = f.randomPicks.front();
    f.randomPicks.pop_front();
    return pick;
  };
  s.changeBootScreen = [](const std::string& p) { return Record("boot", p, 0); };
  s.modifyWallpaper = [](const std::string& p, int mode) { return Record("wallpaper", p, mode); };
  s.modifyIESkin = [](const std::string& p) { return Record("ieskin", p, 0); };
  s.modifyLogonScreen = [](const std::string& p, int32_t c) { return Record("logon", p, c); };
  s.setScreenSaver = [](const std::string& p, int seconds) { return Record("screensaver", p, seconds); };
  s.screenSaverRunning = [] { return Current().screenSaverRunning; };
  s.windowsFolder = [] { return Current().windowsFolder; };
  s.systemFolder = [] { return Current().systemFolder; };
  s.scanScreenSavers = [](const std::string& folder, std::vector<qv::ScreenSaverItemData>& list) {
    Current().scannedFolders.push_back(folder);
    if (!folder.empty()) list.push_back(qv::ScreenSaverItemData{"in " + folder, folder + "\\a.scr"});
  };
  previous_ = qv::SetServices(s);
  qv::WindowsGeneration = qv::kWinXP;
}

FakeServices::~FakeServices() {
  qv::SetServices(previous_);
  qv::WindowsGeneration = previousGeneration_;
  g_current = nullptr;
}

FakeServices& FakeServices::Current() {
  assert(g_current);
  return *g_current;
}

}  // namespace qvtest
