#include "core/store/RuleText.h"

#include <array>
#include <cstdio>
#include <vector>

namespace reminder {

namespace {

constexpr std::array<const char*, 7> kCodes = {"MO", "TU", "WE", "TH", "FR", "SA", "SU"};
constexpr std::array<const char*, 7> kShort = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};
constexpr std::array<const char*, 7> kLong = {"Montag",  "Dienstag", "Mittwoch", "Donnerstag",
                                              "Freitag", "Samstag",  "Sonntag"};
constexpr std::array<const char*, 5> kFreqs = {"HOURLY", "DAILY", "WEEKLY", "MONTHLY", "YEARLY"};
constexpr uint8_t kWorkdays = 0x1F;

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  size_t from = 0;
  for (size_t at = text.find(separator); at != std::string_view::npos;
       at = text.find(separator, from)) {
    parts.push_back(text.substr(from, at - from));
    from = at + 1;
  }
  parts.push_back(text.substr(from));
  return parts;
}

// A whole number of up to 5 digits with an optional sign.
bool ParseNumber(std::string_view text, int& value) {
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 5) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  return true;
}

int WeekdayIndex(std::string_view code) {
  for (size_t i = 0; i < kCodes.size(); ++i) {
    if (code == kCodes[i]) return static_cast<int>(i);
  }
  return -1;
}

// YYYYMMDD or YYYYMMDDTHHMMSS, local time; a date alone takes in its whole day.
std::optional<TDateTime> ParseUntil(std::string_view text) {
  int year = 0, month = 0, day = 0, hour = 23, minute = 59, second = 59;
  const auto digits = [&](size_t at, size_t count, int& value) {
    return at + count <= text.size() && ParseNumber(text.substr(at, count), value) &&
           text[at] != '-' && text[at] != '+';
  };
  if (!digits(0, 4, year) || !digits(4, 2, month) || !digits(6, 2, day)) return std::nullopt;
  if (text.size() != 8) {
    if (text.size() != 15 || text[8] != 'T' || !digits(9, 2, hour) || !digits(11, 2, minute) ||
        !digits(13, 2, second) || hour > 23 || minute > 59 || second > 59) {
      return std::nullopt;
    }
  }
  TDateTime date = 0;
  if (!TryEncodeDate(year, month, day, date)) return std::nullopt;
  return date + EncodeTime(hour, minute, second, 0);
}

std::string Number(int value) {
  return std::to_string(value);
}

std::string WeekdayList(uint8_t weekdays) {
  std::string text;
  for (int w = 0; w < 7; ++w) {
    if (((weekdays >> w) & 1) == 0) continue;
    if (!text.empty()) text += ", ";
    text += kShort[w];
  }
  return text;
}

int OnlyWeekday(uint8_t weekdays) {
  int w = 0;
  while (w < 7 && ((weekdays >> w) & 1) == 0) ++w;
  return w;
}

}  // namespace

