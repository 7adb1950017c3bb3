// Random extended repetition rules for property tests.
#pragma once

#include <random>

#include "core/TestDates.h"
#include "core/store/RepeatRule.h"

namespace reminder::testing {

// Any rule the module fires.
inline TRepeatRule RandomRule(std::mt19937& random) {
  const auto pick = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  TRepeatRule r;
  r.Freq = static_cast<TRuleFreq>(pick(1, 5));
  r.Interval = static_cast<uint16_t>(pick(0, 2) == 0 ? pick(1, kMaxRuleInterval) : pick(1, 4));
  const bool monthly = r.Freq == TRuleFreq::Monthly || r.Freq == TRuleFreq::Yearly;
  if (monthly) {
    const int choice = pick(0, 2);
    if (choice == 1) r.LastDayOfMonth = true;
    if (choice == 2) {
      r.Weekdays = static_cast<uint8_t>(1 << pick(0, 6));
      const int ordinal = pick(0, 4);
      r.Ordinal = static_cast<int8_t>(ordinal == 0 ? -1 : ordinal);
    }
  } else if (r.Freq != TRuleFreq::Hourly && pick(0, 1) == 0) {
    r.Weekdays = static_cast<uint8_t>(pick(1, 127));
  }
  const int end = pick(0, 2);
  if (end == 1) r.Count = static_cast<uint16_t>(pick(1, kMaxRuleCount));
  if (end == 2) r.Until = At(pick(1900, 2200), pick(1, 12), pick(1, 28), pick(0, 23), pick(0, 59));
  return r;
}

}  // namespace reminder::testing
