#include "core/common/DateTime.h"

#include <cmath>

namespace reminder {

namespace {

// Days from 1 March 0000 based arithmetic (proleptic Gregorian calendar).
constexpr int64_t kUnixEpochDays = 25569;  // 1 January 1970 as a date-time

int64_t DaysSinceUnixEpoch(int year, int month, int day) {
  const int64_t y = static_cast<int64_t>(year) - (month <= 2 ? 1 : 0);
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t mp = (month + 9) % 12;
  const int64_t doy = (153 * mp + 2) / 5 + day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

TDateParts CivilFromDaysSinceUnixEpoch(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  TDateParts parts;
  parts.Day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  parts.Month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  parts.Year = static_cast<int>(yoe + era * 400 + (parts.Month <= 2 ? 1 : 0));
  return parts;
}

}  // namespace

bool IsValidDateTime(TDateTime value) {
  return value >= kMinDateTime && value < kMaxDateTime;
}

bool IsLeapYear(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

int64_t DaysFromCivil(int year, int month, int day) {
  return DaysSinceUnixEpoch(year, month, day) + kUnixEpochDays;
}

bool TryEncodeDate(int year, int month, int day, TDateTime& result) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month)) {
    return false;
  }
  result = static_cast<TDateTime>(DaysFromCivil(year, month, day));
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  return static_cast<TDateTime>(DaysFromCivil(year, month, day));
}

TDateTime EncodeTime(int hour, int minute, int second, int msec) {
  return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + msec) / kMSecsPerDay;
}

TDateTime EncodeDateTime(const TDateParts& date, const TTimeParts& time) {
  const TDateTime day = EncodeDate(date.Year, date.Month, date.Day);
  const TDateTime fraction = EncodeTime(time.Hour, time.Minute, time.Second, time.MSec);
  return day >= 0 ? day + fraction : day - fraction;
}

TDateParts DecodeDate(TDateTime value) {
  if (!IsValidDateTime(value)) return {};
  const int64_t days = static_cast<int64_t>(std::trunc(value));
  return CivilFromDaysSinceUnixEpoch(days - kUnixEpochDays);
}

double TimeOfDay(TDateTime value) {
  if (!IsValidDateTime(value)) return 0.0;
  return std::fabs(value - std::trunc(value));
}

TTimeParts DecodeTime(TDateTime value) {
  int64_t ms = static_cast<int64_t>(std::llround(TimeOfDay(value) * kMSecsPerDay));
  if (ms >= static_cast<int64_t>(kMSecsPerDay)) ms = static_cast<int64_t>(kMSecsPerDay) - 1;
  TTimeParts parts;
  parts.MSec = static_cast<int>(ms % 1000);
  ms /= 1000;
  parts.Second = static_cast<int>(ms % 60);
  ms /= 60;
  parts.Minute = static_cast<int>(ms % 60);
  parts.Hour = static_cast<int>(ms / 60);
  return parts;
}

int DayOfWeek(TDateTime value) {
  if (!IsValidDateTime(value)) return 0;
  // Day 1 (1 January 0001) is a Monday.
  const int64_t sinceYearOne = static_cast<int64_t>(std::trunc(value)) + 693594;
  return static_cast<int>(sinceYearOne % 7) + 1;
}

}  // namespace reminder
