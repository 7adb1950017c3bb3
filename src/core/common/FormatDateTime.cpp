#include "core/common/FormatDateTime.h"

#include <algorithm>
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

// The pieces of one date-time gathered on the stack and handed to a string at once: a
// date-time is a dozen short pieces, and appending each to a string costs more than
// formatting it.
class TPieces {
 public:
  explicit TPieces(std::string& out) : out_(out) {}
  ~TPieces() { out_.append(buffer_, used_); }
  TPieces(const TPieces&) = delete;
  TPieces& operator=(const TPieces&) = delete;

  void Add(const char* text, size_t size) {
    // Most pieces between the numbers are a single separator.
    if (size == 1 && used_ < sizeof buffer_) {
      buffer_[used_++] = *text;
      return;
    }
    if (size > sizeof buffer_ - used_) {
      out_.append(buffer_, used_);
      used_ = 0;
      if (size > sizeof buffer_) {
        out_.append(text, size);
        return;
      }
    }
    std::memcpy(buffer_ + used_, text, size);
    used_ += size;
  }
  void Add(const std::string& text) { Add(text.data(), text.size()); }

  // At least digits digits (up to 15), with leading zeros, written in place.
  void Number(int value, int digits) {
    unsigned v = static_cast<unsigned>(value < 0 ? -value : value);
    // Most numbers of a date-time are two digits: day, month, hours, minutes, seconds.
    if (digits == 2 && v < 100 && sizeof buffer_ - used_ >= 2) {
      buffer_[used_++] = static_cast<char>('0' + v / 10);
      buffer_[used_++] = static_cast<char>('0' + v % 10);
      return;
    }
    size_t length = 1;
    for (unsigned rest = v / 10; rest != 0; rest /= 10) ++length;
    length = std::max(length, static_cast<size_t>(std::clamp(digits, 0, 15)));
    if (length > sizeof buffer_ - used_) {
      out_.append(buffer_, used_);
      used_ = 0;
    }
    for (size_t i = length; i > 0; --i) {
      buffer_[used_ + i - 1] = static_cast<char>('0' + v % 10);
      v /= 10;
    }
    used_ += length;
  }

 private:
  std::string& out_;
  char buffer_[96];
  size_t used_ = 0;
};

bool StartsWithNoCase(const char* text, const char* prefix) {
  for (; *prefix; ++text, ++prefix) {
    if (Upper(*text) != Upper(*prefix)) return false;
  }
  return true;
}

// Consumes a run of the same letter (in either case) and returns its length.
int CountRun(const char*& p, char starter) {
  const char upper = Upper(starter);
  int count = 0;
  while (*p && Upper(*p) == upper) {
    ++p;
    ++count;
  }
  return count;
}

uint8_t Clipped(int count, int most) {
  return static_cast<uint8_t>(count > most ? most : count);
}

// Whether a twelve-hour marker follows the hour code before the next hour code.
bool HasTwelveHourMarker(const char* p) {
  for (; *p; ++p) {
    const char c = Upper(*p);
    if (c == 'H') return false;
    if (c == '"' || c == '\'') {
      const char quote = *p++;
      while (*p && *p != quote) ++p;
      if (!*p) return false;
      continue;
    }
    if (StartsWithNoCase(p, "am/pm") || StartsWithNoCase(p, "a/p") || StartsWithNoCase(p, "ampm")) {
      return true;
    }
  }
  return false;
}

}  // namespace

TCompiledDateFormat::TCompiledDateFormat(const std::string& format, const TFormatSettings& fs,
                                         bool rememberLast)
    : fs_(fs), rememberLast_(rememberLast) {
  Compile(format.c_str(), 0);
}

void TCompiledDateFormat::AddLiteral(const std::string& text) {
  if (text.empty()) return;
  if (!steps_.empty() && steps_.back().Kind == TStepKind::Literal) {
    steps_.back().Text += text;
    return;
  }
  steps_.push_back({TStepKind::Literal, 0, text, {}});
}

