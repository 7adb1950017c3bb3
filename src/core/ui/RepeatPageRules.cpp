#include "core/ui/RepeatPageRules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace reminder {

const char* const kRuleUnitNames[kRuleUnitCount] = {"Tage", "Wochen", "Monate", "Jahre", "Stunden"};
const char* const kOrdinalNames[kOrdinalCount] = {"1.", "2.", "3.", "4.", "letzten"};
const char* const kWeekdayNames[7] = {"Montag",  "Dienstag", "Mittwoch", "Donnerstag",
                                      "Freitag", "Samstag",  "Sonntag"};
const char* const kWeekdayShortNames[7] = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};

namespace {

constexpr TRuleFreq kUnitFreq[kRuleUnitCount] = {
    TRuleFreq::Daily, TRuleFreq::Weekly, TRuleFreq::Monthly, TRuleFreq::Yearly, TRuleFreq::Hourly};
constexpr int kLastOrdinalItem = kOrdinalCount - 1;
// An end date keeps the occurrences of its whole day.
constexpr TDateTime kEndOfDay = 86399.0 / 86400.0;

// Monday 0 ... Sunday 6.
int WeekdayIndex(TDateTime date) {
  return (DayOfWeek(date) + 5) % 7;
}

int UnitOf(TRuleFreq freq) {
  for (int i = 0; i < kRuleUnitCount; ++i) {
    if (kUnitFreq[i] == freq) return i;
  }
  return ruWeeks;
}

int LowestBit(uint8_t bits) {
  for (int i = 0; i < 7; ++i) {
    if (bits & (1u << i)) return i;
  }
  return 0;
}

}  // namespace

int BoundedNumber(const std::string& text, int low, int high) {
  const char* begin = text.c_str();
  char* end = nullptr;
  const long value = std::strtol(begin, &end, 10);
  if (end == begin) return low;
  if (value < low) return low;
  if (value > high) return high;
  return static_cast<int>(value);
}

bool TRepeatPageModel::WeekdaysEnabled(bool extended) const {
  return extended && (UnitCB == ruDays || UnitCB == ruWeeks);
}

bool TRepeatPageModel::MonthDayEnabled(bool extended) const {
  return extended && (UnitCB == ruMonths || UnitCB == ruYears);
}

bool TRepeatPageModel::OrdinalEnabled(bool extended) const {
  return MonthDayEnabled(extended) && MonthDayRB == mdOrdinal;
}

bool TRepeatPageModel::UntilEnabled(bool extended) const {
  return extended && EndRB == reUntil;
}

bool TRepeatPageModel::CountEnabled(bool extended) const {
  return extended && EndRB == reCount;
}

void TRepeatPageModel::Fill(const std::optional<TRepeatRule>& rule, TDateTime start) {
  const TDateTime day = std::floor(start);
  *this = TRepeatPageModel();
  WeekdayCB = WeekdayIndex(day);
  OrdinalCB = std::min((DecodeDate(day).Day - 1) / 7, kLastOrdinalItem - 1);
  UntilPicker = day + 28;
  if (!rule) return;
  IntervalEdit = std::to_string(rule->Interval);
  UnitCB = UnitOf(rule->Freq);
  if (rule->Ordinal != 0) {
    MonthDayRB = mdOrdinal;
    OrdinalCB = rule->Ordinal < 0 ? kLastOrdinalItem : rule->Ordinal - 1;
    WeekdayCB = LowestBit(rule->Weekdays);
  } else {
    Weekdays = rule->Weekdays;
    MonthDayRB = rule->LastDayOfMonth ? mdLastDay : mdStartDay;
  }
  if (rule->Count != 0) {
    EndRB = reCount;
    CountEdit = std::to_string(rule->Count);
  } else if (rule->Until) {
    EndRB = reUntil;
    UntilPicker = std::floor(*rule->Until);
  }
}

TRepeatRule TRepeatPageModel::ToRule() const {
  TRepeatRule rule;
  const int unit = UnitCB >= 0 && UnitCB < kRuleUnitCount ? UnitCB : ruWeeks;
  rule.Freq = kUnitFreq[unit];
  rule.Interval = static_cast<uint16_t>(BoundedNumber(IntervalEdit, 1, kMaxRuleInterval));
  if (WeekdaysEnabled(true)) rule.Weekdays = Weekdays & 0x7F;
  if (MonthDayEnabled(true) && MonthDayRB == mdOrdinal) {
    const int ordinal = OrdinalCB >= 0 && OrdinalCB < kOrdinalCount ? OrdinalCB : 0;
    rule.Ordinal = static_cast<int8_t>(ordinal == kLastOrdinalItem ? -1 : ordinal + 1);
    rule.Weekdays = static_cast<uint8_t>(1u << (WeekdayCB >= 0 && WeekdayCB < 7 ? WeekdayCB : 0));
  } else if (MonthDayEnabled(true) && MonthDayRB == mdLastDay) {
    rule.LastDayOfMonth = true;
  }
  if (EndRB == reCount) {
    rule.Count = static_cast<uint16_t>(BoundedNumber(CountEdit, 1, kMaxRuleCount));
  } else if (EndRB == reUntil) {
    rule.Until = std::floor(UntilPicker) + kEndOfDay;
  }
  return rule;
}

}  // namespace reminder
