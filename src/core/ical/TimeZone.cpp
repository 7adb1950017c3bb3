#include "core/ical/TimeZone.h"

#include <algorithm>
#include <limits>
#include <string>

namespace reminder {

namespace {

// Ordinals beyond the fifth weekday of a month name no day; checking them first also
// keeps the arithmetic with them small.
constexpr int kMaxOrdinal = 5;

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

// The rule's numbers, read once; Month stays 0 for a rule that names no day.
TTimeZone::TYearlyRule ReadRule(const std::map<std::string, std::string>& parts,
                                const TICalDateTime& start) {
  TTimeZone::TYearlyRule rule;
  const auto find = [&parts](const char* name) -> const std::string* {
    const auto it = parts.find(name);
    return it == parts.end() ? nullptr : &it->second;
  };
  if (const std::string* count = find("COUNT")) {
    rule.HasCount = true;
    rule.Count = FirstNumber(*count);
  }
  TICalDateTime until;
  if (const std::string* text = find("UNTIL"); text && ParseICalDateTime(*text, until)) {
    rule.HasUntil = true;
    rule.Until = ToSeconds(until.Date, until.Time);
  }
  const std::string* byDay = find("BYDAY");
  const std::string* byMonthDay = find("BYMONTHDAY");
  if (!byDay) {
    rule.MonthDays = {byMonthDay ? FirstNumber(*byMonthDay) : start.Date.Day};
  } else {
    std::string code = byDay->substr(0, byDay->find(','));
    if (code.size() < 2) return rule;
    rule.Weekday = WeekdayFromCode(code.substr(code.size() - 2));
    if (rule.Weekday == 0) return rule;
    code.resize(code.size() - 2);
    rule.Ordinal = code.empty() || code == "+" ? 0 : FirstNumber(code);
    if (rule.Ordinal < -kMaxOrdinal || rule.Ordinal > kMaxOrdinal) return rule;
    if (rule.Ordinal == 0 && byMonthDay) rule.MonthDays = Numbers(*byMonthDay);
  }
  const std::string* byMonth = find("BYMONTH");
  const int month = byMonth ? FirstNumber(*byMonth) : start.Date.Month;
  if (month >= 1 && month <= 12) rule.Month = month;
  return rule;
}

// The day of the rule in the month: "2SU" the second Sunday, "-1SU" the last, "SU" the
// first Sunday among BYMONTHDAY (or of the month). 0 when there is none.
int RuleDay(const TTimeZone::TYearlyRule& rule, int year) {
  const int days = DaysInMonth(year, rule.Month);
  if (rule.Weekday == 0) {
    const int day = rule.MonthDays.front();
    return day >= 1 && day <= days ? day : 0;
  }
  const int firstWeekday = DayOfWeek(EncodeDate(year, rule.Month, 1));
  const int firstMatch = 1 + (rule.Weekday - firstWeekday + 7) % 7;
  if (rule.Ordinal > 0) {
    const int day = firstMatch + 7 * (rule.Ordinal - 1);
    return day <= days ? day : 0;
  }
  if (rule.Ordinal < 0) {
    const int lastMatch = firstMatch + 7 * ((days - firstMatch) / 7);
    const int day = lastMatch + 7 * (rule.Ordinal + 1);
    return day >= 1 ? day : 0;
  }
  for (int day = firstMatch; day <= days; day += 7) {
    if (rule.MonthDays.empty()) return day;
    for (int allowed : rule.MonthDays) {
      if (allowed == day) return day;
    }
  }
  return 0;
}

// The onset of the rule in a year, or false when the rule has none there.
bool RuleOnset(const TTimeZone::TObservance& o, int year, int64_t& onset) {
  const TTimeZone::TYearlyRule& rule = o.Rule;
  if (rule.Month == 0 || year < o.Start.Date.Year) return false;
  if (rule.HasCount && static_cast<int64_t>(year) - o.Start.Date.Year >= rule.Count) return false;
  const int day = RuleDay(rule, year);
  if (day == 0) return false;
  onset = ToSeconds({year, rule.Month, day}, o.Start.Time);
  // UNTIL is compared as a wall-clock time: the hours it may be off do not matter for a
  // rule that ends in a given year.
  return onset >= o.StartSeconds && !(rule.HasUntil && onset > rule.Until);
}

bool ReadObservance(const TComponent& c, TTimeZone::TObservance& o, std::vector<int64_t>& dates) {
  const TContentLine* from = c.Find("TZOFFSETFROM");
  const TContentLine* to = c.Find("TZOFFSETTO");
  const TContentLine* start = c.Find("DTSTART");
  if (!to || !ParseUtcOffset(to->Value, o.OffsetTo)) return false;
  if (!from || !ParseUtcOffset(from->Value, o.OffsetFrom)) o.OffsetFrom = o.OffsetTo;
  if (!start || !ParseICalDateTime(start->Value, o.Start)) return false;
  o.StartSeconds = ToSeconds(o.Start.Date, o.Start.Time);
  if (const TContentLine* rule = c.Find("RRULE")) {
    std::map<std::string, std::string> parts;
    if (ParseRecurrenceRule(rule->Value, parts) && parts["FREQ"] == "YEARLY") {
      o.Rule = ReadRule(parts, o.Start);
    }
  }
  for (const TContentLine& property : c.Properties) {
    if (property.Name != "RDATE") continue;
    for (const std::string& text : SplitList(property.Value)) {
      TICalDateTime value;
      if (ParseICalDateTime(text, value)) dates.push_back(ToSeconds(value.Date, value.Time));
    }
  }
  return true;
}

// The order of the onsets of one observance: its start, its rule, then its RDATEs.
constexpr size_t kStartOrder = 0;
constexpr size_t kRuleOrder = 1;
constexpr size_t kFirstDateOrder = 2;
constexpr size_t kCachedYears = 32;

}  // namespace

TTimeZone::TTimeZone(const TComponent& zone) {
  for (const TComponent& child : zone.Children) {
    if (child.Name != "STANDARD" && child.Name != "DAYLIGHT") continue;
    TObservance o;
    std::vector<int64_t> dates;
    if (!ReadObservance(child, o, dates)) continue;
    const size_t index = observances_.size();
    fixed_.push_back({o.StartSeconds, index, kStartOrder});
    for (size_t i = 0; i < dates.size(); ++i)
      fixed_.push_back({dates[i], index, kFirstDateOrder + i});
    if (o.Rule.Month != 0) ruled_.push_back(index);
    // Before every onset the zone keeps the offset its earliest observance came from.
    if (observances_.empty() || o.StartSeconds < observances_[firstFrom_].StartSeconds) {
      firstFrom_ = index;
    }
    observances_.push_back(std::move(o));
  }
  std::sort(fixed_.begin(), fixed_.end());
}

const std::vector<TTimeZone::TOnset>& TTimeZone::RuleOnsets(int year) const {
  const auto known = ruleOnsets_.find(year);
  if (known != ruleOnsets_.end()) return known->second;
  std::vector<TOnset> onsets;
  for (size_t index : ruled_) {
    int64_t onset = 0;
    if (RuleOnset(observances_[index], year, onset)) onsets.push_back({onset, index, kRuleOrder});
  }
  std::sort(onsets.begin(), onsets.end());
  if (ruleOnsets_.size() >= kCachedYears) ruleOnsets_.clear();
  return ruleOnsets_.emplace(year, std::move(onsets)).first->second;
}

bool TTimeZone::OffsetAt(int64_t wallSeconds, int& offset) const {
  if (observances_.empty()) return false;
  // The latest onset up to the moment, of all the observances' starts, dates and rules.
  const TOnset limit{wallSeconds, std::numeric_limits<size_t>::max(),
                     std::numeric_limits<size_t>::max()};
  bool found = false;
  TOnset latest{};
  const auto consider = [&](const std::vector<TOnset>& onsets) {
    const auto after = std::upper_bound(onsets.begin(), onsets.end(), limit);
    if (after == onsets.begin()) return;
    if (!found || latest < *(after - 1)) latest = *(after - 1);
    found = true;
  };
  consider(fixed_);
  if (!ruled_.empty()) {
    const int year = DecodeDate(FromSeconds(wallSeconds)).Year;
    consider(RuleOnsets(year - 1));
    consider(RuleOnsets(year));
  }
  offset = found ? observances_[latest.Observance].OffsetTo : observances_[firstFrom_].OffsetFrom;
  return true;
}

}  // namespace reminder
