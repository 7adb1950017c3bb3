// The UTC offset that a VTIMEZONE of a calendar file gives a wall-clock time, from its
// STANDARD and DAYLIGHT observances with their yearly rules (BYMONTH with BYDAY such as
// "-1SU" or "2SU", or BYDAY with BYMONTHDAY) and RDATE lists.
#pragma once

#include <cstdint>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "core/ical/Component.h"
#include "core/ical/Values.h"

namespace reminder {

// A zone read once, so that each event costs a search rather than a reading of every
// observance: a calendar may hold one zone with thousands of them.
class TTimeZone {
 public:
  TTimeZone() = default;
  explicit TTimeZone(const TComponent& zone);

  // wallSeconds as ToSeconds counts them; offset in seconds east of UTC. False when the
  // zone has no observance with a readable offset.
  bool OffsetAt(int64_t wallSeconds, int& offset) const;

  // A yearly rule, its numbers checked: Month 0 when it has none that can be used.
  struct TYearlyRule {
    int Month = 0;
    int Weekday = 0;  // 1 = Sunday; 0 for the day of the month MonthDays names
    int Ordinal = 0;  // 2 the second, -1 the last; 0 the first among MonthDays (or any)
    std::vector<int> MonthDays;
    bool HasCount = false;
    int Count = 0;
    bool HasUntil = false;
    int64_t Until = 0;
  };
  struct TObservance {
    int OffsetFrom = 0;
    int OffsetTo = 0;
    TICalDateTime Start;
    int64_t StartSeconds = 0;
    TYearlyRule Rule;
  };

 private:
  // An onset and its place in the order the observances are written, which decides
  // between onsets at the same moment: the later written wins.
  struct TOnset {
    int64_t At;
    size_t Observance;
    size_t Order;
    bool operator<(const TOnset& other) const {
      return std::tie(At, Observance, Order) < std::tie(other.At, other.Observance, other.Order);
    }
  };
  const std::vector<TOnset>& RuleOnsets(int year) const;

  std::vector<TObservance> observances_;
  std::vector<TOnset> fixed_;  // each DTSTART and RDATE, sorted
  std::vector<size_t> ruled_;  // the observances with a yearly rule
  size_t firstFrom_ = 0;       // the earliest observance
  // The onsets of the rules by year, for the few years a calendar's events fall in.
  mutable std::map<int, std::vector<TOnset>> ruleOnsets_;
};

}  // namespace reminder
