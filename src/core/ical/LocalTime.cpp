#include "core/ical/LocalTime.h"

#include <ctime>

#include "core/ical/Values.h"

namespace reminder {

namespace {

// 1 January 1970 in seconds since 30 December 1899.
constexpr int64_t kUnixEpochSeconds = 25569LL * 86400;

}  // namespace

TDateTime TSystemLocalTime::UtcToLocal(TDateTime utc) {
  if (!IsValidDateTime(utc)) return utc;
  const std::time_t seconds = static_cast<std::time_t>(SecondsOf(utc) - kUnixEpochSeconds);
  const std::tm* local = std::localtime(&seconds);
  if (!local) return utc;
  return EncodeDateTime({local->tm_year + 1900, local->tm_mon + 1, local->tm_mday},
                        {local->tm_hour, local->tm_min, local->tm_sec, 0});
}

TDateTime TSystemLocalTime::LocalToUtc(TDateTime local) {
  if (!IsValidDateTime(local)) return local;
  const TDateParts date = DecodeDate(local);
  const TTimeParts time = DecodeTime(local);
  std::tm parts{};
  parts.tm_year = date.Year - 1900;
  parts.tm_mon = date.Month - 1;
  parts.tm_mday = date.Day;
  parts.tm_hour = time.Hour;
  parts.tm_min = time.Minute;
  parts.tm_sec = time.Second;
  parts.tm_isdst = -1;
  const std::time_t seconds = std::mktime(&parts);
  if (seconds == static_cast<std::time_t>(-1)) return local;
  return FromSeconds(static_cast<int64_t>(seconds) + kUnixEpochSeconds);
}

}  // namespace reminder
