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
// A week is later when its week-year is greater, or its number within the same year.
bool IsLaterWeek(TWeek week, TWeek reference);

// The moment of one check, decoded once for all records.
struct TCheckMoment {
  explicit TCheckMoment(TDateTime now);
  TDateTime Now;
  double Time;  // time of day
  TDateParts Date;
  int Weekday;  // 1 = Sunday
  TWeek Week;
};

// The advance warning in days: DaysBefore for a warning, otherwise none.
double LeadDays(const TNotifyInfo& record);

// Whether a pending date reminder fires at this moment by its repetition rule.
bool IsDateReminderDue(const TNotifyInfo& record, const TCheckMoment& moment);

}  // namespace reminder
