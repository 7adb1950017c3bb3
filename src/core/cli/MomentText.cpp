#include "core/cli/MomentText.h"

#include "core/ui/AddNotifyEventRules.h"

namespace reminder {

namespace {

constexpr size_t kIsoDateLength = 10;  // "JJJJ-MM-TT"

bool Digits(const std::string& text, size_t minLength, size_t maxLength, int& value) {
  if (text.size() < minLength || text.size() > maxLength) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

bool ParseIsoDate(const std::string& text, TDateTime& date) {
  int year = 0;
  int month = 0;
  int day = 0;
  return text.size() == kIsoDateLength && text[4] == '-' && text[7] == '-' &&
         Digits(text.substr(0, 4), 4, 4, year) && Digits(text.substr(5, 2), 2, 2, month) &&
         Digits(text.substr(8, 2), 2, 2, day) && TryEncodeDate(year, month, day, date);
}

}  // namespace

bool ParseTimeText(const std::string& text, TDateTime& time) {
  const size_t first = text.find(':');
  if (first == std::string::npos) return false;
  const size_t second = text.find(':', first + 1);
  int hour = 0;
  int minute = 0;
  int sec = 0;
  if (!Digits(text.substr(0, first), 1, 2, hour) ||
      !Digits(text.substr(first + 1, second - first - 1), 2, 2, minute) ||
      (second != std::string::npos && !Digits(text.substr(second + 1), 2, 2, sec))) {
    return false;
  }
  if (hour > 23 || minute > 59 || sec > 59) return false;
  time = EncodeTime(hour, minute, sec, 0);
  return true;
}

bool ParseDateText(const std::string& text, const TFormatSettings& fs, TDateAndTime& result) {
  TDateTime date = 0;
  std::optional<std::string> timeText;
  if (ParseIsoDate(text.substr(0, kIsoDateLength), date)) {
    if (text.size() > kIsoDateLength) {
      if (text[kIsoDateLength] != 'T' && text[kIsoDateLength] != ' ') return false;
      timeText = text.substr(kIsoDateLength + 1);
    }
  } else {
    const size_t blank = text.find(' ');
    if (!TryDatePickerText(text.substr(0, blank), fs, date)) return false;
    if (blank != std::string::npos) {
      const size_t timeStart = text.find_first_not_of(' ', blank);
      timeText = timeStart == std::string::npos ? "" : text.substr(timeStart);
    }
  }
  TDateTime time = 0;
  if (timeText && !ParseTimeText(*timeText, time)) return false;
  result.Date = date;
  result.Time = timeText ? std::optional<TDateTime>(time) : std::nullopt;
  return true;
}

bool ParseMomentText(const std::string& text, const TFormatSettings& fs, TDateTime& moment) {
  TDateAndTime parts;
  if (!ParseDateText(text, fs, parts)) return false;
  const TDateTime time = parts.Time.value_or(0);
  moment = parts.Date < 0 ? parts.Date - time : parts.Date + time;
  return true;
}

}  // namespace reminder
