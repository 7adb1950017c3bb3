#include "core/ical/Values.h"

#include <cmath>

#include "core/ical/ContentLine.h"

namespace reminder {

namespace {

constexpr int64_t kSecondsPerDay = 86400;
// Ten thousand years: more than any date of the calendar apart.
constexpr int64_t kMaxDurationSeconds = 10000 * 366 * kSecondsPerDay;

bool ReadDigits(std::string_view text, size_t pos, size_t count, int& value) {
  if (pos + count > text.size()) return false;
  value = 0;
  for (size_t i = pos; i < pos + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

void AppendPadded(std::string& out, int value, int width) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < width) out.append(width - digits.size(), '0');
  out += digits;
}

constexpr const char* kWeekdayCodes[7] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};

}  // namespace

bool ParseICalDateTime(std::string_view text, TICalDateTime& result) {
  result = {};
  TDateTime unused;
  if (!ReadDigits(text, 0, 4, result.Date.Year) || !ReadDigits(text, 4, 2, result.Date.Month) ||
      !ReadDigits(text, 6, 2, result.Date.Day) ||
      !TryEncodeDate(result.Date.Year, result.Date.Month, result.Date.Day, unused)) {
    return false;
  }
  if (text.size() == 8) return true;
  if (text.size() < 15 || text[8] != 'T' || !ReadDigits(text, 9, 2, result.Time.Hour) ||
      !ReadDigits(text, 11, 2, result.Time.Minute) ||
      !ReadDigits(text, 13, 2, result.Time.Second)) {
    return false;
  }
  if (text.size() == 16 && text[15] == 'Z') {
    result.Utc = true;
  } else if (text.size() != 15) {
    return false;
  }
  if (result.Time.Hour > 23 || result.Time.Minute > 59 || result.Time.Second > 60) return false;
  if (result.Time.Second == 60) result.Time.Second = 59;
  result.HasTime = true;
  return true;
}

std::string FormatICalDateTime(TDateTime value) {
  const TDateParts date = DecodeDate(value);
  const TTimeParts time = DecodeTime(value);
  std::string out;
  out.reserve(15);
  AppendPadded(out, date.Year, 4);
  AppendPadded(out, date.Month, 2);
  AppendPadded(out, date.Day, 2);
  out += 'T';
  AppendPadded(out, time.Hour, 2);
  AppendPadded(out, time.Minute, 2);
  AppendPadded(out, time.Second, 2);
  return out;
}

bool ParseDuration(std::string_view text, int64_t& seconds) {
  size_t pos = 0;
  int sign = 1;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    sign = text[pos] == '-' ? -1 : 1;
    ++pos;
  }
  if (pos == text.size() || text[pos] != 'P') return false;
  ++pos;
  bool inTime = false;
  bool any = false;
  int64_t total = 0;
  while (pos < text.size()) {
    if (text[pos] == 'T' && !inTime) {
      inTime = true;
      ++pos;
      continue;
    }
    int64_t number = 0;
    const size_t digitsStart = pos;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
      if (number > 1000000000) return false;
      number = number * 10 + (text[pos++] - '0');
    }
    if (pos == digitsStart || pos == text.size()) return false;
    const char unit = text[pos++];
    int64_t factor;
    if (!inTime && unit == 'W') {
      factor = 7 * kSecondsPerDay;
    } else if (!inTime && unit == 'D') {
      factor = kSecondsPerDay;
    } else if (inTime && unit == 'H') {
      factor = 3600;
    } else if (inTime && unit == 'M') {
      factor = 60;
    } else if (inTime && unit == 'S') {
      factor = 1;
    } else {
      return false;
    }
    total += number * factor;
    // Any number of parts, each up to its bound, must not overflow the sum.
    if (total > kMaxDurationSeconds) return false;
    any = true;
  }
  if (!any) return false;
  seconds = sign * total;
  return true;
}

std::string DaysAheadDuration(int64_t days) {
  if (days == 0) return "PT0S";
  return days > 0 ? "-P" + std::to_string(days) + "D" : "P" + std::to_string(-days) + "D";
}

bool ParseUtcOffset(std::string_view text, int& seconds) {
  if (text.size() != 5 && text.size() != 7) return false;
  if (text[0] != '+' && text[0] != '-') return false;
  int hours = 0;
  int minutes = 0;
  int secs = 0;
  if (!ReadDigits(text, 1, 2, hours) || !ReadDigits(text, 3, 2, minutes) ||
      (text.size() == 7 && !ReadDigits(text, 5, 2, secs))) {
    return false;
  }
  if (hours > 23 || minutes > 59 || secs > 59) return false;
  seconds = (text[0] == '-' ? -1 : 1) * (hours * 3600 + minutes * 60 + secs);
  return true;
}

bool ParseRecurrenceRule(std::string_view text, std::map<std::string, std::string>& parts,
                         std::string* repeated) {
  parts.clear();
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find(';', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view part = text.substr(pos, end - pos);
    pos = end + 1;
    if (part.empty()) continue;
    const size_t equals = part.find('=');
    if (equals == std::string_view::npos || equals == 0) return false;
    std::string name = UpperAscii(part.substr(0, equals));
    // Which of the two would hold is nowhere said.
    if (parts.count(name) != 0) {
      if (repeated) *repeated = std::move(name);
      return false;
    }
    parts[std::move(name)] = UpperAscii(part.substr(equals + 1));
  }
  return !parts.empty();
}

std::vector<std::string> SplitList(std::string_view list) {
  std::vector<std::string> values;
  size_t pos = 0;
  while (pos <= list.size()) {
    size_t end = list.find(',', pos);
    if (end == std::string_view::npos) end = list.size();
    values.emplace_back(list.substr(pos, end - pos));
    pos = end + 1;
  }
  return values;
}

const char* WeekdayCode(int dayOfWeek) {
  return dayOfWeek >= 1 && dayOfWeek <= 7 ? kWeekdayCodes[dayOfWeek - 1] : "";
}

int WeekdayFromCode(std::string_view code) {
  for (int i = 0; i < 7; ++i) {
    if (code == kWeekdayCodes[i]) return i + 1;
  }
  return 0;
}

int64_t ToSeconds(const TDateParts& date, const TTimeParts& time) {
  return DaysFromCivil(date.Year, date.Month, date.Day) * kSecondsPerDay + time.Hour * 3600 +
         time.Minute * 60 + time.Second;
}

int64_t SecondsOf(TDateTime value) {
  TTimeParts time = DecodeTime(value);
  time.MSec = 0;
  return ToSeconds(DecodeDate(value), time);
}

TDateTime FromSeconds(int64_t seconds) {
  // Floor division, so that a time before 30 December 1899 keeps its calendar day.
  int64_t days = seconds / kSecondsPerDay;
  int64_t rest = seconds % kSecondsPerDay;
  if (rest < 0) {
    rest += kSecondsPerDay;
    --days;
  }
  // Decode through the day's noon, which lies clear of the day's boundaries.
  const TDateParts date = DecodeDate(static_cast<TDateTime>(days) + (days < 0 ? -0.5 : 0.5));
  const int hours = static_cast<int>(rest / 3600);
  const int minutes = static_cast<int>(rest / 60 % 60);
  return EncodeDateTime(date, {hours, minutes, static_cast<int>(rest % 60), 0});
}

}  // namespace reminder
