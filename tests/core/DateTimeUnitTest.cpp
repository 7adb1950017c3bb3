#include "core/ui/DateTimeUnit.h"

#include <gtest/gtest.h>

namespace reminder {
namespace {

// Walks the calendar day by day with its own month lengths and a counter started at the
// well-known day number of 1 January 1600, and checks both directions on every day.
TEST(DateTimeUnit, JulianDayNumbersOfEveryDayFrom1600To2400) {
  static const int kLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int year = 1600, month = 1, day = 1;
  int32_t expected = 2305448;
  while (year < 2401) {
    ASSERT_EQ(DateToJulianDay(year, month, day), expected) << year << "-" << month << "-" << day;
    uint16_t y = 0, m = 0, d = 0;
    ASSERT_TRUE(JulianDayToDate(expected, y, m, d));
    ASSERT_EQ(y, year);
    ASSERT_EQ(m, month);
    ASSERT_EQ(d, day);
    if (year == 2000 && month == 1 && day == 1) {
      EXPECT_EQ(expected, 2451545);
    }
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (++day > kLength[month - 1] + (month == 2 && leap ? 1 : 0)) {
      day = 1;
      if (++month > 12) {
        month = 1;
        ++year;
      }
    }
    ++expected;
  }
  EXPECT_EQ(expected, DateToJulianDay(2401, 1, 1));
}

TEST(DateTimeUnit, DaysAndMonthsPastTheirEndRunOnAndNumbersStayInTheYearsOneTo9999) {
  EXPECT_EQ(DateToJulianDay(2001, 2, 31), DateToJulianDay(2001, 3, 3));
  EXPECT_EQ(DateToJulianDay(2024, 2, 0), DateToJulianDay(2024, 1, 31));
  EXPECT_EQ(DateToJulianDay(2024, 0, 1), DateToJulianDay(2023, 12, 1));
  EXPECT_EQ(DateToJulianDay(2024, 14, 29), DateToJulianDay(2025, 3, 1));
  EXPECT_EQ(DateToJulianDay(2024, 99, 99), DateToJulianDay(2032, 6, 7));
  uint16_t y = 7, m = 7, d = 7;
  EXPECT_FALSE(JulianDayToDate(DateToJulianDay(1, 1, 1) - 1, y, m, d));
  EXPECT_FALSE(JulianDayToDate(DateToJulianDay(9999, 12, 31) + 1, y, m, d));
  EXPECT_FALSE(JulianDayToDate(INT32_MIN, y, m, d));
  EXPECT_EQ(y * 10000 + m * 100 + d, 70707);
}

TEST(DateTimeUnit, SteppingADateTextByOneDay) {
  EXPECT_EQ(NextDayText("28.02.2100", '.'), "01.03.2100");
  EXPECT_EQ(NextDayText("28.02.2000", '.'), "29.02.2000");
  EXPECT_EQ(PreviousDayText("01.03.2000", '.'), "29.02.2000");
  EXPECT_EQ(NextDayText("31.12.1999", '.'), "01.01.2000");
  // Not checked first: the impossible day runs on into March.
  EXPECT_EQ(NextDayText("31.02.2001", '.'), "04.03.2001");
  EXPECT_EQ(PreviousDayText("31.02.2001", '.'), "02.03.2001");
  EXPECT_EQ(NextDayText("31/12/2024", '/'), "01/01/2025");
  EXPECT_EQ(NextDayText(" 1. 3.2024", '.'), "02.03.2024");
  // Four year digits keep a year below 1000 a complete date field.
  EXPECT_EQ(PreviousDayText("01.01.1000", '.'), "31.12.0999");
  EXPECT_EQ(NextDayText("31.12.0000", '.'), "01.01.0001");
}

TEST(DateTimeUnit, AnUnreadableTextOrAStepOutOfRangeComesBackUnchanged) {
  for (const char* text : {"ab.03.2024", "01.03.20x4", "  .  .    ", "", "01.03", "31.12.9999"}) {
    EXPECT_EQ(NextDayText(text, '.'), text);
  }
  EXPECT_EQ(PreviousDayText("01.01.0001", '.'), "01.01.0001");
}

TEST(DateTimeUnit, DaysInRangeAndSeparators) {
  EXPECT_EQ(DaysInRange("07.03.2024", "07.03.2024", '.'), 1);
  EXPECT_EQ(DaysInRange("01.01.2024", "31.12.2024", '.'), 366);
  EXPECT_EQ(DaysInRange("10.03.2024", "07.03.2024", '.'), -2);
  EXPECT_EQ(DaysInRange("01.01.0001", "31.12.9999", '.'), 3652059);
  EXPECT_EQ(DaysInRange("xx.03.2024", "07.03.2024", '.'), 0);
  EXPECT_EQ(InsertDateSeparators("01032024", '.'), "01.03.2024");
  EXPECT_EQ(InsertDateSeparators("01-03-2024", '-'), "01-03-2024");
  EXPECT_EQ(RemoveDateSeparators("01.03.2024", '.'), "01032024");
}

TEST(DateTimeUnit, SecondsToTimeTextWrapsIntoOneDay) {
  EXPECT_EQ(SecondsToTimeText(0, ':'), "00:00:00");
  EXPECT_EQ(SecondsToTimeText(3723, '.'), "01.02.03");
  EXPECT_EQ(SecondsToTimeText(86400, ':'), "00:00:00");
  EXPECT_EQ(SecondsToTimeText(-1, ':'), "23:59:59");
  EXPECT_EQ(SecondsToTimeText(-86401, ':'), "23:59:59");
  EXPECT_EQ(SecondsToTimeText(90000, ':'), "01:00:00");
  EXPECT_EQ(SecondsToTimeText(INT64_MIN, ':'), "08:29:52");
}

}  // namespace
}  // namespace reminder
