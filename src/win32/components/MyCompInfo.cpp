#include "win32/components/MyCompInfo.h"

#include <cstdio>
#include <cstring>

#include "core/common/FormatDateTime.h"
#include "win32/system/LocaleFormat.h"
#include "win32/system/Win32Clock.h"

// The build time: a build may pass its own stamp, in the compiler's format
// ("Nov  8 2002 00:53:41"); otherwise the time this file was compiled.
#ifndef REMINDER_BUILD_STAMP
#define REMINDER_BUILD_STAMP __DATE__ " " __TIME__
#endif

namespace reminder {

namespace {

// Reads the compiler's "Mmm dd yyyy hh:mm:ss"; 0 when it cannot.
TDateTime ParseBuildStamp(const char* stamp) {
  char month[4] = {};
  int day = 0, year = 0, hour = 0, minute = 0, second = 0;
  if (std::sscanf(stamp, "%3s %d %d %d:%d:%d", month, &day, &year, &hour, &minute, &second) != 6) {
    return 0;
  }
  static const char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
  const char* found = std::strstr(kMonths, month);
  TDateTime date = 0;
  if (!found || !TryEncodeDate(year, static_cast<int>(found - kMonths) / 3 + 1, day, date)) {
    return 0;
  }
  return date + EncodeTime(hour, minute, second, 0);
}

std::string FormatWithPattern(const std::string& pattern, TDateTime value) {
  return FormatDateTime(pattern, value, LocaleFormatSettings());
}

}  // namespace

TCompileInfo::TCompileInfo()
    : pattern_(CompileDatePattern(format_, dateOnly_, LocaleFormatSettings().DateSeparator)) {
  TWin32Clock clock;
  compileDate_ = FormatWithPattern(pattern_, clock.Now());
}

void TCompileInfo::SetCompanyName(const std::string& name) {
  companyName_ = name;
}

void TCompileInfo::SetCompileDate(const std::string& date) {
  compileDate_ = date;
}

void TCompileInfo::SetDateOnly(bool dateOnly) {
  dateOnly_ = dateOnly;
}

void TCompileInfo::SetFormat(TDateTimeFormat format) {
  format_ = format;
  pattern_ = CompileDatePattern(format_, dateOnly_, LocaleFormatSettings().DateSeparator);
}

void TCompileInfo::SetVersion(const std::string& version) {
  version_ = version;
}

TCompileInfo MainCompileInfo() {
  TCompileInfo info;
  info.SetCompanyName("Orvandel");
  info.SetVersion("1.0");
  info.SetFormat(TDateTimeFormat::tfDefault);
  const TDateTime built = ParseBuildStamp(REMINDER_BUILD_STAMP);
  if (built != 0) info.SetCompileDate(FormatWithPattern(info.Pattern(), built));
  info.SetUpdate(true);
  return info;
}

}  // namespace reminder