std::optional<TRepeatRule> ParseRRule(std::string_view text, TDateTime start, std::string& error) {
  const TDateParts date = DecodeDate(start);
  TRepeatRule rule;
  bool hasFreq = false;
  int byMonth = 0;
  int byMonthDay = 0;
  const auto refuse = [&](std::string_view part, const char* why) {
    error = "Regelteil \"" + std::string(part) + "\" " + why;
    return std::nullopt;
  };
  for (std::string_view part : Split(text, ';')) {
    const size_t eq = part.find('=');
    if (eq == std::string_view::npos) return refuse(part, "ist nicht lesbar");
    const std::string_view name = part.substr(0, eq);
    const std::string_view value = part.substr(eq + 1);
    int number = 0;
    if (name == "FREQ") {
      size_t i = 0;
      while (i < kFreqs.size() && value != kFreqs[i]) ++i;
      if (i == kFreqs.size()) return refuse(part, "wird nicht unterstützt");
      rule.Freq = static_cast<TRuleFreq>(i + 1);
      hasFreq = true;
    } else if (name == "INTERVAL") {
      if (!ParseNumber(value, number) || number < 1 || number > kMaxRuleInterval) {
        return refuse(part, "wird nicht unterstützt (1 bis 999)");
      }
      rule.Interval = static_cast<uint16_t>(number);
    } else if (name == "COUNT") {
      if (!ParseNumber(value, number) || number < 1 || number > kMaxRuleCount) {
        return refuse(part, "wird nicht unterstützt (1 bis 9999)");
      }
      rule.Count = static_cast<uint16_t>(number);
    } else if (name == "UNTIL") {
      rule.Until = ParseUntil(value);
      if (!rule.Until) return refuse(part, "ist kein Datum in Ortszeit (JJJJMMTT[THHMMSS])");
    } else if (name == "BYDAY") {
      for (std::string_view day : Split(value, ',')) {
        const size_t codeAt = day.size() >= 2 ? day.size() - 2 : 0;
        const int weekday = WeekdayIndex(day.substr(codeAt));
        if (weekday < 0) return refuse(part, "ist nicht lesbar");
        if (codeAt > 0) {
          if (!ParseNumber(day.substr(0, codeAt), number) || rule.Ordinal != 0 ||
              !(number == -1 || (number >= 1 && number <= 4))) {
            return refuse(part, "wird nicht unterstützt (nur ein Wochentag mit 1 bis 4 oder -1)");
          }
          rule.Ordinal = static_cast<int8_t>(number);
        }
        rule.Weekdays = static_cast<uint8_t>(rule.Weekdays | (1 << weekday));
      }
    } else if (name == "BYMONTHDAY") {
      if (!ParseNumber(value, number) || (number != -1 && number != date.Day)) {
        return refuse(part, "wird nicht unterstützt (nur -1 oder der Tag des Termins)");
      }
      byMonthDay = number;
    } else if (name == "BYMONTH") {
      if (!ParseNumber(value, number) || number != date.Month) {
        return refuse(part, "wird nicht unterstützt (nur der Monat des Termins)");
      }
      byMonth = number;
    } else if (name == "WKST") {
      if (value != "MO") return refuse(part, "wird nicht unterstützt (nur MO)");
    } else {
      return refuse(part, "wird nicht unterstützt");
    }
  }
  if (!hasFreq) {
    error = "Der Regel fehlt FREQ";
    return std::nullopt;
  }
  rule.LastDayOfMonth = byMonthDay == -1;
  const bool monthly = rule.Freq == TRuleFreq::Monthly || rule.Freq == TRuleFreq::Yearly;
  if (byMonth != 0 && rule.Freq != TRuleFreq::Yearly) {
    return refuse("BYMONTH", "wird nur jährlich unterstützt");
  }
  if (rule.Weekdays != 0 && rule.Ordinal == 0 && monthly) {
    return refuse("BYDAY", "wird monatlich und jährlich nur mit einer Ordnungszahl unterstützt");
  }
  if (rule.Ordinal != 0 && !monthly) {
    return refuse("BYDAY", "mit Ordnungszahl wird nur monatlich und jährlich unterstützt");
  }
  if (rule.Weekdays != 0 && rule.Freq == TRuleFreq::Hourly) {
    return refuse("BYDAY", "wird stündlich nicht unterstützt");
  }
  if (rule.LastDayOfMonth && (!monthly || rule.Weekdays != 0)) {
    return refuse("BYMONTHDAY=-1", "wird nur monatlich und jährlich ohne BYDAY unterstützt");
  }
  if (rule.Count != 0 && rule.Until) return refuse("COUNT", "und UNTIL schließen sich aus");
  if (!IsValidRule(rule)) {
    error = "Die Regel wird nicht unterstützt";
    return std::nullopt;
  }
  return rule;
}

