#include "core/store/DueRules.h"

#include <cmath>

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

bool IsLaterWeek(TWeek week, TWeek reference) {
  return week.Year > reference.Year || (week.Year == reference.Year && week.Week > reference.Week);
}

TCheckMoment::TCheckMoment(TDateTime now)
    : Now(now),
      Time(TimeOfDay(now)),
      Date(DecodeDate(now)),
      Weekday(DayOfWeek(now)),
      Week(WeekNum(now)) {}

double LeadDays(const TNotifyInfo& record) {
  return record.ActionKind == akWarning ? static_cast<double>(record.DaysBefore) : 0.0;
}

namespace {

bool NeverFired(const TNotifyInfo& r) { return r.LastNotified == 0.0; }

bool SameDay(TDateTime value, const TCheckMoment& m) {
  const TDateParts d = DecodeDate(value);
  return d.Year == m.Date.Year && d.Month == m.Date.Month && d.Day == m.Date.Day;
}

bool SameMonth(TDateTime value, const TCheckMoment& m) {
  const TDateParts d = DecodeDate(value);
  return d.Year == m.Date.Year && d.Month == m.Date.Month;
}

int MonthDayKey(const TDateParts& d) { return d.Month * 100 + d.Day; }

}  // namespace

bool IsDateReminderDue(const TNotifyInfo& r, const TCheckMoment& m) {
  if (r.NotifyKind != nkAtDate || r.RepeatKind == rkNever || r.ActionKind == akNothing) {
    return false;
  }
  const TDateTime start = r.NotifyDate - LeadDays(r);
  switch (r.RepeatKind) {
    case rkOnce:
      return start <= m.Now;
    case rkDaily:
      return m.Now >= r.NotifyDate && m.Time >= TimeOfDay(r.NotifyDate) &&
             (NeverFired(r) || !SameDay(r.LastNotified, m));
    case rkMonthly: {
      if (!(start <= m.Now) || m.Time < TimeOfDay(r.NotifyDate)) return false;
      if (!NeverFired(r) && SameMonth(r.LastNotified, m)) return false;
      return DecodeDate(start).Day <= m.Date.Day && m.Date.Day <= DecodeDate(r.NotifyDate).Day;
    }
    case rkYearly:
      return start <= m.Now && m.Time >= TimeOfDay(r.NotifyDate) &&
             (NeverFired(r) || DecodeDate(r.LastNotified).Year != m.Date.Year) &&
             MonthDayKey(m.Date) >= MonthDayKey(DecodeDate(start));
    case rkWeekly:
      return start <= m.Now && m.Time >= TimeOfDay(r.NotifyDate) &&
             m.Weekday >= DayOfWeek(start) &&
             IsLaterWeek(m.Week, WeekNum(NeverFired(r) ? start : r.LastNotified));
    default:
      return false;
  }
}

}  // namespace reminder
