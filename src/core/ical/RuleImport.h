// An event's RRULE as the module's extended repetition rule, for the rules its plain
// repetitions cannot follow (an interval, weekdays, an ordinal weekday, the month's last
// day, an hourly rule, an end).
#pragma once

#include <map>
#include <optional>
#include <string>

#include "core/common/DateTime.h"
#include "core/ical/LocalTime.h"
#include "core/store/RepeatRule.h"

namespace reminder {

// parts: the rule's names and values in upper case; start: the event's local start. An
// UNTIL in UTC is taken in local time. On failure why names, in German, the part the
// module cannot fire.
std::optional<TRepeatRule> ExtendedRuleOf(const std::map<std::string, std::string>& parts,
                                          TDateTime start, ILocalTime& localTime, std::string& why);

// The moment of the last occurrence of a rule with a count or an end; none without one.
std::optional<TDateTime> RuleSeriesEnd(const TRepeatRule& rule, TDateTime start);

}  // namespace reminder
