// The extended repetition on the editor's page "Wiederholung", as values of its controls:
// "alle [n] Tage/Wochen/Monate/Jahre/Stunden", the weekdays Mo-So, "am [2.] [Dienstag]" or
// "am letzten Tag des Monats", and "endet nie / am [Datum] / nach [n] Terminen"; which of
// them are enabled, and how they map to and from a repetition rule.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/common/DateTime.h"
#include "core/store/RepeatRule.h"

namespace reminder {

// The unit list's items, in their order.
enum TRuleUnit : int { ruDays = 0, ruWeeks, ruMonths, ruYears, ruHours };
constexpr int kRuleUnitCount = 5;
extern const char* const kRuleUnitNames[kRuleUnitCount];

// The day of the month of a monthly or yearly rule.
enum TMonthDayChoice : int { mdStartDay = 0, mdOrdinal, mdLastDay };
// The ordinal list: "1." to "4." and "letzten".
constexpr int kOrdinalCount = 5;
extern const char* const kOrdinalNames[kOrdinalCount];
// Monday first, as the rule counts them.
extern const char* const kWeekdayNames[7];
extern const char* const kWeekdayShortNames[7];

enum TRuleEnd : int { reNever = 0, reUntil, reCount };

struct TRepeatPageModel {
  std::string IntervalEdit = "1";
  int UnitCB = ruWeeks;
  uint8_t Weekdays = 0;  // bit 0 Monday ... bit 6 Sunday
  int MonthDayRB = mdStartDay;
  int OrdinalCB = 0;
  int WeekdayCB = 0;
  int EndRB = reNever;
  TDateTime UntilPicker = 0;  // whole days
  std::string CountEdit = "1";

  // With the button "alle" checked (extended): the weekdays for days and weeks, the day of
  // the month for months and years, the ordinal lists only for "am [2.] [Dienstag]", the
  // end for every unit, its date or count field only when chosen.
  bool WeekdaysEnabled(bool extended) const;
  bool MonthDayEnabled(bool extended) const;
  bool OrdinalEnabled(bool extended) const;
  bool UntilEnabled(bool extended) const;
  bool CountEnabled(bool extended) const;

  // The controls for a rule; without one, defaults that follow the start (its weekday, its
  // place in the month, an end four weeks later).
  void Fill(const std::optional<TRepeatRule>& rule, TDateTime start);
  // The rule the controls describe; the interval and the count are cut to what the rule
  // takes, an end date ends after that whole day.
  TRepeatRule ToRule() const;
};

// A whole number from a field, limited to low..high; a text without one reads as low.
int BoundedNumber(const std::string& text, int low, int high);

}  // namespace reminder
