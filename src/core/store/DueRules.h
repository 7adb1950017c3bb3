// When a date reminder falls due. The calendar fields (day, month, year, ISO week) are
// compared as numbers; they decide exactly as comparing their formatted texts would.
#pragma once

#include <cstdint>

#include "core/common/DateTime.h"
#include "core/store/NotifyInfo.h"

namespace reminder {

struct TWeek {
  uint16_t Week = 0;
  uint16_t Year = 0;
};

// ISO week: weeks start on Monday, week 1 holds 4 January.
TWeek WeekNum(TDateTime value);

// The moment of one check, decoded once for all records. The calendar day, week, month
// and year of now are kept as ranges of day numbers (whole days of a date-time), so that
// a record's date is placed in them without decoding it.
struct TCheckMoment {
  explicit TCheckMoment(TDateTime now);
  TDateTime Now;
  double Time;  // time of day
  TDateParts Date;
  int Weekday;  // 1 = Sunday
  int64_t Day;
  int64_t WeekStart;  // Monday of the ISO week
  int64_t MonthStart;
  int64_t NextMonthStart;
  int64_t YearStart;
  int64_t NextYearStart;
};

// The advance warning in days: DaysBefore for a warning, otherwise none.
double LeadDays(const TNotifyInfo& record);

// Whether a pending date reminder fires at this moment by its repetition rule.
bool IsDateReminderDue(const TNotifyInfo& record, const TCheckMoment& moment);

// Records a firing at now: a once-only or dial-up reminder is finished, a repeating one
// stays pending and remembers when it fired, until its extended rule has no alarm left.
void MarkFired(TNotifyInfo& record, TDateTime now);

}  // namespace reminder
