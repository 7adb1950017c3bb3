#include "core/common/FormatSettings.h"

namespace reminder {

TFormatSettings GermanFormatSettings() {
  TFormatSettings fs;
  fs.ShortDateFormat = "dd.mm.yyyy";
  fs.LongDateFormat = "dddd, d. mmmm yyyy";
  fs.ShortTimeFormat = "hh:nn";
  fs.LongTimeFormat = "hh:nn:ss";
  fs.DateSeparator = '.';
  fs.TimeSeparator = ':';
  fs.ShortMonthNames = {"Jan", "Feb", "Mrz", "Apr", "Mai", "Jun",
                        "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
  fs.LongMonthNames = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                       "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
  fs.ShortDayNames = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
  fs.LongDayNames = {"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                     "Donnerstag", "Freitag", "Samstag"};
  return fs;
}

}  // namespace reminder
