// Date-times as the system stores them: days since 30 December 1899 in a double,
// the fraction being the time of day. All values are local time.
#pragma once

#include <cstdint>

namespace reminder {

using TDateTime = double;

// 1 January 0001 and the first moment after 31 December 9999: the range a date-time
// can be decoded in.
constexpr TDateTime kMinDateTime = -693593.0;
constexpr TDateTime kMaxDateTime = 2958466.0;
constexpr double kMSecsPerDay = 86400000.0;

struct TDateParts {
  int Year = 0;  // 0 for a date-time outside the decodable range
  int Month = 0;
  int Day = 0;
};

struct TTimeParts {
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  int MSec = 0;
};

bool IsValidDateTime(TDateTime value);
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Whole days since 30 December 1899 of a civil date; the date is not checked.
int64_t DaysFromCivil(int year, int month, int day);
// False (and no value) when the date does not exist.
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int msec);
TDateTime EncodeDateTime(const TDateParts& date, const TTimeParts& time);

// The calendar day is the whole part taken toward zero; outside the range all parts are 0.
TDateParts DecodeDate(TDateTime value);
// The time of day of the fraction's magnitude, rounded to milliseconds.
TTimeParts DecodeTime(TDateTime value);
// The time-of-day fraction (magnitude of the fractional part).
double TimeOfDay(TDateTime value);
// 1 = Sunday ... 7 = Saturday; 0 outside the range.
int DayOfWeek(TDateTime value);

}  // namespace reminder
