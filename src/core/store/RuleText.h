// The extended repetition rule as an RRULE value (RFC 5545) and as the short German text
// of the list's "Wie oft?" column.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/common/DateTime.h"
#include "core/store/RepeatRule.h"

namespace reminder {

// Reads the subset the module fires; start is the reminder's date, which a yearly rule's
// BYMONTH and a BYMONTHDAY of its own day must agree with. On failure error names, in
// German, the part that cannot be fired.
std::optional<TRepeatRule> ParseRRule(std::string_view text, TDateTime start, std::string& error);
// The RRULE value of a valid rule ("FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE").
std::string FormatRRule(const TRepeatRule& rule, TDateTime start);
// "alle 2 Wochen Mo, Mi", "monatlich am 2. Dienstag", "werktags", "stündlich alle 2 Std.".
std::string RuleShortText(const TRepeatRule& rule);

}  // namespace reminder
