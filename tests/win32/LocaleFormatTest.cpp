// The format settings read from the user's locale; the test program runs in German.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/common/FormatDateTime.h"
#include "win32/system/LocaleFormat.h"

namespace reminder {
namespace {

SYSTEMTIME SystemTime(int year, int month, int day, int hour, int minute, int second) {
  SYSTEMTIME t = {};
  t.wYear = static_cast<WORD>(year);
  t.wMonth = static_cast<WORD>(month);
  t.wDay = static_cast<WORD>(day);
  t.wHour = static_cast<WORD>(hour);
  t.wMinute = static_cast<WORD>(minute);
  t.wSecond = static_cast<WORD>(second);
  return t;
}

std::string SystemDate(const SYSTEMTIME& t, DWORD flags) {
  char buffer[128] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, flags, &t, nullptr, buffer, sizeof buffer);
  return buffer;
}

std::string SystemTimeText(const SYSTEMTIME& t, DWORD flags) {
  char buffer[128] = {};
  GetTimeFormatA(LOCALE_USER_DEFAULT, flags, &t, nullptr, buffer, sizeof buffer);
  return buffer;
}

std::vector<int> NumbersBetweenDots(const std::string& text) {
  std::vector<int> numbers;
  size_t start = 0;
  for (;;) {
    const size_t dot = text.find('.', start);
    numbers.push_back(atoi(text.substr(start, dot - start).c_str()));
    if (dot == std::string::npos) return numbers;
    start = dot + 1;
  }
}

TEST(LocaleFormatTest, GermanLocaleGivesGermanNames) {
  ASSERT_EQ(PRIMARYLANGID(LANGIDFROMLCID(GetUserDefaultLCID())), LANG_GERMAN)
      << "the test program must run with LANG=de_DE.UTF-8";
  const TFormatSettings fs = LocaleFormatSettings();
  EXPECT_EQ(fs.LongMonthNames[0], "Januar");
  EXPECT_EQ(fs.LongMonthNames[2], "März");
  EXPECT_EQ(fs.LongMonthNames[11], "Dezember");
  // The locale counts days from Monday; the settings from Sunday.
  EXPECT_EQ(fs.LongDayNames[0], "Sonntag");
  EXPECT_EQ(fs.LongDayNames[1], "Montag");
  EXPECT_EQ(fs.LongDayNames[6], "Samstag");
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(fs.ShortDayNames[i].substr(0, 2), fs.LongDayNames[i].substr(0, 2)) << i;
  }
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(fs.ShortMonthNames[i].substr(0, 2), fs.LongMonthNames[i].substr(0, 2)) << i;
  }

  const TDateTime tuesday = EncodeDateTime({2000, 7, 4}, {9, 5, 7, 0});
  EXPECT_EQ(FormatDateTime("dddd, d. mmmm yyyy", tuesday, fs), "Dienstag, 4. Juli 2000");
}

TEST(LocaleFormatTest, DatesAndTimesComeOutAsTheSystemWritesThem) {
  const TFormatSettings fs = LocaleFormatSettings();
  EXPECT_EQ(fs.DateSeparator, '.');
  EXPECT_EQ(fs.TimeSeparator, ':');

  // A one-digit day and month tell "d" from "dd" and "M" from "MM".
  const SYSTEMTIME morning = SystemTime(2000, 7, 4, 9, 5, 7);
  const TDateTime value = EncodeDateTime({2000, 7, 4}, {9, 5, 7, 0});
  const std::string shortDate = FormatDateTime("ddddd", value, fs);
  EXPECT_EQ(shortDate, SystemDate(morning, DATE_SHORTDATE));
  EXPECT_EQ(NumbersBetweenDots(shortDate), (std::vector<int>{4, 7, 2000})) << shortDate;

  EXPECT_EQ(FormatDateTime("tt", value, fs), SystemTimeText(morning, 0));
  EXPECT_EQ(FormatDateTime("t", value, fs), SystemTimeText(morning, TIME_NOSECONDS));
  const SYSTEMTIME evening = SystemTime(2000, 7, 4, 21, 5, 7);
  EXPECT_EQ(FormatDateTime("tt", EncodeDateTime({2000, 7, 4}, {21, 5, 7, 0}), fs),
            SystemTimeText(evening, 0));

  EXPECT_EQ(FormatDateTime("c", value, fs), shortDate + " " + SystemTimeText(morning, 0));
  EXPECT_EQ(FormatDateTime("c", EncodeDate(2000, 7, 4), fs), shortDate);
}

}  // namespace
}  // namespace reminder
