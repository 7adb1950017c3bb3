// Dates and times as reminderctl takes them, in local time: the German form of the editor's
// date field, "TT.MM.JJJJ hh:mm:ss", or ISO 8601, "JJJJ-MM-TTThh:mm:ss"; the seconds, or the
// whole time, may be left out.
#pragma once

#include <optional>
#include <string>

#include "core/common/DateTime.h"
#include "core/common/FormatSettings.h"

namespace reminder {

// "hh:nn" or "hh:nn:ss" as a fraction of a day.
bool ParseTimeText(const std::string& text, TDateTime& time);

struct TDateAndTime {
  TDateTime Date = 0;             // whole days
  std::optional<TDateTime> Time;  // only where the text gives one
};

// A date with its time where one follows: after blanks in the German form, after a "T" (or
// one blank) in ISO 8601.
bool ParseDateText(const std::string& text, const TFormatSettings& fs, TDateAndTime& result);

// The same as one moment, at midnight where no time is given.
bool ParseMomentText(const std::string& text, const TFormatSettings& fs, TDateTime& moment);

}  // namespace reminder
