#include "core/ui/CalendarRules.h"

#include <gtest/gtest.h>

#include <utility>

namespace reminder {
namespace {

TEST(CalendarRules, DayCountsOfTheDayCounter) {
  EXPECT_EQ(CountDays("07.03.2024", "07.03.2024", '.'), 0);
  EXPECT_EQ(CountDays("07.03.2024", "08.03.2024", '.'), 1);
  EXPECT_EQ(CountDays("01.01.2024", "31.12.2024", '.'), 365);
  EXPECT_EQ(CountDays("10.03.2024", "07.03.2024", '.'), -3);
  EXPECT_EQ(DayCountText(365), "365 Tag(e)");
  EXPECT_EQ(DayCountText(-3), "-3 Tag(e)");
}

TEST(CalendarRules, DateFieldsMustBeCompleteAndHoldAnExistingDate) {
  EXPECT_EQ(CountDays(" 1.03.2024", "07.03.2024", '.'), std::nullopt);
  EXPECT_EQ(CountDays("07.03.2024", "07.03.20x4", '.'), std::nullopt);
  EXPECT_EQ(StepDateField(" 1.03.2024", 1, '.'), std::nullopt);
  EXPECT_EQ(StepDateField("01. 3.2024", -1, '.'), std::nullopt);
  EXPECT_EQ(StepDateField("31.12.1999", 1, '.'), "01.01.2000");
  EXPECT_EQ(StepDateField("01.03.2000", -1, '.'), "29.02.2000");
  EXPECT_TRUE(IsValidDateField("29.02.2000"));
  EXPECT_TRUE(IsValidDateField("01.01.0001"));
  EXPECT_TRUE(IsValidDateField("31.12.9999"));
  for (const char* text : {"29.02.2100", "31.04.2024", "00.01.2024", "01.13.2024", "01.01.0000"}) {
    EXPECT_FALSE(IsValidDateField(text)) << text;
  }
}

TEST(CalendarRules, TheDayCounterButtonFollowsBothFields) {
  EXPECT_EQ(CheckDateFields("29.02.2024", "01.03.2024"), TButtonChange::Enable);
  EXPECT_EQ(CheckDateFields("29.02.2023", "01.03.2024"), TButtonChange::Disable);
  EXPECT_EQ(CheckDateFields(" 1.03.2024", "01.03.2024"), TButtonChange::Disable);
  EXPECT_EQ(CheckDateFields("01.03.2024", "31.04.2024"), TButtonChange::Disable);
  // While the other field is still being typed, the button stays as it is.
  EXPECT_EQ(CheckDateFields("01.03.2024", " 1.04.2024"), TButtonChange::Keep);
  EXPECT_EQ(CheckDateFields("29.02.2023", " 1.04.2024"), TButtonChange::Disable);
}

TEST(CalendarRules, HourCounterGivesSignedDifferencesWithoutAWrapAtMidnight) {
  EXPECT_EQ(CountHours("10:00:00", "08:30:00", ':').Label, "-01:30:00 Stunde(n)");
  EXPECT_EQ(CountHours("10:30:00", "10:00:00", ':').Label, "-00:30:00 Stunde(n)");
  EXPECT_EQ(CountHours("00:00:00", "23:59:59", ':').Label, "23:59:59 Stunde(n)");
  EXPECT_EQ(CountHours("23:59:59", "00:00:00", ':').Label, "-23:59:59 Stunde(n)");
  EXPECT_EQ(CountHours("22:00:00", "01:30:00", ':').Label, "-20:30:00 Stunde(n)");
  EXPECT_EQ(CountHours(" 9:15:00", "10:00:01", ':').Label, "00:45:01 Stunde(n)");
  EXPECT_EQ(CountHours("08:00:00", "08:00:00", ':').Message, "");
}

TEST(CalendarRules, HourCounterReportsABadTimeInEitherField) {
  const std::pair<const char*, const char*> kBadPairs[] = {{"24:00:00", "10:00:00"},
                                                           {"10:00:00", "10:60:00"},
                                                           {"10:00:60", "10:00:00"},
                                                           {"1x:00:00", "10:00:00"},
                                                           {"10:00:00", "10:00"}};
  for (const auto& times : kBadPairs) {
    const THourCount count = CountHours(times.first, times.second, ':');
    EXPECT_EQ(count.Message, "Eine der Uhrzeiten ist fehlerhaft!") << times.first;
    EXPECT_EQ(count.Label, "");
  }
}

TEST(CalendarRules, LeavingATimeField) {
  const TTimeFieldCheck impossible = CheckTimeField("24:00:00", TTimeField::From);
  EXPECT_FALSE(impossible.EnableButton);
  EXPECT_TRUE(impossible.Refocus);
  EXPECT_EQ(impossible.Message, "Die Uhrzeit im Feld \"von\" ist fehlerhaft!");

  const TTimeFieldCheck unreadable = CheckTimeField("ab:00:00", TTimeField::To);
  EXPECT_FALSE(unreadable.EnableButton);
  EXPECT_TRUE(unreadable.Refocus);
  EXPECT_EQ(unreadable.Message, "Die Uhrzeit im Feld \"bis\" ist fehlerhaft!");

  const TTimeFieldCheck corrected = CheckTimeField("23:59:59", TTimeField::From);
  EXPECT_TRUE(corrected.EnableButton);
  EXPECT_FALSE(corrected.Refocus);
  EXPECT_EQ(corrected.Message, "");
}

TEST(CalendarRules, SignedTimeTexts) {
  EXPECT_EQ(SignedTimeText(-1800, ':'), "-00:30:00");
  EXPECT_EQ(SignedTimeText(-5400, ':'), "-01:30:00");
  EXPECT_EQ(SignedTimeText(3723, ':'), "01:02:03");
  EXPECT_EQ(SignedTimeText(-59, '.'), "-00.00.59");
  EXPECT_EQ(SignedTimeText(360000, ':'), "100:00:00");
  EXPECT_EQ(SignedTimeText(INT64_MIN, ':'), "-2562047788015215:30:08");
}

}  // namespace
}  // namespace reminder
