// Date-time texts from format codes. Codes are case-insensitive:
//   c        short date, a blank and the long time; the time is left out at midnight
//   d dd     day of month; ddd dddd short and long day name; ddddd short date; dddddd long date
//   m mm     month (minutes when it directly follows an hour code); mmm mmmm month names
//   yy yyyy  year in two or four digits
//   h hh n nn s ss z zzz   hour, minute, second, millisecond
//   t tt     short and long time
//   am/pm a/p ampm         twelve-hour clock markers
//   / :      the date and time separators
//   "..." '...'            literal text
// Every other character stands for itself. A date-time outside 0001..9999 gives "".
#pragma once

#include <string>

#include "core/common/DateTime.h"
#include "core/common/FormatSettings.h"

namespace reminder {

std::string FormatDateTime(const std::string& format, TDateTime value, const TFormatSettings& fs);

// Appends to out; for repeated formatting without allocations.
void AppendDateTime(std::string& out, const std::string& format, TDateTime value,
                    const TFormatSettings& fs);

}  // namespace reminder
