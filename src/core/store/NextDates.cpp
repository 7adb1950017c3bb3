#include "core/store/NextDates.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/store/DueRules.h"
#include "core/store/RepeatRule.h"
#include "core/store/RuleOccurrences.h"
#include "core/store/Snooze.h"

namespace reminder {

namespace {

constexpr int kSecondsPerDay = 24 * 60 * 60;
constexpr int kLastSecond = kSecondsPerDay - 1;
// A rule that fires at all fires again within two years of a day it could start on: a
// yearly one that fired early in a year fires next late in the following one.
constexpr int64_t kSearchDays = 3 * 366;
constexpr auto kEndDay = static_cast<int64_t>(kMaxDateTime);

TDateTime CheckAt(int64_t day, int second) {
  return static_cast<TDateTime>(day) + EncodeTime(second / 3600, second / 60 % 60, second % 60, 0);
}

TDateTime CheckAt(int64_t second) {
  return CheckAt(second / kSecondsPerDay, static_cast<int>(second % kSecondsPerDay));
}

int64_t FirstCheck(TDateTime from) {
  if (!(from > 0)) return 0;
  if (from >= kMaxDateTime) return kEndDay * kSecondsPerDay;
  auto second = static_cast<int64_t>(from * kSecondsPerDay);
  // The product may round either way.
  while (second > 0 && CheckAt(second - 1) >= from) --second;
  while (CheckAt(second) < from) ++second;
  return second;
}

std::optional<int64_t> DayOf(TDateTime value) {
  if (!IsValidDateTime(value)) return std::nullopt;
  return static_cast<int64_t>(std::trunc(value));
}

// No day before this one can fire by the rule: a daily rule waits for its date, the others
// for their start, a weekly one for the week after its reference. Unknown for a value
// outside the calendar.
std::optional<int64_t> FirstRuleDay(const TNotifyInfo& r, TDateTime from) {
  if (const std::optional<TRepeatRule> rule = RuleOf(r)) {
    // An extended rule names its next alarm, however far ahead; a missed one fires at once.
    if (RuleAlarmPending(*rule, r.NotifyDate, LeadDays(r), r.LastNotified, from)) {
      return DayOf(from);
    }
    const std::optional<TDateTime> next = NextAlarm(*rule, r.NotifyDate, LeadDays(r), from);
    return next ? DayOf(*next) : std::optional<int64_t>(kEndDay);
  }
  const TDateTime start = r.NotifyDate - LeadDays(r);
  if (r.RepeatKind == rkDaily) return DayOf(r.NotifyDate);
  const std::optional<int64_t> startDay = DayOf(start);
  if (r.RepeatKind != rkWeekly || !startDay) return startDay;
  const std::optional<int64_t> referenceDay = DayOf(r.LastNotified != 0.0 ? r.LastNotified : start);
  return referenceDay ? std::max(*startDay, *referenceDay + 1) : startDay;
}

TNeverReason RuleNeverFires(const TNotifyInfo& r) {
  if (r.Notified != 0) return TNeverReason::Finished;
  if (r.NotifyKind == nkNever) return TNeverReason::StoredOnly;
  if (r.NotifyKind == nkDialUp) return TNeverReason::DialUp;
  if (r.NotifyKind == nkAtDate && r.ActionKind == akNothing) return TNeverReason::ActionNothing;
  return TNeverReason::None;
}

// What the scheduler's check decides for the record at now, a dial-up connection aside.
bool FiresAt(const TNotifyInfo& r, TDateTime now) {
  return (r.Notified == 0 && IsDateReminderDue(r, TCheckMoment(now))) || IsSnoozeDue(r, now);
}

void ApplyFiring(TNotifyInfo& r, TDateTime now) {
  const bool byRule = r.Notified == 0 && IsDateReminderDue(r, TCheckMoment(now));
  if (IsSnoozeDue(r, now)) ClearSnooze(r);
  if (byRule) MarkFired(r, now);
}

std::optional<int64_t> NextFiring(const TNotifyInfo& r, int64_t from, bool ruleMayFire) {
  const int64_t fromDay = from / kSecondsPerDay;
  const std::optional<TDateTime> snooze = SnoozeMoment(r);
  const std::optional<int64_t> snoozeDay = snooze ? DayOf(*snooze) : std::nullopt;
  int64_t first = kEndDay;
  if (ruleMayFire) first = FirstRuleDay(r, CheckAt(from)).value_or(fromDay);
  if (snoozeDay) first = std::min(first, *snoozeDay);
  const int64_t begin = std::max(fromDay, first);
  int64_t end = begin + kSearchDays;
  if (snoozeDay) end = std::max(end, *snoozeDay + 1);
  end = std::min(end, kEndDay);
  for (int64_t day = begin; day < end; ++day) {
    if (!FiresAt(r, CheckAt(day, kLastSecond))) continue;
    int low = day == fromDay ? static_cast<int>(from % kSecondsPerDay) : 0;
    int high = kLastSecond;
    while (low < high) {
      const int middle = (low + high) / 2;
      if (FiresAt(r, CheckAt(day, middle))) {
        high = middle;
      } else {
        low = middle + 1;
      }
    }
    return day * kSecondsPerDay + low;
  }
  return std::nullopt;
}

}  // namespace

TNextDates NextDates(const TNotifyInfo& record, TDateTime from, size_t count) {
  TNextDates result;
  TNotifyInfo r = record;
  int64_t next = FirstCheck(from);
  while (result.Moments.size() < count) {
    const TNeverReason reason = RuleNeverFires(r);
    if (reason != TNeverReason::None && !SnoozeMoment(r)) {
      result.Reason = reason;
      break;
    }
    const std::optional<int64_t> second = NextFiring(r, next, reason == TNeverReason::None);
    if (!second) {
      result.Reason = reason == TNeverReason::None ? TNeverReason::NoMatch : reason;
      break;
    }
    const TDateTime moment = CheckAt(*second);
    ApplyFiring(r, moment);
    result.Moments.push_back(moment);
    next = *second + 1;
  }
  return result;
}

}  // namespace reminder
