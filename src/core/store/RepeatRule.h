// The extended repetition rule of a reminder: every n hours, days, weeks, months or years,
// on a set of weekdays, on the n-th or last weekday or the last day of a month, until a
// moment or for a number of times. It lives in the record's reserved block; the record's
// RepeatKind holds the nearest plain repetition, which older versions fire instead.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "core/common/DateTime.h"
#include "core/store/NotifyInfo.h"

namespace reminder {

enum class TRuleFreq : uint8_t { Hourly = 1, Daily = 2, Weekly = 3, Monthly = 4, Yearly = 5 };

constexpr uint16_t kMaxRuleInterval = 999;
constexpr uint16_t kMaxRuleCount = 9999;

struct TRepeatRule {
  TRuleFreq Freq = TRuleFreq::Daily;
  uint16_t Interval = 1;  // 1..kMaxRuleInterval
  // Bit 0 Monday to bit 6 Sunday: the weekdays of a weekly rule, or the days a daily one
  // keeps to; none takes the start's weekday (weekly) or every day (daily).
  uint8_t Weekdays = 0;
  // Monthly and yearly: the n-th (1..4) or last (-1) of the one weekday in Weekdays; 0 for
  // the start's day of the month.
  int8_t Ordinal = 0;
  bool LastDayOfMonth = false;  // monthly and yearly, instead of the start's day
  uint16_t Count = 0;           // 0: no count
  std::optional<TDateTime> Until;

  bool operator==(const TRepeatRule& other) const;
  bool operator!=(const TRepeatRule& other) const { return !(*this == other); }
};

// Whether the fields make a rule the module fires (the combinations above, an until inside
// the calendar, not both count and until).
bool IsValidRule(const TRepeatRule& rule);

// The plain repetition the rule stands in for with older versions.
uint8_t BaseRepeat(const TRepeatRule& rule);

// The compact form in the reserved block (docs/reserved-block.md), at most 16 bytes.
struct TRuleBytes {
  std::array<uint8_t, 16> Bytes{};
  uint8_t Length = 0;
};
TRuleBytes EncodeRule(const TRepeatRule& rule);
std::optional<TRepeatRule> DecodeRule(const uint8_t* bytes, uint8_t length);

// The record's rule; none without one, for bytes this version cannot read, and when the
// RepeatKind is no longer the rule's base (an older version changed the repetition).
std::optional<TRepeatRule> RuleOf(const TNotifyInfo& record);
// Stores the rule (none removes it) and sets RepeatKind to its base repetition; false when
// the block is another program's and so cannot take it.
bool SetRule(TNotifyInfo& record, const std::optional<TRepeatRule>& rule);

}  // namespace reminder
