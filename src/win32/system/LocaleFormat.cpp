#include "win32/system/LocaleFormat.h"

#include <windows.h>

#include <cstdlib>

namespace reminder {

namespace {

std::string LocaleText(LCTYPE type, const std::string& fallback) {
  char buffer[256];
  const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer);
  return length > 1 ? std::string(buffer, length - 1) : fallback;
}

int LocaleNumber(LCTYPE type) {
  return atoi(LocaleText(type, "0").c_str());
}

}  // namespace

TFormatSettings LocaleFormatSettings() {
  TFormatSettings fs = GermanFormatSettings();
  fs.ShortDateFormat = LocaleText(LOCALE_SSHORTDATE, fs.ShortDateFormat);
  fs.LongDateFormat = LocaleText(LOCALE_SLONGDATE, fs.LongDateFormat);
  // The time formats are built from the locale's clock settings rather than taken from its
  // pattern, whose "tt" would mean the long time here.
  const std::string hour = LocaleNumber(LOCALE_ITLZERO) == 0 ? "h" : "hh";
  std::string prefix, postfix;
  if (LocaleNumber(LOCALE_ITIME) == 0) {
    if (LocaleNumber(LOCALE_ITIMEMARKPOSN) == 0)
      postfix = " ampm";
    else
      prefix = "ampm ";
  }
  fs.ShortTimeFormat = prefix + hour + ":mm" + postfix;
  fs.LongTimeFormat = prefix + hour + ":mm:ss" + postfix;
  fs.DateSeparator = LocaleText(LOCALE_SDATE, ".")[0];
  fs.TimeSeparator = LocaleText(LOCALE_STIME, ":")[0];
  fs.TimeAMString = LocaleText(LOCALE_S1159, "");
  fs.TimePMString = LocaleText(LOCALE_S2359, "");
  for (int i = 0; i < 12; ++i) {
    fs.ShortMonthNames[i] = LocaleText(LOCALE_SABBREVMONTHNAME1 + i, fs.ShortMonthNames[i]);
    fs.LongMonthNames[i] = LocaleText(LOCALE_SMONTHNAME1 + i, fs.LongMonthNames[i]);
  }
  // The locale counts days from Monday, the formats from Sunday.
  for (int i = 0; i < 7; ++i) {
    const int sundayBased = (i + 1) % 7;
    fs.ShortDayNames[sundayBased] =
        LocaleText(LOCALE_SABBREVDAYNAME1 + i, fs.ShortDayNames[sundayBased]);
    fs.LongDayNames[sundayBased] = LocaleText(LOCALE_SDAYNAME1 + i, fs.LongDayNames[sundayBased]);
  }
  return fs;
}

}  // namespace reminder
