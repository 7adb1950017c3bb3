#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "core/store/RepeatRule.h"
#include "core/ui/RepeatPageRules.h"

namespace reminder {
namespace {

// A Tuesday, the 2nd of its month.
const TDateTime kStart = EncodeDate(2027, 3, 9) + 0.375;

TEST(RepeatPage, EveryRuleOfTheModuleComesBackFromItsControls) {
  const TRuleFreq freqs[] = {TRuleFreq::Hourly, TRuleFreq::Daily, TRuleFreq::Weekly,
                             TRuleFreq::Monthly, TRuleFreq::Yearly};
  const uint8_t weekdays[] = {0, 0x01, 0x1F, 0x44, 0x7F};
  const int8_t ordinals[] = {0, 1, 4, -1};
  int checked = 0;
  for (TRuleFreq freq : freqs) {
    for (uint16_t interval : {1, 2, 999}) {
      for (uint8_t days : weekdays) {
        for (int8_t ordinal : ordinals) {
          for (int lastDay = 0; lastDay < 2; ++lastDay) {
            for (int end = 0; end < 3; ++end) {
              TRepeatRule rule;
              rule.Freq = freq;
              rule.Interval = interval;
              rule.Weekdays = days;
              rule.Ordinal = ordinal;
              rule.LastDayOfMonth = lastDay != 0;
              if (end == 1) rule.Count = 9999;
              if (end == 2) rule.Until = EncodeDate(2029, 2, 28) + 86399.0 / 86400.0;
              if (!IsValidRule(rule)) continue;
              TRepeatPageModel page;
              page.Fill(rule, kStart);
              EXPECT_EQ(page.ToRule(), rule) << checked;
              ++checked;
            }
          }
        }
      }
    }
  }
  EXPECT_GT(checked, 100);
}

TEST(RepeatPage, WhateverTheControlsHoldTheyGiveARuleTheModuleFires) {
  std::mt19937 random(27);
  const char* numbers[] = {"", "0", "-3", "2", " 7", "1000", "abc", "99999", "12x"};
  for (int i = 0; i < 2000; ++i) {
    TRepeatPageModel page;
    page.Fill(std::nullopt, kStart);
    page.IntervalEdit = numbers[random() % 9];
    page.UnitCB = static_cast<int>(random() % 7) - 1;
    page.Weekdays = static_cast<uint8_t>(random());
    page.MonthDayRB = static_cast<int>(random() % 3);
    page.OrdinalCB = static_cast<int>(random() % 7) - 1;
    page.WeekdayCB = static_cast<int>(random() % 9) - 1;
    page.EndRB = static_cast<int>(random() % 3);
    page.CountEdit = numbers[random() % 9];
    page.UntilPicker = kStart + static_cast<int>(random() % 4000) - 2000;
    const TRepeatRule rule = page.ToRule();
    ASSERT_TRUE(IsValidRule(rule)) << i;
    // An end date keeps that whole day.
    if (rule.Until) {
      EXPECT_EQ(std::floor(*rule.Until), std::floor(page.UntilPicker));
    }
  }
}

TEST(RepeatPage, WithoutARuleTheChoicesFollowTheStart) {
  TRepeatPageModel page;
  page.Fill(std::nullopt, kStart);
  EXPECT_EQ(page.WeekdayCB, 1);  // Dienstag
  EXPECT_EQ(page.OrdinalCB, 1);  // 2.
  EXPECT_EQ(page.EndRB, reNever);
  page.UnitCB = ruMonths;
  page.MonthDayRB = mdOrdinal;
  const TRepeatRule rule = page.ToRule();
  EXPECT_EQ(rule.Freq, TRuleFreq::Monthly);
  EXPECT_EQ(rule.Ordinal, 2);
  EXPECT_EQ(rule.Weekdays, 0x02);
  // Weekdays belong to days and weeks only; the day of the month to months and years.
  EXPECT_FALSE(page.WeekdaysEnabled(true));
  EXPECT_TRUE(page.OrdinalEnabled(true));
  EXPECT_FALSE(page.OrdinalEnabled(false));
}

}  // namespace
}  // namespace reminder
