#include "core/ui/CalendarRules.h"

#include "core/common/DateTime.h"
#include "core/common/MyTools.h"
#include "core/ui/DateTimeUnit.h"

namespace reminder {

namespace {

const char kFromTimeMessage[] = "Die Uhrzeit im Feld \"von\" ist fehlerhaft!";
const char kToTimeMessage[] = "Die Uhrzeit im Feld \"bis\" ist fehlerhaft!";
const char kEitherTimeMessage[] = "Eine der Uhrzeiten ist fehlerhaft!";

struct TTimeOfDay {
  uint16_t Hours = 0;
  uint16_t Minutes = 0;
  uint16_t Seconds = 0;
  bool IsValid() const { return Hours < 24 && Minutes < 60 && Seconds < 60; }
  int32_t TotalSeconds() const { return (Hours * 60 + Minutes) * 60 + Seconds; }
};

// Hours, minutes and seconds at characters 1-2, 4-5 and 7-8.
bool ReadTimeField(const std::string& text, TTimeOfDay& time) {
  return ReadDecimalPart(text, 0, 2, time.Hours) && ReadDecimalPart(text, 3, 2, time.Minutes) &&
         ReadDecimalPart(text, 6, 2, time.Seconds);
}

}  // namespace

bool IsFieldComplete(const std::string& text, size_t length) {
  return RemoveBlanks(text).size() == length;
}

bool IsValidDateField(const std::string& text) {
  uint16_t day = 0, month = 0, year = 0;
  TDateTime date = 0;
  return ReadDecimalPart(text, 0, 2, day) && ReadDecimalPart(text, 3, 2, month) &&
         ReadDecimalPart(text, 6, 4, year) && TryEncodeDate(year, month, day, date);
}

TButtonChange CheckDateFields(const std::string& own, const std::string& other) {
  if (!IsFieldComplete(own, kDateFieldLength) || !IsValidDateField(own)) {
    return TButtonChange::Disable;
  }
  if (!IsFieldComplete(other, kDateFieldLength)) return TButtonChange::Keep;
  return IsValidDateField(other) ? TButtonChange::Enable : TButtonChange::Disable;
}

std::optional<std::string> StepDateField(const std::string& text, int step, char separator) {
  if (!IsFieldComplete(text, kDateFieldLength)) return std::nullopt;
  return step < 0 ? PreviousDayText(text, separator) : NextDayText(text, separator);
}

std::optional<int32_t> CountDays(const std::string& from, const std::string& to, char separator) {
  uint16_t year = 0, month = 0, day = 0;
  if (!IsFieldComplete(to, kDateFieldLength) || !IsFieldComplete(from, kDateFieldLength) ||
      !ReadDateText(from, separator, year, month, day) ||
      !ReadDateText(to, separator, year, month, day)) {
    return std::nullopt;
  }
  return DaysInRange(from, to, separator) - 1;
}

std::string DayCountText(int32_t days) {
  return std::to_string(days) + " Tag(e)";
}

TTimeFieldCheck CheckTimeField(const std::string& text, TTimeField field) {
  const char* message = field == TTimeField::From ? kFromTimeMessage : kToTimeMessage;
  TTimeOfDay time;
  if (!ReadTimeField(text, time) || !time.IsValid()) return {false, true, message};
  return {true, false, ""};
}

THourCount CountHours(const std::string& from, const std::string& to, char separator) {
  TTimeOfDay start, end;
  if (!ReadTimeField(from, start) || !ReadTimeField(to, end) || !start.IsValid() ||
      !end.IsValid()) {
    return {"", kEitherTimeMessage};
  }
  return {HourCountText(end.TotalSeconds() - start.TotalSeconds(), separator), ""};
}

std::string SignedTimeText(int64_t seconds, char separator) {
  // The magnitude as unsigned, so that even the most negative count has one.
  const uint64_t magnitude =
      seconds < 0 ? 0 - static_cast<uint64_t>(seconds) : static_cast<uint64_t>(seconds);
  return (seconds < 0 ? "-" : "") + TwoDigits(static_cast<int64_t>(magnitude / 3600)) + separator +
         TwoDigits(static_cast<int64_t>(magnitude % 3600 / 60)) + separator +
         TwoDigits(static_cast<int64_t>(magnitude % 60));
}

std::string HourCountText(int64_t seconds, char separator) {
  return SignedTimeText(seconds, separator) + " Stunde(n)";
}

}  // namespace reminder
