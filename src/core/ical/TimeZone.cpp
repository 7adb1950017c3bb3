#include "core/ical/TimeZone.h"

#include <limits>
#include <map>
#include <string>
#include <vector>

#include "core/ical/Values.h"

namespace reminder {

namespace {

struct TObservance {
  int OffsetFrom = 0;
  int OffsetTo = 0;
  TICalDateTime Start;
  int64_t StartSeconds = 0;
  std::map<std::string, std::string> Rule;  // empty without a usable yearly rule
  std::vector<int64_t> Dates;               // RDATE
};

int FirstNumber(const std::string& list) {
  try {
    return std::stoi(list.substr(0, list.find(',')));
  } catch (...) {
    return 0;
  }
}

std::vector<int> Numbers(const std::string& list) {
  std::vector<int> numbers;
  for (const std::string& text : SplitList(list)) {
    try {
      numbers.push_back(std::stoi(text));
    } catch (...) {
      // Not a number: no day of the month.
    }
  }
  return numbers;
}

// The day of the rule's BYDAY in the month: "2SU" the second Sunday, "-1SU" the last, "SU"
// the first Sunday among BYMONTHDAY (or of the month). 0 when there is none.
int RuleDay(const std::map<std::string, std::string>& rule, int year, int month, int startDay) {
  const auto byDay = rule.find("BYDAY");
  const auto byMonthDay = rule.find("BYMONTHDAY");
  const int days = DaysInMonth(year, month);
  if (byDay == rule.end()) {
    const int day = byMonthDay == rule.end() ? startDay : FirstNumber(byMonthDay->second);
    return day >= 1 && day <= days ? day : 0;
  }
  std::string code = byDay->second.substr(0, byDay->second.find(','));
  if (code.size() < 2) return 0;
  const int weekday = WeekdayFromCode(code.substr(code.size() - 2));
  if (weekday == 0) return 0;
  code.resize(code.size() - 2);
  const int ordinal = code.empty() || code == "+" ? 0 : FirstNumber(code);
  const int firstWeekday = DayOfWeek(EncodeDate(year, month, 1));
  const int firstMatch = 1 + (weekday - firstWeekday + 7) % 7;
  if (ordinal > 0) {
    const int day = firstMatch + 7 * (ordinal - 1);
    return day <= days ? day : 0;
  }
  if (ordinal < 0) {
    const int lastMatch = firstMatch + 7 * ((days - firstMatch) / 7);
    const int day = lastMatch + 7 * (ordinal + 1);
    return day >= 1 ? day : 0;
  }
  std::vector<int> allowed =
      byMonthDay == rule.end() ? std::vector<int>{} : Numbers(byMonthDay->second);
  for (int day = firstMatch; day <= days; day += 7) {
    if (allowed.empty()) return day;
    for (int a : allowed) {
      if (a == day) return day;
    }
  }
  return 0;
}

// The onset of the rule in a year, or false when the rule has none there.
bool RuleOnset(const TObservance& o, int year, int64_t& onset) {
  if (o.Rule.empty() || year < o.Start.Date.Year) return false;
  const auto count = o.Rule.find("COUNT");
  if (count != o.Rule.end() && year - o.Start.Date.Year >= FirstNumber(count->second)) {
    return false;
  }
  const auto byMonth = o.Rule.find("BYMONTH");
  const int month = byMonth == o.Rule.end() ? o.Start.Date.Month : FirstNumber(byMonth->second);
  if (month < 1 || month > 12) return false;
  const int day = RuleDay(o.Rule, year, month, o.Start.Date.Day);
  if (day == 0) return false;
  onset = ToSeconds({year, month, day}, o.Start.Time);
  if (onset < o.StartSeconds) return false;
  // UNTIL is compared as a wall-clock time: the hours it may be off do not matter for a
  // rule that ends in a given year.
  const auto until = o.Rule.find("UNTIL");
  TICalDateTime end;
  if (until != o.Rule.end() && ParseICalDateTime(until->second, end) &&
      onset > ToSeconds(end.Date, end.Time)) {
    return false;
  }
  return true;
}

bool ReadObservance(const TComponent& c, TObservance& o) {
  const TContentLine* from = c.Find("TZOFFSETFROM");
  const TContentLine* to = c.Find("TZOFFSETTO");
  const TContentLine* start = c.Find("DTSTART");
  if (!to || !ParseUtcOffset(to->Value, o.OffsetTo)) return false;
  if (!from || !ParseUtcOffset(from->Value, o.OffsetFrom)) o.OffsetFrom = o.OffsetTo;
  if (!start || !ParseICalDateTime(start->Value, o.Start)) return false;
  o.StartSeconds = ToSeconds(o.Start.Date, o.Start.Time);
  if (const TContentLine* rule = c.Find("RRULE")) {
    if (!ParseRecurrenceRule(rule->Value, o.Rule) || o.Rule["FREQ"] != "YEARLY") o.Rule.clear();
  }
  for (const TContentLine& property : c.Properties) {
    if (property.Name != "RDATE") continue;
    for (const std::string& text : SplitList(property.Value)) {
      TICalDateTime value;
      if (ParseICalDateTime(text, value)) o.Dates.push_back(ToSeconds(value.Date, value.Time));
    }
  }
  return true;
}

}  // namespace

bool ZoneOffsetAt(const TComponent& zone, int64_t wallSeconds, int& offset) {
  std::vector<TObservance> observances;
  for (const TComponent& child : zone.Children) {
    if (child.Name != "STANDARD" && child.Name != "DAYLIGHT") continue;
    TObservance o;
    if (ReadObservance(child, o)) observances.push_back(std::move(o));
  }
  if (observances.empty()) return false;
  const int year = DecodeDate(FromSeconds(wallSeconds)).Year;
  int64_t latest = std::numeric_limits<int64_t>::min();
  const TObservance* current = nullptr;
  const auto consider = [&](const TObservance& o, int64_t onset) {
    if (onset <= wallSeconds && onset >= latest) {
      latest = onset;
      current = &o;
    }
  };
  for (const TObservance& o : observances) {
    consider(o, o.StartSeconds);
    for (int y : {year - 1, year}) {
      int64_t onset = 0;
      if (RuleOnset(o, y, onset)) consider(o, onset);
    }
    for (int64_t date : o.Dates) consider(o, date);
  }
  if (current) {
    offset = current->OffsetTo;
    return true;
  }
  // Before every onset the zone keeps the offset its first observance came from.
  const TObservance* first = &observances.front();
  for (const TObservance& o : observances) {
    if (o.StartSeconds < first->StartSeconds) first = &o;
  }
  offset = first->OffsetFrom;
  return true;
}

}  // namespace reminder