void TCompiledDateFormat::Compile(const char* format, int level) {
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
      case 'Y':
        steps_.push_back({TStepKind::Year, uint8_t(CountRun(p, starter) <= 2 ? 2 : 4), {}, {}});
        break;
      case 'M': {
        const int count = CountRun(p, starter);
        if (count <= 2) {
          steps_.push_back({TStepKind::Month, uint8_t(count), {}, {}});
        } else {
          steps_.push_back({TStepKind::MonthName, Clipped(count, 4), {}, {}});
        }
        break;
      }
      case 'D': {
        const int count = CountRun(p, starter);
        if (count <= 2) {
          steps_.push_back({TStepKind::Day, uint8_t(count), {}, {}});
        } else if (count <= 4) {
          steps_.push_back({TStepKind::DayName, uint8_t(count), {}, {}});
        } else {
          Compile(count == 5 ? fs_.ShortDateFormat.c_str() : fs_.LongDateFormat.c_str(), level + 1);
        }
        break;
      }
      case 'H': {
        const int count = CountRun(p, starter);
        steps_.push_back(
            {TStepKind::Hour, Clipped(count, 2), HasTwelveHourMarker(p) ? "12" : "", {}});
        break;
      }
      case 'N':
        steps_.push_back({TStepKind::Minute, Clipped(CountRun(p, starter), 2), {}, {}});
        break;
      case 'S':
        steps_.push_back({TStepKind::Second, Clipped(CountRun(p, starter), 2), {}, {}});
        break;
      case 'Z':
        steps_.push_back({TStepKind::MSec, uint8_t(CountRun(p, starter) > 1 ? 3 : 1), {}, {}});
        break;
      case 'T': {
        const int count = CountRun(p, starter);
        Compile(count == 1 ? fs_.ShortTimeFormat.c_str() : fs_.LongTimeFormat.c_str(), level + 1);
        break;
      }
      case 'C': {
        CountRun(p, starter);
        Compile(fs_.ShortDateFormat.c_str(), level + 1);
        const size_t gate = steps_.size();
        steps_.push_back({TStepKind::SkipAtMidnight, 0, {}, {}});
        steps_.push_back({TStepKind::Literal, 0, " ", {}});
        Compile(fs_.LongTimeFormat.c_str(), level + 1);
        steps_[gate].Count = Clipped(static_cast<int>(steps_.size() - gate - 1), 255);
        break;
      }
      case 'A':
        if (StartsWithNoCase(p, "am/pm")) {
          // The marker keeps the letter case the format gives it.
          steps_.push_back({TStepKind::Marker, 0, std::string(p, 2), std::string(p + 3, 2)});
          p += 5;
        } else if (StartsWithNoCase(p, "a/p")) {
          steps_.push_back({TStepKind::Marker, 0, std::string(1, p[0]), std::string(1, p[2])});
          p += 3;
        } else if (StartsWithNoCase(p, "ampm")) {
          steps_.push_back({TStepKind::Marker, 0, fs_.TimeAMString, fs_.TimePMString});
          p += 4;
        } else {
          AddLiteral(std::string(1, *p++));
        }
        break;
      case '/':
        AddLiteral(std::string(1, fs_.DateSeparator));
        ++p;
        break;
      case ':':
        AddLiteral(std::string(1, fs_.TimeSeparator));
        ++p;
        break;
      case '\'':
      case '"': {
        ++p;
        std::string text;
        while (*p && *p != starter) text.push_back(*p++);
        if (*p) ++p;
        AddLiteral(text);
        break;
      }
      default:
        AddLiteral(std::string(1, starter));
        ++p;
        break;
    }
  }
}

void TCompiledDateFormat::Append(std::string& out, TDateTime value) const {
  if (!IsValidDateTime(value)) return;
  if (!rememberLast_) {
    Format(out, value);
    return;
  }
  if (!hasLast_ || value != lastValue_) {
    lastText_.clear();
    Format(lastText_, value);
    lastValue_ = value;
    hasLast_ = true;
  }
  out += lastText_;
}

void TCompiledDateFormat::Format(std::string& out, TDateTime value) const {
  const TDateParts date = DecodeDate(value);
  const TTimeParts time = DecodeTime(value);
  TPieces pieces(out);
  for (size_t i = 0; i < steps_.size(); ++i) {
    const TStep& step = steps_[i];
    switch (step.Kind) {
      case TStepKind::Literal:
        pieces.Add(step.Text);
        break;
      case TStepKind::Year:
        pieces.Number(step.Count == 2 ? date.Year % 100 : date.Year, step.Count);
        break;
      case TStepKind::Month:
        pieces.Number(date.Month, step.Count);
        break;
      case TStepKind::MonthName:
        pieces.Add((step.Count == 3 ? fs_.ShortMonthNames : fs_.LongMonthNames)[date.Month - 1]);
        break;
      case TStepKind::Day:
        pieces.Number(date.Day, step.Count);
        break;
      case TStepKind::DayName: {
        const int weekday = DayOfWeek(EncodeDate(date.Year, date.Month, date.Day));
        pieces.Add((step.Count == 3 ? fs_.ShortDayNames : fs_.LongDayNames)[weekday - 1]);
        break;
      }
      case TStepKind::Hour: {
        int hour = time.Hour;
        if (!step.Text.empty()) {
          hour %= 12;
          if (hour == 0) hour = 12;
        }
        pieces.Number(hour, step.Count);
        break;
      }
      case TStepKind::Minute:
        pieces.Number(time.Minute, step.Count);
        break;
      case TStepKind::Second:
        pieces.Number(time.Second, step.Count);
        break;
      case TStepKind::MSec:
        pieces.Number(time.MSec, step.Count);
        break;
      case TStepKind::Marker:
        pieces.Add(time.Hour >= 12 ? step.Other : step.Text);
        break;
      case TStepKind::SkipAtMidnight:
        if (time.Hour == 0 && time.Minute == 0 && time.Second == 0) i += step.Count;
        break;
    }
  }
}

std::string TCompiledDateFormat::Text(TDateTime value) const {
  std::string out;
  Append(out, value);
  return out;
}

void AppendDateTime(std::string& out, const std::string& format, TDateTime value,
                    const TFormatSettings& fs) {
  if (!IsValidDateTime(value)) return;
  TCompiledDateFormat(format, fs).Append(out, value);
}

std::string FormatDateTime(const std::string& format, TDateTime value, const TFormatSettings& fs) {
  std::string out;
  AppendDateTime(out, format, value, fs);
  return out;
}

}  // namespace reminder
