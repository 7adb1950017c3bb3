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

#include <cstdint>
#include <string>
#include <vector>

#include "core/common/DateTime.h"
#include "core/common/FormatSettings.h"

namespace reminder {

// A format read once, for the texts of many date-times: a list of a thousand rows spends
// its time on the values, not on reading the format again for each. The settings must
// outlive it.
class TCompiledDateFormat {
 public:
  // rememberLast keeps the last value's text for the next call, for values that repeat
  // from one call to the next (the reminders that fired at one check share its moment); an
  // instance that remembers is for one thread.
  TCompiledDateFormat(const std::string& format, const TFormatSettings& fs,
                      bool rememberLast = false);
  // Appends the text of value to out; nothing for a date-time outside the calendar.
  void Append(std::string& out, TDateTime value) const;
  std::string Text(TDateTime value) const;

 private:
  enum class TStepKind : uint8_t {
    Literal,
    Year,
    Month,
    MonthName,
    Day,
    DayName,
    Hour,
    Minute,
    Second,
    MSec,
    Marker,          // Text before noon, Other from noon on
    SkipAtMidnight,  // the next Count steps are left out when the time is exactly midnight
  };
  struct TStep {
    TStepKind Kind;
    uint8_t Count = 0;  // digits; for names 3 short, 4 long; for the hour 12 or 24
    std::string Text;
    std::string Other;
  };

  void Compile(const char* format, int level);
  void AddLiteral(const std::string& text);

  void Format(std::string& out, TDateTime value) const;

  const TFormatSettings& fs_;
  std::vector<TStep> steps_;
  bool rememberLast_;
  mutable bool hasLast_ = false;
  mutable TDateTime lastValue_ = 0;
  mutable std::string lastText_;
};

std::string FormatDateTime(const std::string& format, TDateTime value, const TFormatSettings& fs);

// Appends to out.
void AppendDateTime(std::string& out, const std::string& format, TDateTime value,
                    const TFormatSettings& fs);

}  // namespace reminder
