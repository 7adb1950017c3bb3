#include "core/store/RuleOccurrences.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace reminder {

namespace {

constexpr int64_t kMsPerDay = 24LL * 60 * 60 * 1000;
constexpr int64_t kMsPerHour = 60LL * 60 * 1000;

// Moments as whole milliseconds from day 0 on, so that the rule's arithmetic is exact.
int64_t KeyOf(TDateTime t) {
  const double whole = std::trunc(t);
  return static_cast<int64_t>(whole) * kMsPerDay +
         static_cast<int64_t>(std::llround(std::fabs(t - whole) * kMsPerDay));
}

int64_t FloorDiv(int64_t a, int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

TDateTime MomentOf(int64_t key) {
  const int64_t day = FloorDiv(key, kMsPerDay);
  const auto ms = static_cast<int>(key - day * kMsPerDay);
  const TDateTime time = EncodeTime(ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
  return day >= 0 ? static_cast<TDateTime>(day) + time : static_cast<TDateTime>(day) - time;
}

// 0 = Monday ... 6 = Sunday; day 0 was a Saturday.
int IsoWeekday(int64_t day) {
  return static_cast<int>(((day + 5) % 7 + 7) % 7);
}

// The day of a month the rule names; 0 when the month has none.
int DayInMonth(const TRepeatRule& r, int year, int month, int startDay) {
  const int days = DaysInMonth(year, month);
  if (r.LastDayOfMonth) return days;
  if (r.Ordinal == 0) return startDay <= days ? startDay : 0;
  int weekday = 0;
  while (((r.Weekdays >> weekday) & 1) == 0) ++weekday;
  if (r.Ordinal > 0) {
    const int first = IsoWeekday(DaysFromCivil(year, month, 1));
    return 1 + (weekday - first + 7) % 7 + 7 * (r.Ordinal - 1);
  }
  const int last = IsoWeekday(DaysFromCivil(year, month, days));
  return days - (last - weekday + 7) % 7;
}

class TWalker {
 public:
  TWalker(const TRepeatRule& rule, TDateTime start)
      : r_(rule), startKey_(KeyOf(start)), date_(DecodeDate(start)) {
    startDay_ = FloorDiv(startKey_, kMsPerDay);
    timeMs_ = startKey_ - startDay_ * kMsPerDay;
    switch (r_.Freq) {
      case TRuleFreq::Daily:
        cycle_ = r_.Weekdays != 0 ? 7 : 1;
        break;
      case TRuleFreq::Monthly:
        cycle_ = (r_.Ordinal != 0 || r_.LastDayOfMonth || date_.Day <= 28) ? 1 : 4800;
        break;
      case TRuleFreq::Yearly:
        cycle_ =
            (r_.Ordinal != 0 || r_.LastDayOfMonth || date_.Month != 2 || date_.Day < 29) ? 1 : 400;
        break;
      default:
        cycle_ = 1;
    }
  }

  // The occurrences around t: the last at or before it and the first after it.
  void Search(int64_t t, std::optional<TOccurrence>& last, std::optional<TOccurrence>& next) {
    if (date_.Year == 0) return;
    if (startKey_ > t) {
      next = TOccurrence{MomentOf(startKey_), 1};
      return;
    }
    last = TOccurrence{MomentOf(startKey_), 1};
    int64_t period = 0;
    int64_t counted = 1;
    const int64_t untilKey = r_.Until ? KeyOf(*r_.Until) : INT64_MAX;
    const int64_t target = PeriodOf(std::min(t, untilKey));
    if (target >= 2 * cycle_) {
      // Whole cycles have the same number of occurrences: those well before t are counted,
      // not walked, so that a rule of many years costs as little as one of a week. The walk
      // still passes a whole cycle before t, and the last counted occurrence.
      const int64_t first = CountPeriods(0, cycle_);
      const int64_t each = CountPeriods(cycle_, 2 * cycle_);
      int64_t cycles = target / cycle_ - 1;
      if (r_.Count != 0 && each > 0) {
        const int64_t left = r_.Count - 1 - first;
        cycles = left <= 0 ? 0 : std::min(cycles, (left - 1) / each + 1);
      }
      if (each > 0 && cycles > 0) {
        period = cycles * cycle_;
        counted = 1 + first + (cycles - 1) * each;
      }
    }
    for (int64_t empty = 0; empty <= 2 * cycle_; ++period) {
      std::array<int64_t, 7> keys{};
      const int n = Moments(period, keys);
      if (n < 0) return;
      empty = n == 0 ? empty + 1 : 0;
      for (int i = 0; i < n; ++i) {
        if (keys[i] <= startKey_) continue;
        ++counted;
        if (Ended(counted) || keys[i] > untilKey) return;
        const TOccurrence occurrence{MomentOf(keys[i]), static_cast<uint32_t>(counted)};
        if (keys[i] > t) {
          next = occurrence;
          return;
        }
        last = occurrence;
      }
    }
  }

 private:
  bool Ended(int64_t number) const { return r_.Count != 0 && number > r_.Count; }

  // The period (of Interval units) that holds t.
  int64_t PeriodOf(int64_t t) const {
    const int64_t day = FloorDiv(t, kMsPerDay);
    const TDateParts d = DecodeDate(static_cast<TDateTime>(day));
    switch (r_.Freq) {
      case TRuleFreq::Hourly:
        return FloorDiv(FloorDiv(t - startKey_, kMsPerHour), r_.Interval);
      case TRuleFreq::Daily:
        return FloorDiv(day - startDay_, r_.Interval);
      case TRuleFreq::Weekly:
        return FloorDiv(day - IsoWeekday(day) - (startDay_ - IsoWeekday(startDay_)),
                        7LL * r_.Interval);
      case TRuleFreq::Monthly:
        return FloorDiv((d.Year - date_.Year) * 12 + d.Month - date_.Month, r_.Interval);
      case TRuleFreq::Yearly:
        return FloorDiv(d.Year - date_.Year, r_.Interval);
    }
    return 0;
  }

  int64_t CountPeriods(int64_t from, int64_t to) const {
    int64_t count = 0;
    std::array<int64_t, 7> keys{};
    for (int64_t p = from; p < to; ++p) {
      const int n = Moments(p, keys);
      for (int i = 0; i < n; ++i) count += keys[i] > startKey_ ? 1 : 0;
    }
    return count;
  }

  // The rule's moments in period p, in order; -1 beyond the calendar.
  int Moments(int64_t p, std::array<int64_t, 7>& keys) const {
    const int64_t step = p * r_.Interval;
    switch (r_.Freq) {
      case TRuleFreq::Hourly:
        keys[0] = startKey_ + step * kMsPerHour;
        return keys[0] < kMaxKey ? 1 : -1;
      case TRuleFreq::Daily: {
        const int64_t day = startDay_ + step;
        if (day * kMsPerDay >= kMaxKey) return -1;
        if (r_.Weekdays != 0 && ((r_.Weekdays >> IsoWeekday(day)) & 1) == 0) return 0;
        keys[0] = day * kMsPerDay + timeMs_;
        return 1;
      }
      case TRuleFreq::Weekly: {
        const int64_t monday = startDay_ - IsoWeekday(startDay_) + 7 * step;
        if (monday * kMsPerDay >= kMaxKey) return -1;
        const uint8_t days = r_.Weekdays != 0 ? r_.Weekdays : 1 << IsoWeekday(startDay_);
        int n = 0;
        for (int w = 0; w < 7; ++w) {
          if ((days >> w) & 1) keys[n++] = (monday + w) * kMsPerDay + timeMs_;
        }
        return n;
      }
      case TRuleFreq::Monthly:
      case TRuleFreq::Yearly: {
        const int64_t months = r_.Freq == TRuleFreq::Monthly ? step : 12 * step;
        const int64_t index = date_.Year * 12LL + date_.Month - 1 + months;
        const auto year = static_cast<int>(index / 12);
        const int month = static_cast<int>(index % 12) + 1;
        if (year > 9999) return -1;
        const int day = DayInMonth(r_, year, month, date_.Day);
        if (day == 0) return 0;
        keys[0] = DaysFromCivil(year, month, day) * kMsPerDay + timeMs_;
        return keys[0] < kMaxKey ? 1 : -1;
      }
    }
    return -1;
  }

  static constexpr int64_t kMaxKey = static_cast<int64_t>(kMaxDateTime + 1) * kMsPerDay;

  const TRepeatRule& r_;
  int64_t startKey_;
  TDateParts date_;
  int64_t startDay_ = 0;
  int64_t timeMs_ = 0;
  int64_t cycle_ = 1;
};

}  // namespace

bool RuleAlarmPending(const TRepeatRule& rule, TDateTime start, double leadDays,
                      TDateTime lastFired, TDateTime now) {
  const int64_t lead = std::llround(leadDays) * kMsPerDay;
  std::optional<TOccurrence> last;
  std::optional<TOccurrence> next;
  TWalker(rule, start).Search(KeyOf(now) + lead, last, next);
  // Compared as whole milliseconds: a firing at the alarm's own moment counts as its firing.
  return last && (lastFired == 0.0 || KeyOf(lastFired) < KeyOf(last->Moment) - lead);
}

std::optional<TDateTime> NextAlarm(const TRepeatRule& rule, TDateTime start, double leadDays,
                                   TDateTime now) {
  const int64_t lead = std::llround(leadDays) * kMsPerDay;
  std::optional<TOccurrence> last;
  std::optional<TOccurrence> next;
  TWalker(rule, start).Search(KeyOf(now) + lead, last, next);
  if (!next) return std::nullopt;
  return MomentOf(KeyOf(next->Moment) - lead);
}

std::optional<TDateTime> LastAlarm(const TRepeatRule& rule, TDateTime start, double leadDays,
                                   TDateTime now) {
  const int64_t lead = std::llround(leadDays) * kMsPerDay;
  std::optional<TOccurrence> last;
  std::optional<TOccurrence> next;
  TWalker(rule, start).Search(KeyOf(now) + lead, last, next);
  if (!last) return std::nullopt;
  return MomentOf(KeyOf(last->Moment) - lead);
}

std::optional<TOccurrence> LastOccurrence(const TRepeatRule& rule, TDateTime start, TDateTime t) {
  std::optional<TOccurrence> last;
  std::optional<TOccurrence> next;
  TWalker(rule, start).Search(KeyOf(t), last, next);
  return last;
}

std::optional<TOccurrence> NextOccurrence(const TRepeatRule& rule, TDateTime start, TDateTime t) {
  std::optional<TOccurrence> last;
  std::optional<TOccurrence> next;
  TWalker(rule, start).Search(KeyOf(t), last, next);
  return next;
}

}  // namespace reminder
