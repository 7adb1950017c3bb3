#include "core/store/DueRules.h"

#include <cmath>
#include <limits>
#include <optional>

#include "core/store/RepeatRule.h"
#include "core/store/RuleOccurrences.h"

namespace reminder {

TWeek WeekNum(TDateTime value) {
  const int weekday = DayOfWeek(value);
  if (weekday == 0) return {};
  const int sinceMonday = (weekday - 2 + 7) % 7;
  const TDateTime thursday = value - sinceMonday + 7 - 4;
  const TDateParts date = DecodeDate(thursday);
  if (date.Year == 0) return {};
  const TDateTime januaryFirst = EncodeDate(date.Year, 1, 1);
  const auto days = static_cast<int64_t>(std::trunc(thursday - januaryFirst));
  return {static_cast<uint16_t>(days / 7 + 1), static_cast<uint16_t>(date.Year)};
}

TCheckMoment::TCheckMoment(TDateTime now)
    : Now(now), Time(TimeOfDay(now)), Date(DecodeDate(now)), Weekday(DayOfWeek(now)) {
  Day = static_cast<int64_t>(std::trunc(now));
  WeekStart = Day - (Weekday - 2 + 7) % 7;
  MonthStart = DaysFromCivil(Date.Year, Date.Month, 1);
  NextMonthStart = MonthStart + DaysInMonth(Date.Year, Date.Month);
  YearStart = DaysFromCivil(Date.Year, 1, 1);
  NextYearStart = DaysFromCivil(Date.Year + 1, 1, 1);
}

double LeadDays(const TNotifyInfo& record) {
  return record.ActionKind == akWarning ? static_cast<double>(record.DaysBefore) : 0.0;
}

namespace {

bool NeverFired(const TNotifyInfo& r) {
  return r.LastNotified == 0.0;
}

// Whether the calendar day of value lies in [from, to). A value outside the calendar
// lies in no range, as its empty date text matches no other.
bool DayIn(TDateTime value, int64_t from, int64_t to) {
  if (!IsValidDateTime(value)) return false;
  const auto day = static_cast<int64_t>(std::trunc(value));
  return day >= from && day < to;
}

int MonthDayKey(const TDateParts& d) {
  return d.Month * 100 + d.Day;
}

// Sunday ends an ISO week, so "on or after Sunday" would take every day of a week; a
// reminder started on a Sunday keeps to Sundays.
bool WeekdayReached(int weekday, int startWeekday) {
  return startWeekday == 1 ? weekday == 1 : weekday >= startWeekday;
}

// A monthly warning whose lead reaches back across the month's turn: its window runs from
// the start's day of one month to the date's day of the next. The month (as a count of
// months) whose date a firing on this day warns of; none between the windows.
std::optional<int> WarnedMonth(const TDateParts& d, int fromDay, int toDay) {
  const int month = d.Year * 12 + d.Month - 1;
  if (d.Day <= toDay) return month;
  if (d.Day >= fromDay) return month + 1;
  return std::nullopt;
}

bool MonthlyWindowDue(const TNotifyInfo& r, const TCheckMoment& m, TDateTime start) {
  const int fromDay = DecodeDate(start).Day;
  const int toDay = DecodeDate(r.NotifyDate).Day;
  if (fromDay <= toDay || start >= r.NotifyDate) {
    return (NeverFired(r) || !DayIn(r.LastNotified, m.MonthStart, m.NextMonthStart)) &&
           fromDay <= m.Date.Day && m.Date.Day <= toDay;
  }
  const std::optional<int> warned = WarnedMonth(m.Date, fromDay, toDay);
  if (!warned) return false;
  // One firing per date: the one on the 27th warned of the 5th, so the 2nd stays quiet.
  return NeverFired(r) || !IsValidDateTime(r.LastNotified) ||
         WarnedMonth(DecodeDate(r.LastNotified), fromDay, toDay) != warned;
}

}  // namespace

bool IsDateReminderDue(const TNotifyInfo& r, const TCheckMoment& m) {
  if (r.NotifyKind != nkAtDate || r.RepeatKind == rkNever || r.ActionKind == akNothing) {
    return false;
  }
  if (const std::optional<TRepeatRule> rule = RuleOf(r)) {
    // Each occurrence's alarm fires once; after a pause only the latest missed one does.
    return RuleAlarmPending(*rule, r.NotifyDate, LeadDays(r), r.LastNotified, m.Now);
  }
  const TDateTime start = r.NotifyDate - LeadDays(r);
  // No repetition fires before its first warning.
  if (!(start <= m.Now)) return false;
  switch (r.RepeatKind) {
    case rkOnce:
      return start <= m.Now;
    case rkDaily:
      return m.Now >= r.NotifyDate && m.Time >= TimeOfDay(r.NotifyDate) &&
             (NeverFired(r) || !DayIn(r.LastNotified, m.Day, m.Day + 1));
    case rkMonthly:
      return start <= m.Now && m.Time >= TimeOfDay(r.NotifyDate) && MonthlyWindowDue(r, m, start);
    case rkYearly:
      return start <= m.Now && m.Time >= TimeOfDay(r.NotifyDate) &&
             (NeverFired(r) || !DayIn(r.LastNotified, m.YearStart, m.NextYearStart)) &&
             MonthDayKey(m.Date) >= MonthDayKey(DecodeDate(start));
    case rkWeekly: {
      // ISO weeks are runs of days from Monday on: a reference in an earlier week lies
      // before this week's Monday.
      const TDateTime reference = NeverFired(r) ? start : r.LastNotified;
      return start <= m.Now && m.Time >= TimeOfDay(r.NotifyDate) &&
             WeekdayReached(m.Weekday, DayOfWeek(start)) &&
             !DayIn(reference, m.WeekStart, std::numeric_limits<int64_t>::max());
    }
    default:
      return false;
  }
}

void MarkFired(TNotifyInfo& record, TDateTime now) {
  if (record.NotifyKind == nkDialUp || record.RepeatKind == rkOnce) {
    record.Notified = 1;
  } else {
    record.Notified = 0;
    record.LastNotified = now;
    // A rule whose count or end is reached is done, as a once-only reminder.
    if (const std::optional<TRepeatRule> rule = RuleOf(record)) {
      if (!NextAlarm(*rule, record.NotifyDate, LeadDays(record), now)) record.Notified = 1;
    }
  }
}

}  // namespace reminder
