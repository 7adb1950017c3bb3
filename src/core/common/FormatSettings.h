// The texts dates and times are formatted with. The shell fills them from the user's
// locale; the German defaults serve the tests and the command-line tools.
#pragma once

#include <array>
#include <string>

namespace reminder {

struct TFormatSettings {
  std::string ShortDateFormat;
  std::string LongDateFormat;
  std::string ShortTimeFormat;
  std::string LongTimeFormat;
  char DateSeparator = '.';
  char TimeSeparator = ':';
  std::string TimeAMString;
  std::string TimePMString;
  std::array<std::string, 12> ShortMonthNames;
  std::array<std::string, 12> LongMonthNames;
  std::array<std::string, 7> ShortDayNames;  // index 0 = Sunday
  std::array<std::string, 7> LongDayNames;
};

TFormatSettings GermanFormatSettings();

}  // namespace reminder
