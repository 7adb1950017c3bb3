// The record's 52 reserved bytes hold one container of the module's own: the reminder's
// identity, a snooze moment and an extended repetition rule, under a tag and a version,
// closed by a CRC-32 over its bytes. Older versions of the module and other programs read
// the record as before, since they leave these bytes alone; bytes that do not form a
// valid container are another program's and are never read as data nor written over.
// The layout is in docs/reserved-block.md.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "core/common/DateTime.h"
#include "core/store/NotifyInfo.h"

namespace reminder {

// 128 random bits that name a reminder for life; all zero is no identity.
struct TIdentity {
  std::array<uint8_t, 16> Bytes{};

  bool IsNone() const;
  bool operator==(const TIdentity& other) const { return Bytes == other.Bytes; }
  bool operator!=(const TIdentity& other) const { return !(*this == other); }
  // 32 lower-case hexadecimal digits, and back, in either case (none for anything else or
  // all zeros).
  std::string Hex() const;
  static std::optional<TIdentity> FromHex(std::string_view text);
};

struct TIdentityHash {
  size_t operator()(const TIdentity& id) const;
};

// Where new identities come from; tests pass a fixed sequence.
class IIdentitySource {
 public:
  virtual ~IIdentitySource() = default;
  virtual TIdentity NewIdentity() = 0;
};

// The system's random numbers (std::random_device, 256 bits) seed a generator of the
// source's own at its first identity: the system takes microseconds a number, and the first
// save of a large file from an older version gives every record an identity.
class TRandomIdentitySource : public IIdentitySource {
 public:
  TIdentity NewIdentity() override;

 private:
  std::optional<std::mt19937_64> generator_;
};

constexpr size_t kRuleSize = 16;

// What the container holds.
struct TBlockContent {
  std::optional<TIdentity> Identity;
  std::optional<TDateTime> Snooze;
  // The extended repetition rule, its first RuleLength bytes; none when 0.
  uint8_t RuleLength = 0;
  std::array<uint8_t, kRuleSize> Rule{};

  bool operator==(const TBlockContent& other) const;
};

enum class TBlockKind {
  Empty,      // all zeros, as in new records and older files
  Container,  // the module's container
  OldSnooze,  // the snooze as earlier versions wrote it ("SNZE", 14 bytes), the rest zero
  Foreign,    // anything else: kept as it is
};

TBlockKind BlockKind(const TNotifyInfo& record);
// The container's content; an empty block or an old snooze read as a container without
// identity. None for a foreign block.
std::optional<TBlockContent> BlockContent(const TNotifyInfo& record);
// Writes the container over the whole block; an empty content leaves zeros.
void WriteBlock(TNotifyInfo& record, const TBlockContent& content);

std::optional<TIdentity> IdentityOf(const TNotifyInfo& record);
// The snooze moment of the container, or of the old form (also at the start of a block
// that is otherwise another program's); read quickly, as the due check does for each
// record.
std::optional<TDateTime> SnoozeOf(const TNotifyInfo& record);
// False for a block that certainly holds no snooze, looked at in a few bytes: the due check
// asks it of every record.
bool MayHoldSnooze(const TNotifyInfo& record);
// Gives the record an identity from source unless it has one; false when its block is
// foreign and so cannot take one.
bool EnsureIdentity(TNotifyInfo& record, IIdentitySource& source);
// A container with only this identity (an imported reminder, whose block was empty).
void SetIdentity(TNotifyInfo& record, const TIdentity& identity);

// Reads and writes the old snooze form, for Snooze.cpp.
std::optional<TDateTime> OldSnoozeMoment(const TNotifyInfo& record);
void WriteOldSnooze(TNotifyInfo& record, TDateTime moment);
void ClearOldSnooze(TNotifyInfo& record);

}  // namespace reminder
