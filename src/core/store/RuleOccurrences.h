// The moments of an extended repetition rule. The reminder's date is the first occurrence
// and counts towards a count; the rule's own moments before it are left out. A month or
// year without the start's day (the 31st, 29 February) has no occurrence.
#pragma once

#include <cstdint>
#include <optional>

#include "core/common/DateTime.h"
#include "core/store/RepeatRule.h"

namespace reminder {

struct TOccurrence {
  TDateTime Moment = 0;
  uint32_t Number = 0;  // 1 for the start
};

// The last occurrence at or before t, and the first after it.
std::optional<TOccurrence> LastOccurrence(const TRepeatRule& rule, TDateTime start, TDateTime t);
std::optional<TOccurrence> NextOccurrence(const TRepeatRule& rule, TDateTime start, TDateTime t);

// Alarms come leadDays (whole days) ahead of their occurrences. Whether the last alarm at
// or before now has not fired yet (lastFired, 0 for never, lies before it); the first
// alarm after now; the last alarm at or before now.
bool RuleAlarmPending(const TRepeatRule& rule, TDateTime start, double leadDays,
                      TDateTime lastFired, TDateTime now);
std::optional<TDateTime> NextAlarm(const TRepeatRule& rule, TDateTime start, double leadDays,
                                   TDateTime now);
std::optional<TDateTime> LastAlarm(const TRepeatRule& rule, TDateTime start, double leadDays,
                                   TDateTime now);

}  // namespace reminder