std::string FormatRRule(const TRepeatRule& rule, TDateTime start) {
  std::string text = "FREQ=" + std::string(kFreqs[static_cast<size_t>(rule.Freq) - 1]);
  if (rule.Interval != 1) text += ";INTERVAL=" + Number(rule.Interval);
  const bool yearly = rule.Freq == TRuleFreq::Yearly;
  const TDateParts date = DecodeDate(start);
  // A day that some months lack is named, so that every reader skips those months, as
  // RFC 5545 asks, rather than moving to a neighbouring day.
  const bool rareDay = rule.Ordinal == 0 && !rule.LastDayOfMonth && date.Day > 28 &&
                       (yearly || rule.Freq == TRuleFreq::Monthly);
  if ((rule.Ordinal != 0 || rule.LastDayOfMonth || rareDay) && yearly) {
    text += ";BYMONTH=" + Number(date.Month);
  }
  if (rareDay) text += ";BYMONTHDAY=" + Number(date.Day);
  if (rule.Ordinal != 0) {
    text += ";BYDAY=" + Number(rule.Ordinal) + kCodes[OnlyWeekday(rule.Weekdays)];
  } else if (rule.Weekdays != 0) {
    std::string days;
    for (int w = 0; w < 7; ++w) {
      if (((rule.Weekdays >> w) & 1) != 0)
        days += (days.empty() ? "" : ",") + std::string(kCodes[w]);
    }
    text += ";BYDAY=" + days;
  }
  if (rule.LastDayOfMonth) text += ";BYMONTHDAY=-1";
  if (rule.Count != 0) text += ";COUNT=" + Number(rule.Count);
  if (rule.Until) {
    const TDateParts d = DecodeDate(*rule.Until);
    const TTimeParts t = DecodeTime(*rule.Until);
    char until[32];
    std::snprintf(until, sizeof until, ";UNTIL=%04d%02d%02dT%02d%02d%02d", d.Year, d.Month, d.Day,
                  t.Hour, t.Minute, t.Second);
    text += until;
  }
  return text;
}

std::string RuleShortText(const TRepeatRule& rule) {
  const int n = rule.Interval;
  const bool every = n == 1;
  std::string text;
  switch (rule.Freq) {
    case TRuleFreq::Hourly:
      text = every ? "stündlich" : "stündlich alle " + Number(n) + " Std.";
      break;
    case TRuleFreq::Daily:
      if (rule.Weekdays == kWorkdays && every) {
        text = "werktags";
      } else {
        text = every ? "täglich" : "alle " + Number(n) + " Tage";
        if (rule.Weekdays != 0) text += " " + WeekdayList(rule.Weekdays);
      }
      break;
    case TRuleFreq::Weekly:
      text = every ? "wöchentlich" : "alle " + Number(n) + " Wochen";
      if (rule.Weekdays != 0) text += " " + WeekdayList(rule.Weekdays);
      break;
    case TRuleFreq::Monthly:
    case TRuleFreq::Yearly: {
      const bool monthly = rule.Freq == TRuleFreq::Monthly;
      text = every ? (monthly ? "monatlich" : "jährlich")
                   : "alle " + Number(n) + (monthly ? " Monate" : " Jahre");
      if (rule.LastDayOfMonth) text += " am letzten Tag";
      if (rule.Ordinal != 0) {
        const std::string day = kLong[OnlyWeekday(rule.Weekdays)];
        text +=
            rule.Ordinal < 0 ? " am letzten " + day : " am " + Number(rule.Ordinal) + ". " + day;
      }
      break;
    }
  }
  if (rule.Count != 0) text += ", " + Number(rule.Count) + "-mal";
  if (rule.Until) {
    const TDateParts d = DecodeDate(*rule.Until);
    char until[24];
    std::snprintf(until, sizeof until, ", bis %02d.%02d.%04d", d.Day, d.Month, d.Year);
    text += until;
  }
  return text;
}

}  // namespace reminder
