#include "core/ical/EventPlan.h"

#include <cmath>

#include "core/ical/Values.h"
#include "core/store/DueRules.h"
#include "core/store/NextDates.h"
#include "core/store/RepeatRule.h"
#include "core/store/RuleText.h"
#include "core/store/Snooze.h"

namespace reminder {

namespace {

constexpr int kDaysPerWeek = 7;
// Feb 29 in a leap year and Mar 1 in a common one, where the module's yearly rule fires
// for a start on Feb 29.
constexpr char kLeapDayRule[] = "FREQ=YEARLY;BYYEARDAY=60";

// The first moment the rule fires, as the module's own search finds it; none when it never
// does.
std::optional<TDateTime> FirstFiring(const TNotifyInfo& record) {
  TNotifyInfo bare = record;
  ClearSnooze(bare);
  const TNextDates next = NextDates(bare, 0, 1);
  if (next.Moments.empty()) return std::nullopt;
  return next.Moments[0];
}

bool SameMonth(const TDateParts& a, const TDateParts& b) {
  return a.Year == b.Year && a.Month == b.Month;
}

// Before Feb 29 (or on it) or after it, in the same year: then the alarm's day and the
// occurrence's day lie the same number of days apart in every year.
bool SameSideOfLeapDay(const TDateParts& a, const TDateParts& b) {
  const auto early = [](const TDateParts& d) { return d.Month <= 2; };
  return a.Year == b.Year && early(a) == early(b);
}

}  // namespace

TEventPlan PlanEvent(const TNotifyInfo& r) {
  TEventPlan plan;
  plan.Start = r.NotifyDate;
  if (r.NotifyKind != nkAtDate) return plan;
  const bool mayFire = r.Notified == 0 && r.ActionKind != akNothing && r.RepeatKind >= rkOnce &&
                       r.RepeatKind <= rkYearly;
  if (const std::optional<TRepeatRule> rule = RuleOf(r)) {
    // Its occurrences are the event's, each alarmed its warning days ahead.
    plan.Rule = FormatRRule(*rule, r.NotifyDate);
    if (mayFire) plan.AlarmDaysAhead = static_cast<int64_t>(LeadDays(r));
    plan.RuleNeverFires = false;
    return plan;
  }
  const std::optional<TDateTime> first = mayFire ? FirstFiring(r) : std::nullopt;
  const bool fires = first.has_value();
  plan.RuleNeverFires = r.Notified == 0 && r.ActionKind != akNothing && !fires;
  const auto lead = static_cast<int64_t>(LeadDays(r));
  // The module's window opens lead days ahead, at the time of day of the reminder.
  const TDateTime opens = r.NotifyDate - static_cast<double>(lead);
  const bool opensInCalendar = IsValidDateTime(opens) && DecodeDate(opens).Year >= 1;
  const TDateParts date = DecodeDate(r.NotifyDate);
  const TDateParts opensOn = DecodeDate(opens);
  int64_t ahead = lead;
  switch (r.RepeatKind) {
    case rkDaily:
      // Daily from its date on: the lead plays no part.
      plan.Rule = "FREQ=DAILY";
      ahead = 0;
      break;
    case rkWeekly: {
      // The module first fires in the week after the window opens and then every seven
      // days; the series starts with that first firing, whole days after the window opens
      // (the check's minute may add up to a minute).
      const double days = first ? std::floor(*first - opens + 0.5) : kDaysPerWeek;
      if (IsValidDateTime(r.NotifyDate + days)) plan.Start = r.NotifyDate + days;
      plan.Rule = std::string("FREQ=WEEKLY;BYDAY=") + WeekdayCode(DayOfWeek(plan.Start));
      break;
    }
    case rkMonthly:
      plan.Rule = "FREQ=MONTHLY";
      // A window within the month opens on its day in every month that has that day, also
      // where the reminder's own day is missing: the event moves to the window's start.
      if (lead < 0 || (lead > 0 && SameMonth(opensOn, date) && date.Day > 28)) {
        if (opensInCalendar) {
          plan.Start = opens;
          ahead = 0;
        }
      }
      break;
    case rkYearly:
      plan.Rule = "FREQ=YEARLY";
      if (opensInCalendar && opensOn.Month == 2 && opensOn.Day == 29) {
        plan.Start = opens;
        plan.Rule = kLeapDayRule;
        ahead = 0;
      } else if (lead != 0 && opensInCalendar &&
                 (!SameSideOfLeapDay(opensOn, date) || (date.Month == 2 && date.Day == 29))) {
        plan.Start = opens;
        ahead = 0;
      }
      break;
    default:
      break;
  }
  if (fires) plan.AlarmDaysAhead = ahead;
  return plan;
}

std::optional<int64_t> LastOccurrenceDay(const TDateParts& start, uint8_t repeat, int64_t count,
                                         bool everyYear) {
  const int64_t first = DaysFromCivil(start.Year, start.Month, start.Day);
  if (repeat == rkDaily) return first + (count - 1);
  if (repeat == rkWeekly) return first + 7 * (count - 1);
  int64_t seen = 0;
  for (int year = start.Year, month = start.Month; year <= 9999;) {
    int m = month;
    int d = start.Day;
    if (everyYear && !IsLeapYear(year)) {
      m = 3;
      d = 1;
    }
    if (d <= DaysInMonth(year, m) && ++seen == count) return DaysFromCivil(year, m, d);
    if (repeat == rkMonthly && month < 12) {
      ++month;
    } else {
      month = repeat == rkMonthly ? 1 : month;
      ++year;
    }
  }
  return std::nullopt;
}

std::string CalendarText(std::string text) {
  for (char& c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && c != '\t' && c != '\r' && c != '\n') || byte == 0x7F) c = ' ';
  }
  return text;
}

std::string FirstLine(const std::string& text) {
  return text.substr(0, text.find_first_of("\r\n"));
}

}  // namespace reminder
