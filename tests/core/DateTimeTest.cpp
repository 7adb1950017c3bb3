#include <gtest/gtest.h>

#include <cmath>

#include "core/common/DateTime.h"
#include "core/store/DueRules.h"

namespace reminder {
namespace {

TEST(DateTime, EpochAndWellKnownDays) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(EncodeDate(2000, 7, 24), 36731.0);
  EXPECT_EQ(EncodeDate(1, 1, 1), kMinDateTime);
  EXPECT_EQ(EncodeDate(9999, 12, 31) + 1, kMaxDateTime);
  EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 7)), 2);   // a Monday
  EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7);  // a Saturday
  EXPECT_EQ(DayOfWeek(EncodeDate(1, 1, 1)), 2);
}

// Walks the calendar day by day with its own month lengths and compares both directions.
TEST(DateTime, EveryDayFrom1600To2400BothWays) {
  static const int kLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int year = 1600, month = 1, day = 1;
  double expected = EncodeDate(1600, 1, 1);
  int weekday = DayOfWeek(expected);
  while (year < 2401) {
    ASSERT_EQ(EncodeDate(year, month, day), expected) << year << "-" << month << "-" << day;
    const TDateParts parts = DecodeDate(EncodeDateTime({year, month, day}, {18, 0, 0, 0}));
    ASSERT_EQ(parts.Year, year);
    ASSERT_EQ(parts.Month, month);
    ASSERT_EQ(parts.Day, day);
    ASSERT_EQ(DayOfWeek(expected), weekday);
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int length = kLength[month - 1] + (month == 2 && leap ? 1 : 0);
    if (++day > length) {
      day = 1;
      if (++month > 12) {
        month = 1;
        ++year;
      }
    }
    expected += 1;
    weekday = weekday % 7 + 1;
  }
}

TEST(DateTime, TimeOfDayRoundsToMillisecondsAndNeverReaches24) {
  const TTimeParts t = DecodeTime(EncodeDate(2000, 1, 1) + EncodeTime(9, 30, 15, 250));
  EXPECT_EQ(t.Hour, 9);
  EXPECT_EQ(t.Minute, 30);
  EXPECT_EQ(t.Second, 15);
  EXPECT_EQ(t.MSec, 250);
  const TTimeParts late = DecodeTime(36731.99999999999);
  EXPECT_EQ(late.Hour, 23);
  EXPECT_EQ(late.MSec, 999);
}

TEST(DateTime, NegativeValuesCountBackFromTheEpochWithAPositiveTime) {
  const TDateTime value = EncodeDateTime({1899, 12, 29}, {6, 0, 0, 0});
  EXPECT_DOUBLE_EQ(value, -1.25);
  const TDateParts d = DecodeDate(value);
  EXPECT_EQ(d.Day, 29);
  EXPECT_EQ(DecodeTime(value).Hour, 6);
  EXPECT_DOUBLE_EQ(TimeOfDay(value), 0.25);
}

TEST(DateTime, ValuesOutsideTheCalendarDecodeToZero) {
  for (double bad : {-1e300, 1e300, kMaxDateTime, kMinDateTime - 1, std::nan("")}) {
    EXPECT_EQ(DecodeDate(bad).Year, 0);
    EXPECT_EQ(DayOfWeek(bad), 0);
    EXPECT_EQ(TimeOfDay(bad), 0.0);
    EXPECT_EQ(WeekNum(bad).Year, 0);
  }
}

TEST(DateTime, TryEncodeDateRejectsDaysThatDoNotExist) {
  double value = -7;
  EXPECT_TRUE(TryEncodeDate(2024, 2, 29, value));
  EXPECT_EQ(value, EncodeDate(2024, 2, 29));
  EXPECT_FALSE(TryEncodeDate(2023, 2, 29, value));
  EXPECT_FALSE(TryEncodeDate(2023, 4, 31, value));
  EXPECT_FALSE(TryEncodeDate(0, 1, 1, value));
  EXPECT_FALSE(TryEncodeDate(2023, 13, 1, value));
}

TEST(WeekNum, IsoWeeksAtTheTurnOfTheYear) {
  auto week = [](int y, int m, int d) { return WeekNum(EncodeDate(y, m, d) + 0.5); };
  EXPECT_EQ(week(2004, 1, 1).Week, 1);
  EXPECT_EQ(week(2004, 1, 1).Year, 2004);
  EXPECT_EQ(week(2010, 1, 1).Week, 53);
  EXPECT_EQ(week(2010, 1, 1).Year, 2009);
  EXPECT_EQ(week(2008, 12, 29).Week, 1);
  EXPECT_EQ(week(2008, 12, 29).Year, 2009);
  EXPECT_EQ(week(2026, 12, 7).Week, 50);
  EXPECT_EQ(week(2027, 1, 3).Week, 53);  // a Sunday, still in 2026's last week
  EXPECT_EQ(week(2027, 1, 4).Week, 1);
}

// Every Monday starts a new week and every other day keeps it, over four centuries.
TEST(WeekNum, WeeksAdvanceOnMondaysOnly) {
  TWeek previous = WeekNum(EncodeDate(1800, 1, 1));
  for (double day = EncodeDate(1800, 1, 2); day < EncodeDate(2200, 1, 1); day += 1) {
    const TWeek week = WeekNum(day);
    if (DayOfWeek(day) == 2) {
      if (week.Week == 1) {
        ASSERT_EQ(week.Year, previous.Year + 1) << day;
        ASSERT_TRUE(previous.Week == 52 || previous.Week == 53) << day;
      } else {
        ASSERT_EQ(week.Week, previous.Week + 1) << day;
        ASSERT_EQ(week.Year, previous.Year) << day;
      }
    } else {
      ASSERT_EQ(week.Week, previous.Week);
      ASSERT_EQ(week.Year, previous.Year);
    }
    previous = week;
  }
}

}  // namespace
}  // namespace reminder
