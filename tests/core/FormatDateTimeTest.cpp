#include <gtest/gtest.h>

#include "core/common/FormatDateTime.h"

namespace reminder {
namespace {

class FormatDateTimeTest : public ::testing::Test {
 protected:
  std::string Format(const std::string& format, TDateTime value) {
    return FormatDateTime(format, value, fs);
  }
  TFormatSettings fs = GermanFormatSettings();
  // Monday, 7 March 2005, 08:05:03.045
  TDateTime sample = EncodeDate(2005, 3, 7) + EncodeTime(8, 5, 3, 45);
};

TEST_F(FormatDateTimeTest, CFormatDropsTheTimeAtMidnight) {
  EXPECT_EQ(Format("c", sample), "07.03.2005 08:05:03");
  EXPECT_EQ(Format("c", EncodeDate(2000, 7, 24)), "24.07.2000");
  EXPECT_EQ(Format("c", EncodeDate(2000, 7, 24) + EncodeTime(0, 0, 1, 0)), "24.07.2000 00:00:01");
  // Milliseconds alone do not count as a time of day.
  EXPECT_EQ(Format("c", EncodeDate(2000, 7, 24) + EncodeTime(0, 0, 0, 400)), "24.07.2000");
  // A format read once serves midnights and other times in turn, as a list's rows come.
  const TCompiledDateFormat once("c \"am\" dddd, h am/pm", fs);
  std::string rows;
  // One that keeps the last value's text gives the same, also for a value again.
  const TCompiledDateFormat remembering("c \"am\" dddd, h am/pm", fs, true);
  std::string again;
  for (TDateTime value : {sample, EncodeDate(2000, 7, 24), EncodeDate(2000, 7, 24), sample + 0.5,
                          TDateTime(-700000), sample + 0.5, sample}) {
    once.Append(rows, value);
    rows += '|';
    remembering.Append(again, value);
    again += '|';
  }
  EXPECT_EQ(rows,
            "07.03.2005 08:05:03 am Montag, 8 am|24.07.2000 am Montag, 12 am|"
            "24.07.2000 am Montag, 12 am|07.03.2005 20:05:03 am Montag, 8 pm||"
            "07.03.2005 20:05:03 am Montag, 8 pm|07.03.2005 08:05:03 am Montag, 8 am|");
  EXPECT_EQ(again, rows);
}

TEST_F(FormatDateTimeTest, DayMonthAndYearCodes) {
  EXPECT_EQ(Format("d/m/yy", sample), "7.3.05");
  EXPECT_EQ(Format("dd.mm.yyyy", sample), "07.03.2005");
  EXPECT_EQ(Format("ddd dddd", sample), "Mo Montag");
  EXPECT_EQ(Format("mmm mmmm", sample), "Mrz März");
  EXPECT_EQ(Format("ddddd", sample), "07.03.2005");
  EXPECT_EQ(Format("dddddd", sample), "Montag, 7. März 2005");
  EXPECT_EQ(Format("mmddyyyy", sample), "03072005");
  EXPECT_EQ(Format("yyyymm", sample), "200503");
  EXPECT_EQ(Format("yyyy", EncodeDate(999, 5, 1)), "0999");
}

TEST_F(FormatDateTimeTest, TimeCodesAndMinutesAfterHours) {
  EXPECT_EQ(Format("h:n:s", sample), "8:5:3");
  EXPECT_EQ(Format("hh:nn:ss.zzz", sample), "08:05:03.045");
  EXPECT_EQ(Format("t", sample), "08:05");
  EXPECT_EQ(Format("tt", sample), "08:05:03");
  // "m" right after an hour code means minutes, as in locale time formats like HH:mm:ss.
  EXPECT_EQ(Format("HH:mm:ss", sample), "08:05:03");
  EXPECT_EQ(Format("hh mm", sample), "08 05");
  EXPECT_EQ(Format("mm hh", sample), "03 08");
}

TEST_F(FormatDateTimeTest, TwelveHourMarkers) {
  const TDateTime evening = EncodeDate(2005, 3, 7) + EncodeTime(20, 15, 0, 0);
  EXPECT_EQ(Format("h:nn am/pm", evening), "8:15 pm");
  EXPECT_EQ(Format("h:nn AM/PM", sample), "8:05 AM");
  EXPECT_EQ(Format("h a/p", evening), "8 p");
  EXPECT_EQ(Format("hh:nn", EncodeDate(2005, 3, 7) + EncodeTime(0, 30, 0, 0)), "00:30");
  EXPECT_EQ(Format("h am/pm", EncodeDate(2005, 3, 7)), "12 am");
}

TEST_F(FormatDateTimeTest, QuotedTextSeparatorsAndOtherCharacters) {
  EXPECT_EQ(Format("'Heute ist' dddd", sample), "Heute ist Montag");
  EXPECT_EQ(Format("\"d\"d", sample), "d7");
  EXPECT_EQ(Format("hh' Uhr'", sample), "08 Uhr");
  fs.DateSeparator = '/';
  fs.TimeSeparator = '-';
  EXPECT_EQ(Format("dd/mm hh:nn", sample), "07/03 08-05");
  EXPECT_EQ(Format("'unclosed", sample), "unclosed");
  EXPECT_EQ(Format("#!", sample), "#!");
}

TEST_F(FormatDateTimeTest, FormatsThatNameThemselvesDoNotRecurse) {
  fs.ShortDateFormat = "ddddd c";
  // Nesting stops after two levels, leaving only the blanks between the codes.
  EXPECT_EQ(Format("c", sample), "   08:05:03");
}

TEST_F(FormatDateTimeTest, LocaleSettingsAreUsed) {
  fs.ShortDateFormat = "M/d/yyyy";
  fs.DateSeparator = '/';
  fs.LongTimeFormat = "h:mm:ss AM/PM";
  EXPECT_EQ(Format("c", sample), "3/7/2005 8:05:03 AM");
}

TEST_F(FormatDateTimeTest, ValuesOutsideTheCalendarGiveNoText) {
  EXPECT_EQ(Format("c", 1e300), "");
  EXPECT_EQ(Format("c", -1e9), "");
}

}  // namespace
}  // namespace reminder
