#include "core/common/FormatDateTime.h"

#include <cctype>
#include <cstring>

namespace reminder {

namespace {

// Nested formats (a short date inside "c") may not nest further, so that a format that
// names itself cannot recurse without end.
constexpr int kMaxNesting = 2;

char Upper(char c) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

void AppendNumber(std::string& out, int value, int digits) {
  char buffer[16];
  int length = 0;
  unsigned v = static_cast<unsigned>(value < 0 ? -value : value);
  do {
    buffer[length++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v != 0);
  while (length < digits) buffer[length++] = '0';
  while (length > 0) out.push_back(buffer[--length]);
}

bool StartsWithNoCase(const char* text, const char* prefix) {
  for (; *prefix; ++text, ++prefix) {
    if (Upper(*text) != Upper(*prefix)) return false;
  }
  return true;
}

class Formatter {
 public:
  Formatter(std::string& out, TDateTime value, const TFormatSettings& fs)
      : out_(out), date_(DecodeDate(value)), time_(DecodeTime(value)), fs_(fs) {}

  void Append(const char* format, int level) {
    if (level >= kMaxNesting) return;
    char lastToken = ' ';
    const char* p = format;
    while (*p) {
      const char starter = *p;
      char token = Upper(starter);
      if (token >= 'A' && token <= 'Z') {
        if (token == 'M' && lastToken == 'H') token = 'N';
        lastToken = token;
      }
      switch (token) {
        case 'Y': {
          const int count = CountRun(p, starter);
          if (count <= 2)
            AppendNumber(out_, date_.Year % 100, 2);
          else
            AppendNumber(out_, date_.Year, 4);
          break;
        }
        case 'M': {
          const int count = CountRun(p, starter);
          if (count <= 2)
            AppendNumber(out_, date_.Month, count);
          else if (count == 3)
            out_ += fs_.ShortMonthNames[date_.Month - 1];
          else
            out_ += fs_.LongMonthNames[date_.Month - 1];
          break;
        }
        case 'D': {
          const int count = CountRun(p, starter);
          const int weekday = DayOfWeek(EncodeDate(date_.Year, date_.Month, date_.Day));
          if (count <= 2)
            AppendNumber(out_, date_.Day, count);
          else if (count == 3)
            out_ += fs_.ShortDayNames[weekday - 1];
          else if (count == 4)
            out_ += fs_.LongDayNames[weekday - 1];
          else if (count == 5)
            Append(fs_.ShortDateFormat.c_str(), level + 1);
          else
            Append(fs_.LongDateFormat.c_str(), level + 1);
          break;
        }
        case 'H': {
          const int count = CountRun(p, starter);
          int hour = time_.Hour;
          if (HasTwelveHourMarker(p)) {
            hour %= 12;
            if (hour == 0) hour = 12;
          }
          AppendNumber(out_, hour, count > 2 ? 2 : count);
          break;
        }
        case 'N': {
          const int count = CountRun(p, starter);
          AppendNumber(out_, time_.Minute, count > 2 ? 2 : count);
          break;
        }
        case 'S': {
          const int count = CountRun(p, starter);
          AppendNumber(out_, time_.Second, count > 2 ? 2 : count);
          break;
        }
        case 'Z': {
          const int count = CountRun(p, starter);
          AppendNumber(out_, time_.MSec, count > 1 ? 3 : 1);
          break;
        }
        case 'T': {
          const int count = CountRun(p, starter);
          Append(count == 1 ? fs_.ShortTimeFormat.c_str() : fs_.LongTimeFormat.c_str(), level + 1);
          break;
        }
        case 'C': {
          CountRun(p, starter);
          Append(fs_.ShortDateFormat.c_str(), level + 1);
          if (time_.Hour != 0 || time_.Minute != 0 || time_.Second != 0) {
            out_.push_back(' ');
            Append(fs_.LongTimeFormat.c_str(), level + 1);
          }
          break;
        }
        case 'A':
          AppendMarker(p);
          break;
        case '/':
          out_.push_back(fs_.DateSeparator);
          ++p;
          break;
        case ':':
          out_.push_back(fs_.TimeSeparator);
          ++p;
          break;
        case '\'':
        case '"': {
          ++p;
          while (*p && *p != starter) out_.push_back(*p++);
          if (*p) ++p;
          break;
        }
        default:
          out_.push_back(starter);
          ++p;
          break;
      }
    }
  }

 private:
  // Consumes a run of the same letter (in either case) and returns its length.
  static int CountRun(const char*& p, char starter) {
    const char upper = Upper(starter);
    int count = 0;
    while (*p && Upper(*p) == upper) {
      ++p;
      ++count;
    }
    return count;
  }

  // Whether a twelve-hour marker follows the hour code before the next hour code.
  static bool HasTwelveHourMarker(const char* p) {
    for (; *p; ++p) {
      const char c = Upper(*p);
      if (c == 'H') return false;
      if (c == '"' || c == '\'') {
        const char quote = *p++;
        while (*p && *p != quote) ++p;
        if (!*p) return false;
        continue;
      }
      if (StartsWithNoCase(p, "am/pm") || StartsWithNoCase(p, "a/p") ||
          StartsWithNoCase(p, "ampm")) {
        return true;
      }
    }
    return false;
  }

  void AppendMarker(const char*& p) {
    const bool pm = time_.Hour >= 12;
    if (StartsWithNoCase(p, "am/pm")) {
      // The marker keeps the letter case the format gives it.
      out_.append(pm ? p + 3 : p, 2);
      p += 5;
    } else if (StartsWithNoCase(p, "a/p")) {
      const char c = pm ? p[2] : p[0];
      out_.push_back(c);
      p += 3;
    } else if (StartsWithNoCase(p, "ampm")) {
      out_ += pm ? fs_.TimePMString : fs_.TimeAMString;
      p += 4;
    } else {
      out_.push_back(*p++);
    }
  }

  std::string& out_;
  TDateParts date_;
  TTimeParts time_;
  const TFormatSettings& fs_;
};

}  // namespace

void AppendDateTime(std::string& out, const std::string& format, TDateTime value,
                    const TFormatSettings& fs) {
  if (!IsValidDateTime(value)) return;
  Formatter(out, value, fs).Append(format.c_str(), 0);
}

std::string FormatDateTime(const std::string& format, TDateTime value, const TFormatSettings& fs) {
  std::string out;
  AppendDateTime(out, format, value, fs);
  return out;
}

}  // namespace reminder
