#include "core/store/RepeatRule.h"

#include <algorithm>
#include <cstring>

#include "core/store/ReservedBlock.h"

namespace reminder {

namespace {

// Byte 0: the frequency in bits 0..2, bit 3 the last day of the month, bit 4 a count,
// bit 5 an until; then the interval (2 bytes), the weekdays, the ordinal, and the count
// (2 bytes) or the until (8 bytes). All numbers little-endian.
constexpr uint8_t kFreqMask = 0x07;
constexpr uint8_t kLastDay = 0x08;
constexpr uint8_t kHasCount = 0x10;
constexpr uint8_t kHasUntil = 0x20;
constexpr uint8_t kKnownBits = kFreqMask | kLastDay | kHasCount | kHasUntil;
constexpr uint8_t kBaseSize = 5;
constexpr uint8_t kAllWeekdays = 0x7F;

bool ValidOrdinal(int8_t ordinal) {
  return ordinal == -1 || (ordinal >= 1 && ordinal <= 4);
}

int BitCount(uint8_t bits) {
  int count = 0;
  for (; bits != 0; bits &= static_cast<uint8_t>(bits - 1)) ++count;
  return count;
}

}  // namespace

bool TRepeatRule::operator==(const TRepeatRule& other) const {
  return Freq == other.Freq && Interval == other.Interval && Weekdays == other.Weekdays &&
         Ordinal == other.Ordinal && LastDayOfMonth == other.LastDayOfMonth &&
         Count == other.Count && Until == other.Until;
}

bool IsValidRule(const TRepeatRule& r) {
  if (r.Freq < TRuleFreq::Hourly || r.Freq > TRuleFreq::Yearly) return false;
  if (r.Interval < 1 || r.Interval > kMaxRuleInterval || (r.Weekdays & ~kAllWeekdays) != 0) {
    return false;
  }
  if (r.Count > kMaxRuleCount || (r.Count != 0 && r.Until)) return false;
  if (r.Until && !IsValidDateTime(*r.Until)) return false;
  const bool monthly = r.Freq == TRuleFreq::Monthly || r.Freq == TRuleFreq::Yearly;
  if (r.Ordinal != 0) {
    return monthly && ValidOrdinal(r.Ordinal) && BitCount(r.Weekdays) == 1 && !r.LastDayOfMonth;
  }
  if (r.LastDayOfMonth) return monthly && r.Weekdays == 0;
  if (r.Weekdays != 0) return r.Freq == TRuleFreq::Daily || r.Freq == TRuleFreq::Weekly;
  return true;
}

uint8_t BaseRepeat(const TRepeatRule& rule) {
  switch (rule.Freq) {
    case TRuleFreq::Weekly:
      return rkWeekly;
    case TRuleFreq::Monthly:
      return rkMonthly;
    case TRuleFreq::Yearly:
      return rkYearly;
    default:
      return rkDaily;
  }
}

TRuleBytes EncodeRule(const TRepeatRule& rule) {
  TRuleBytes out;
  uint8_t* b = out.Bytes.data();
  b[0] =
      static_cast<uint8_t>(static_cast<uint8_t>(rule.Freq) | (rule.LastDayOfMonth ? kLastDay : 0) |
                           (rule.Count != 0 ? kHasCount : 0) | (rule.Until ? kHasUntil : 0));
  b[1] = static_cast<uint8_t>(rule.Interval & 0xFF);
  b[2] = static_cast<uint8_t>(rule.Interval >> 8);
  b[3] = rule.Weekdays;
  b[4] = static_cast<uint8_t>(rule.Ordinal);
  out.Length = kBaseSize;
  if (rule.Count != 0) {
    b[5] = static_cast<uint8_t>(rule.Count & 0xFF);
    b[6] = static_cast<uint8_t>(rule.Count >> 8);
    out.Length += 2;
  } else if (rule.Until) {
    uint64_t bits = 0;
    std::memcpy(&bits, &*rule.Until, sizeof bits);
    for (int i = 0; i < 8; ++i) b[5 + i] = static_cast<uint8_t>(bits >> (8 * i));
    out.Length += 8;
  }
  return out;
}

std::optional<TRepeatRule> DecodeRule(const uint8_t* b, uint8_t length) {
  if (length < kBaseSize || (b[0] & ~kKnownBits) != 0) return std::nullopt;
  TRepeatRule rule;
  rule.Freq = static_cast<TRuleFreq>(b[0] & kFreqMask);
  rule.LastDayOfMonth = (b[0] & kLastDay) != 0;
  rule.Interval = static_cast<uint16_t>(b[1] | (b[2] << 8));
  rule.Weekdays = b[3];
  rule.Ordinal = static_cast<int8_t>(b[4]);
  uint8_t expected = kBaseSize;
  if (b[0] & kHasCount) {
    expected += 2;
    if (length >= expected) rule.Count = static_cast<uint16_t>(b[5] | (b[6] << 8));
    if (rule.Count == 0) return std::nullopt;
  }
  if (b[0] & kHasUntil) {
    expected += 8;
    if (length < expected) return std::nullopt;
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits |= static_cast<uint64_t>(b[5 + i]) << (8 * i);
    TDateTime until = 0;
    std::memcpy(&until, &bits, sizeof until);
    rule.Until = until;
  }
  if (length != expected || !IsValidRule(rule)) return std::nullopt;
  return rule;
}

std::optional<TRepeatRule> RuleOf(const TNotifyInfo& record) {
  // Most records have no rule: the rule length (byte 30 of the block) is zero.
  if (record.ReservedBlock[30] == 0) return std::nullopt;
  const std::optional<TBlockContent> content = BlockContent(record);
  if (!content || content->RuleLength == 0) return std::nullopt;
  std::optional<TRepeatRule> rule = DecodeRule(content->Rule.data(), content->RuleLength);
  // An older version that changed the repetition left the rule behind: its change counts.
  if (rule && BaseRepeat(*rule) != record.RepeatKind) return std::nullopt;
  return rule;
}

bool SetRule(TNotifyInfo& record, const std::optional<TRepeatRule>& rule) {
  std::optional<TBlockContent> content = BlockContent(record);
  if (!content) return false;
  content->Rule.fill(0);
  content->RuleLength = 0;
  if (rule) {
    const TRuleBytes bytes = EncodeRule(*rule);
    std::copy_n(bytes.Bytes.begin(), bytes.Length, content->Rule.begin());
    content->RuleLength = bytes.Length;
    record.RepeatKind = BaseRepeat(*rule);
  }
  WriteBlock(record, *content);
  return true;
}

}  // namespace reminder
