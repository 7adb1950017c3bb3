#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/RandomRule.h"
#include "core/TestDates.h"
#include "core/store/RepeatRule.h"
#include "core/store/ReservedBlock.h"
#include "core/store/RuleText.h"

namespace reminder {
namespace {

using namespace reminder::testing;

TEST(RepeatRule, EveryRuleSurvivesTheBlockAndItsRRuleText) {
  std::mt19937 random(27);
  const TDateTime start = At(2024, 2, 29, 9, 30);
  const TIdentity id{{1, 2, 3}};
  for (int i = 0; i < 5000; ++i) {
    const TRepeatRule rule = RandomRule(random);
    ASSERT_TRUE(IsValidRule(rule));
    TNotifyInfo record;
    record.RepeatKind = rkOnce;
    SetIdentity(record, id);
    ASSERT_TRUE(SetRule(record, rule));
    EXPECT_EQ(BlockKind(record), TBlockKind::Container);
    EXPECT_EQ(record.RepeatKind, BaseRepeat(rule));
    EXPECT_EQ(RuleOf(record), rule);
    EXPECT_EQ(IdentityOf(record), id);
    const std::string text = FormatRRule(rule, start);
    std::string error;
    EXPECT_EQ(ParseRRule(text, start, error), rule) << text << ": " << error;
  }
}

TEST(RepeatRule, WhatAnOlderVersionOrAnotherProgramLeftIsNoRule) {
  TNotifyInfo record;
  TRepeatRule rule;
  rule.Freq = TRuleFreq::Weekly;
  rule.Weekdays = 0x05;
  ASSERT_TRUE(SetRule(record, rule));
  // An older version's editor set the repetition to monthly and kept the block.
  record.RepeatKind = rkMonthly;
  EXPECT_FALSE(RuleOf(record));
  record.RepeatKind = rkWeekly;
  EXPECT_TRUE(RuleOf(record));
  // Rule bytes this version does not know: an unknown bit, a wrong length.
  TBlockContent content = *BlockContent(record);
  content.Rule[0] |= 0x40;
  WriteBlock(record, content);
  EXPECT_FALSE(RuleOf(record));
  content.Rule[0] &= 0x3F;
  content.RuleLength = 6;
  WriteBlock(record, content);
  EXPECT_FALSE(RuleOf(record));
  // Removing the rule leaves the identity-less record all zeros.
  ASSERT_TRUE(SetRule(record, std::nullopt));
  EXPECT_EQ(BlockKind(record), TBlockKind::Empty);
}

TEST(RepeatRule, RefusesWhatItCannotFireNamingThePart) {
  const TDateTime start = At(2026, 3, 10, 8);
  std::string error;
  EXPECT_FALSE(ParseRRule("FREQ=MONTHLY;BYDAY=TU;BYSETPOS=2", start, error));
  EXPECT_EQ(error, "Regelteil \"BYSETPOS=2\" wird nicht unterstützt");
  EXPECT_FALSE(ParseRRule("FREQ=MINUTELY", start, error));
  EXPECT_EQ(error, "Regelteil \"FREQ=MINUTELY\" wird nicht unterstützt");
  EXPECT_FALSE(ParseRRule("FREQ=MONTHLY;BYDAY=2TU,3TH", start, error));
  EXPECT_NE(error.find("BYDAY=2TU,3TH"), std::string::npos);
  EXPECT_FALSE(ParseRRule("FREQ=WEEKLY;BYDAY=2TU", start, error));
  EXPECT_NE(error.find("BYDAY"), std::string::npos);
  EXPECT_FALSE(ParseRRule("FREQ=MONTHLY;BYMONTHDAY=15", start, error));
  EXPECT_FALSE(ParseRRule("FREQ=DAILY;COUNT=2;UNTIL=20270101", start, error));
  EXPECT_FALSE(ParseRRule("INTERVAL=2", start, error));
  EXPECT_EQ(error, "Der Regel fehlt FREQ");
  EXPECT_FALSE(ParseRRule("FREQ=DAILY;INTERVAL=0", start, error));
  EXPECT_TRUE(ParseRRule("FREQ=MONTHLY;BYMONTHDAY=10", start, error));
  EXPECT_TRUE(ParseRRule("FREQ=YEARLY;BYMONTH=3;BYDAY=-1FR", start, error));
}

TEST(RepeatRule, ShortGermanTextsForTheList) {
  const TDateTime start = At(2026, 3, 10, 8);
  const auto text = [&](const char* rrule) {
    std::string error;
    const std::optional<TRepeatRule> rule = ParseRRule(rrule, start, error);
    return rule ? RuleShortText(*rule) : error;
  };
  EXPECT_EQ(text("FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE"), "alle 2 Wochen Mo, Mi");
  EXPECT_EQ(text("FREQ=MONTHLY;BYDAY=2TU"), "monatlich am 2. Dienstag");
  EXPECT_EQ(text("FREQ=MONTHLY;BYDAY=-1FR;COUNT=6"), "monatlich am letzten Freitag, 6-mal");
  EXPECT_EQ(text("FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR"), "werktags");
  EXPECT_EQ(text("FREQ=HOURLY;INTERVAL=2"), "stündlich alle 2 Std.");
  EXPECT_EQ(text("FREQ=MONTHLY;BYMONTHDAY=-1;UNTIL=20271231"),
            "monatlich am letzten Tag, bis 31.12.2027");
  EXPECT_EQ(text("FREQ=DAILY;INTERVAL=3"), "alle 3 Tage");
}

}  // namespace
}  // namespace reminder
