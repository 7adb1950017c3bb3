#include "core/ui/DateTimeUnit.h"

#include <algorithm>

#include "core/common/DateTime.h"
#include "core/common/MyTools.h"

namespace reminder {

namespace {

std::string StepDayText(const std::string& text, char separator, int step) {
  uint16_t year = 0, month = 0, day = 0;
  if (!ReadDateText(text, separator, year, month, day) ||
      !JulianDayToDate(DateToJulianDay(year, month, day) + step, year, month, day)) {
    return text;
  }
  // Four year digits keep the text a complete date field for every year from 1 to 9999.
  return TwoDigitText(day) + separator + TwoDigitText(month) + separator + FourDigits(year);
}

}  // namespace

bool ReadDecimalPart(const std::string& text, size_t first, size_t count, uint16_t& value) {
  if (first >= text.size() || count > 4) return false;
  const std::string part = text.substr(first, count);
  size_t pos = part.find_first_not_of(' ');
  if (pos == std::string::npos) return false;
  uint16_t number = 0;
  for (; pos < part.size(); ++pos) {
    if (part[pos] < '0' || part[pos] > '9') return false;
    number = static_cast<uint16_t>(number * 10 + (part[pos] - '0'));
  }
  value = number;
  return true;
}

std::string InsertDateSeparators(const std::string& text, char separator) {
  if (text.find(separator) != std::string::npos) return text;
  std::string result = text;
  result.insert(std::min<size_t>(2, result.size()), 1, separator);
  result.insert(std::min<size_t>(5, result.size()), 1, separator);
  return result;
}

std::string RemoveDateSeparators(const std::string& text, char separator) {
  std::string result = text;
  result.erase(std::remove(result.begin(), result.end(), separator), result.end());
  return result;
}

std::string TwoDigitText(int64_t value) {
  return TwoDigits(value);
}

std::string SecondsToTimeText(int64_t seconds, char separator) {
  const int64_t inDay = (seconds % 86400 + 86400) % 86400;
  return TwoDigitText(inDay / 3600) + separator + TwoDigitText(inDay % 3600 / 60) + separator +
         TwoDigitText(inDay % 60);
}

int32_t DateToJulianDay(uint16_t year, uint16_t month, uint16_t day) {
  int y = year;
  int m = month;
  if (m > 12) {
    y += (m - 1) / 12;
    m = (m - 1) % 12 + 1;
  }
  // The civil-date arithmetic takes month 0 as December of the year before.
  return static_cast<int32_t>(DaysFromCivil(y, m, day) + kJulianDayOfDateTimeZero);
}

bool JulianDayToDate(int32_t number, uint16_t& year, uint16_t& month, uint16_t& day) {
  const TDateTime value = static_cast<TDateTime>(int64_t{number} - kJulianDayOfDateTimeZero);
  if (!IsValidDateTime(value)) return false;
  const TDateParts parts = DecodeDate(value);
  year = static_cast<uint16_t>(parts.Year);
  month = static_cast<uint16_t>(parts.Month);
  day = static_cast<uint16_t>(parts.Day);
  return true;
}

bool ReadDateText(const std::string& text, char separator, uint16_t& year, uint16_t& month,
                  uint16_t& day) {
  const std::string compact = RemoveDateSeparators(text, separator);
  uint16_t y = 0, m = 0, d = 0;
  if (!ReadDecimalPart(compact, 4, 4, y) || !ReadDecimalPart(compact, 2, 2, m) ||
      !ReadDecimalPart(compact, 0, 2, d)) {
    return false;
  }
  year = y;
  month = m;
  day = d;
  return true;
}

std::string NextDayText(const std::string& text, char separator) {
  return StepDayText(text, separator, 1);
}

std::string PreviousDayText(const std::string& text, char separator) {
  return StepDayText(text, separator, -1);
}

int32_t DaysInRange(const std::string& first, const std::string& second, char separator) {
  uint16_t y1 = 0, m1 = 0, d1 = 0, y2 = 0, m2 = 0, d2 = 0;
  if (!ReadDateText(first, separator, y1, m1, d1) || !ReadDateText(second, separator, y2, m2, d2)) {
    return 0;
  }
  return DateToJulianDay(y2, m2, d2) - DateToJulianDay(y1, m1, d1) + 1;
}

}  // namespace reminder
