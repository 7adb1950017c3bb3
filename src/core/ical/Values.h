// The value types of iCalendar that reminders use: DATE and DATE-TIME, DURATION,
// UTC-OFFSET and the parts of a recurrence rule.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/DateTime.h"

namespace reminder {

struct TICalDateTime {
  TDateParts Date;
  TTimeParts Time;
  bool HasTime = false;  // false for a DATE value
  bool Utc = false;      // ends in "Z"
};

// "yyyymmdd" or "yyyymmddThhmmss" with an optional "Z"; false for a date that does not
// exist. A leap second reads as second 59.
bool ParseICalDateTime(std::string_view text, TICalDateTime& result);
// "yyyymmddThhmmss" of a date-time in 0001..9999, milliseconds dropped.
std::string FormatICalDateTime(TDateTime value);

// Seconds of a DURATION such as "-P3D", "PT15M", "P1W" or "-P1DT2H"; false when it is none.
bool ParseDuration(std::string_view text, int64_t& seconds);
// A whole number of days as a DURATION that runs backwards: 3 gives "-P3D", 0 "PT0S",
// -2 "P2D".
std::string DaysAheadDuration(int64_t days);

// "+hhmm" or "-hhmm[ss]" in seconds.
bool ParseUtcOffset(std::string_view text, int& seconds);

// "FREQ=WEEKLY;BYDAY=MO" as upper-case names and values; false for a part without "=" and
// for a name given twice, which then is repeated (when asked for).
bool ParseRecurrenceRule(std::string_view text, std::map<std::string, std::string>& parts,
                         std::string* repeated = nullptr);

// The comma-separated values of a list.
std::vector<std::string> SplitList(std::string_view list);

// "SU" ... "SA" for 1 = Sunday ... 7 = Saturday, and back (0 for anything else).
const char* WeekdayCode(int dayOfWeek);
int WeekdayFromCode(std::string_view code);

// Date-time arithmetic in whole seconds keeps the calendar values exact.
int64_t ToSeconds(const TDateParts& date, const TTimeParts& time);
// Seconds since 30 December 1899 of a date-time in 0001..9999, milliseconds dropped.
int64_t SecondsOf(TDateTime value);
TDateTime FromSeconds(int64_t seconds);

}  // namespace reminder
