// What the calendar window decides about its day counter, hour counter and year field:
// when a field is complete and valid, what the buttons do, and the texts of the results.
// The window reads its controls, calls these and shows what comes back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace reminder {

constexpr size_t kDateFieldLength = 10;  // "dd.mm.yyyy"
constexpr size_t kTimeFieldLength = 8;   // "hh:mm:ss"
constexpr size_t kYearFieldLength = 4;

// A field is complete when it holds its full length without counting blanks, so a blank
// in place of an optional first digit leaves it incomplete.
bool IsFieldComplete(const std::string& text, size_t length);

// Day, month and year at characters 1-2, 4-5 and 7-10 form an existing date of 1 to 9999.
bool IsValidDateField(const std::string& text);

enum class TButtonChange { Keep, Enable, Disable };

// The day counter's button after a date field changed or was left: disabled when the own
// field is incomplete or invalid or the other one is invalid, enabled when both are valid,
// kept as it is while the other field is still incomplete.
TButtonChange CheckDateFields(const std::string& own, const std::string& other);

// The text a spin button puts into a date field (step +1 or -1), or nothing when the field
// is incomplete. The date is not checked first: 31.02.2001 steps up to 04.03.2001.
std::optional<std::string> StepDateField(const std::string& text, int step, char separator);

// The day counter: days from "vom" to "bis" (0 for the same day, negative when "bis" lies
// before), or nothing when a field is incomplete or unreadable, which disables the button.
std::optional<int32_t> CountDays(const std::string& from, const std::string& to, char separator);
std::string DayCountText(int32_t days);  // "365 Tag(e)"

enum class TTimeField { From, To };

struct TTimeFieldCheck {
  bool EnableButton = false;
  bool Refocus = false;  // the time is wrong: after the message the focus goes back into it
  std::string Message;   // empty when nothing is to be shown
};

// The hour counter's check when a time field is left.
TTimeFieldCheck CheckTimeField(const std::string& text, TTimeField field);

struct THourCount {
  std::string Label;    // the hour result, when both times are good
  std::string Message;  // otherwise the message to show; the label stays as it is
};

// The hour counter: the signed difference "bis" minus "von" of two times of day, without
// a wrap at midnight (22:00:00 to 01:30:00 gives -20:30:00 Stunde(n)).
THourCount CountHours(const std::string& from, const std::string& to, char separator);

// "-" for a negative count, then hours, minutes and seconds of its magnitude (at least two
// digits each): -5400 gives "-01:30:00", 3723 gives "01:02:03".
std::string SignedTimeText(int64_t seconds, char separator);
std::string HourCountText(int64_t seconds, char separator);  // "... Stunde(n)"

}  // namespace reminder
