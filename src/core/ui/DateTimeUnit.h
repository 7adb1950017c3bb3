// Pure routines on date texts, time texts and Julian day numbers, for the calendar window.
//
// A date text is day, separator, month, separator, year ("dd.mm.yyyy" with the locale's
// date separator); its compact form drops the separators ("ddmmyyyy"). A time text is
// "hh:mm:ss" with the locale's time separator. Julian day numbers are the astronomers'
// chronological day numbers in the proleptic Gregorian calendar (1 January 2000 is 2451545).
#pragma once

#include <cstdint>
#include <string>

namespace reminder {

// The Julian day number of 30 December 1899, the day a date-time of 0 falls on.
constexpr int32_t kJulianDayOfDateTimeZero = 2415019;

// Inserts separators before the third and sixth character of the result ("ddmmyyyy" becomes
// "dd.mm.yyyy"), but only when the text holds no separator yet.
std::string InsertDateSeparators(const std::string& text, char separator);
std::string RemoveDateSeparators(const std::string& text, char separator);

// Decimal text with at least two digits: 7 gives "07", 2024 gives "2024".
std::string TwoDigitText(int64_t value);

// The time of day a count of seconds reaches from midnight, as "hh:mm:ss"; counts outside
// one day wrap around it (-1 gives "23:59:59", 86400 gives "00:00:00").
std::string SecondsToTimeText(int64_t seconds, char separator);

// Day and month are not checked: a day past the month's end runs on into the following
// month (31 February 2001 gives the number of 3 March 2001), a month past December into
// the following year, and day or month 0 count back from the first.
int32_t DateToJulianDay(uint16_t year, uint16_t month, uint16_t day);

// False, leaving the parts alone, for a number outside 1 January 0001 .. 31 December 9999.
bool JulianDayToDate(int32_t number, uint16_t& year, uint16_t& month, uint16_t& day);

// Reads up to four characters from the 0-based position first as a decimal number: leading
// blanks, then digits only to the part's end.
bool ReadDecimalPart(const std::string& text, size_t first, size_t count, uint16_t& value);

// Reads day, month and year from the date text's compact form (characters 1-2, 3-4 and 5-8);
// each part may start with blanks and must then be digits only. The date is not checked.
bool ReadDateText(const std::string& text, char separator, uint16_t& year, uint16_t& month,
                  uint16_t& day);

// The date text of the day after or before; a text that cannot be read, or a step that
// leaves the years 1 to 9999, gives the text back unchanged.
std::string NextDayText(const std::string& text, char separator);
std::string PreviousDayText(const std::string& text, char separator);

// Days from the first date to the second counting both ends (1 for the same day); 0 when
// either text cannot be read.
int32_t DaysInRange(const std::string& first, const std::string& second, char separator);

}  // namespace reminder
