// The due test of every change mode and the timer period, with the clock put where each case needs.
#include <gtest/gtest.h>

#include "core/ChangeLists.h"
#include "tests/core/ListTestSupport.h"

namespace {

using qvtest::FakeServices;

struct DueCase {
  const char* name;
  int mode;
  int unit;
  int interval;
  int last[6];  // y, m, d, h, min, s of the last change
  int now[6];
  bool due;
};

class DueTest : public ::testing::TestWithParam<DueCase> {};

TEST_P(DueTest, FollowsTheChangeMode) {
  FakeServices services;
  const DueCase& c = GetParam();
  qv::IESkinSetupData list;
  list.changeMode = c.mode;
  list.timerUnit = c.unit;
  list.interval = c.interval;
  list.lastChangeTime = static_cast<int32_t>(
      services.clock.At(c.last[0], c.last[1], c.last[2], c.last[3], c.last[4], c.last[5]));
  services.clock.Set(c.now[0], c.now[1], c.now[2], c.now[3], c.now[4], c.now[5]);
  EXPECT_EQ(list.IsDue(), c.due);
}

// 2004-06-14 and 2004-06-21 are Mondays.
const DueCase kDueCases[] = {
    {"DisableNever", 0, 3, 1, {1990, 1, 1, 1, 1, 1}, {2004, 6, 14, 9, 0, 0}, false},
    {"EachStartupAlways", 1, 3, 1, {2004, 6, 14, 9, 0, 0}, {2004, 6, 14, 9, 0, 0}, true},
    {"EachDaySameDayNot", 2, 3, 1, {2004, 6, 15, 0, 0, 1}, {2004, 6, 15, 23, 59, 0}, false},
    {"EachDayNextDay", 2, 3, 1, {2004, 6, 15, 23, 59, 0}, {2004, 6, 16, 0, 0, 1}, true},
    {"EachDayAcrossMonthEnd", 2, 3, 1, {2004, 1, 31, 20, 0, 0}, {2004, 2, 1, 8, 0, 0}, true},
    {"EachDaySameDayNextMonthNot", 2, 3, 1, {2004, 3, 5, 8, 0, 0}, {2004, 4, 5, 9, 0, 0}, false},
    {"EachWeekMondayAfterSunday", 3, 3, 1, {2004, 6, 13, 8, 0, 0}, {2004, 6, 14, 8, 0, 0}, true},
    {"EachWeekSecondTimeOnMondayNot", 3, 3, 1, {2004, 6, 14, 8, 0, 0}, {2004, 6, 14, 18, 0, 0}, false},
    {"EachWeekTuesdayNot", 3, 3, 1, {2004, 6, 1, 8, 0, 0}, {2004, 6, 15, 8, 0, 0}, false},
    {"EachWeekSundayManyDaysLaterNot", 3, 3, 1, {2004, 5, 1, 8, 0, 0}, {2004, 6, 20, 8, 0, 0}, false},
    {"EachWeekNextMonday", 3, 3, 1, {2004, 6, 14, 8, 0, 0}, {2004, 6, 21, 7, 0, 0}, true},
    {"EachMonthSameMonthNot", 4, 3, 1, {2004, 6, 1, 0, 0, 0}, {2004, 6, 30, 23, 0, 0}, false},
    {"EachMonthNextMonth", 4, 3, 1, {2004, 6, 30, 23, 0, 0}, {2004, 7, 1, 0, 0, 0}, true},
    {"SecondsReached", 5, 0, 30, {2004, 6, 15, 12, 0, 0}, {2004, 6, 15, 12, 0, 30}, true},
    {"SecondsNotYet", 5, 0, 30, {2004, 6, 15, 12, 0, 0}, {2004, 6, 15, 12, 0, 29}, false},
    {"MinutesNinetyAfterNinety", 5, 1, 90, {2004, 6, 15, 10, 0, 0}, {2004, 6, 15, 11, 30, 0}, true},
    {"MinutesNinetyAfterThirty", 5, 1, 90, {2004, 6, 15, 10, 0, 0}, {2004, 6, 15, 10, 30, 0}, false},
    {"MinutesCountWholeMinutes", 5, 1, 2, {2004, 6, 15, 10, 0, 0}, {2004, 6, 15, 10, 1, 59}, false},
    {"HoursReached", 5, 2, 3, {2004, 6, 15, 9, 0, 0}, {2004, 6, 15, 12, 0, 0}, true},
    {"HoursWholeHoursOnly", 5, 2, 3, {2004, 6, 15, 9, 0, 1}, {2004, 6, 15, 12, 0, 0}, false},
    {"DaysYesterdayAtTenDueAtEight", 5, 3, 1, {2004, 6, 14, 10, 0, 0}, {2004, 6, 15, 8, 0, 0}, true},
    {"DaysEarlierTodayNot", 5, 3, 1, {2004, 6, 15, 0, 0, 0}, {2004, 6, 15, 23, 0, 0}, false},
    {"DaysTwoNeedsTheDayBefore", 5, 3, 2, {2004, 6, 14, 10, 0, 0}, {2004, 6, 15, 23, 0, 0}, false},
    {"DaysTwoFromTwoDaysAgo", 5, 3, 2, {2004, 6, 13, 23, 59, 59}, {2004, 6, 15, 0, 0, 0}, true},
    {"ModeAboveFiveAlways", 6, 3, 1, {2004, 6, 15, 12, 0, 0}, {2004, 6, 15, 12, 0, 0}, true},
    {"NegativeModeNever", -1, 3, 1, {1990, 1, 1, 1, 1, 1}, {2004, 6, 15, 12, 0, 0}, false},
};

INSTANTIATE_TEST_SUITE_P(Modes, DueTest, ::testing::ValuesIn(kDueCases),
                         [](const ::testing::TestParamInfo<DueCase>& info) { return info.param.name; });

TEST(TimerPeriod, EachUnitWithItsFallbacksAndClamp) {
  struct Row {
    int unit, interval;
    uint32_t period;
  } rows[] = {
      {0, 30, 30000u},        {0, 0, 30000u},          {0, -4, 30000u},
      {1, 5, 300000u},        {1, 0, 300000u},         {1, 35791, 2147460000u},
      {1, 35792, 0x7FFFFFFFu},  // 2,147,520,000 would wrap in 32 bits
      {1, 1000000, 0x7FFFFFFFu}, {2, 1, 3600000u},     {2, 100, 360000000u},
      {2, 101, 360000000u},   {2, 1000000, 360000000u}, {2, 0, 3600000u},
      {3, 7, 300000u},        {9, 7, 300000u},         {0, 1000000, 1000000000u},
  };
  for (const Row& r : rows) {
    qv::WallpaperSetupData list;
    list.timerUnit = r.unit;
    list.interval = r.interval;
    EXPECT_EQ(list.TimerPeriod(), r.period) << "unit " << r.unit << " interval " << r.interval;
  }
}

TEST(DefaultLastChangeTime, IsTheFirstOfJanuary1990AtOneOhOneOhOneLocal) {
  FakeServices services;
  qv::BootScreenSetupData list;
  EXPECT_EQ(list.lastChangeTime, services.clock.At(1990, 1, 1, 1, 1, 1));
  list.lastChangeTime = 5;
  list.Reset();
  EXPECT_EQ(list.lastChangeTime, services.clock.At(1990, 1, 1, 1, 1, 1));
}

}  // namespace
