#include "core/store/Snooze.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace reminder {

namespace {

// Layout at the start of the reserved block: tag, version, the moment as a little-endian
// double, and a CRC-8 over the bytes before it. The rest of the block is left alone.
constexpr uint8_t kTag[] = {'S', 'N', 'Z', 'E'};
constexpr uint8_t kVersion = 1;
constexpr size_t kMomentAt = sizeof kTag + 1;
constexpr size_t kCheckAt = kMomentAt + sizeof(uint64_t);
constexpr size_t kSnoozeSize = kCheckAt + 1;
static_assert(kSnoozeSize <= kReservedBlockSize, "the snooze fits the reserved block");

uint8_t Crc8(const uint8_t* bytes, size_t size) {
  uint8_t crc = 0;
  for (size_t i = 0; i < size; ++i) {
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit) {
      crc = static_cast<uint8_t>((crc & 0x80) ? (crc << 1) ^ 0x07 : crc << 1);
    }
  }
  return crc;
}

}  // namespace

std::optional<TDateTime> SnoozeMoment(const TNotifyInfo& record) {
  const uint8_t* block = record.ReservedBlock.data();
  // Most records hold zeros here: the tag alone tells them apart.
  if (std::memcmp(block, kTag, sizeof kTag) != 0 || block[sizeof kTag] != kVersion ||
      Crc8(block, kCheckAt) != block[kCheckAt]) {
    return std::nullopt;
  }
  uint64_t bits = 0;
  for (size_t i = 0; i < sizeof bits; ++i) {
    bits |= static_cast<uint64_t>(block[kMomentAt + i]) << (8 * i);
  }
  TDateTime moment = 0;
  std::memcpy(&moment, &bits, sizeof moment);
  if (!IsValidDateTime(moment)) return std::nullopt;
  return moment;
}

void SetSnooze(TNotifyInfo& record, TDateTime moment) {
  if (!IsValidDateTime(moment)) {
    ClearSnooze(record);
    return;
  }
  uint8_t* block = record.ReservedBlock.data();
  std::memcpy(block, kTag, sizeof kTag);
  block[sizeof kTag] = kVersion;
  uint64_t bits = 0;
  std::memcpy(&bits, &moment, sizeof bits);
  for (size_t i = 0; i < sizeof bits; ++i) {
    block[kMomentAt + i] = static_cast<uint8_t>(bits >> (8 * i));
  }
  block[kCheckAt] = Crc8(block, kCheckAt);
}

void ClearSnooze(TNotifyInfo& record) {
  if (!SnoozeMoment(record)) return;
  std::fill_n(record.ReservedBlock.begin(), kSnoozeSize, uint8_t{0});
}

bool IsSnoozeDue(const TNotifyInfo& record, TDateTime now) {
  const std::optional<TDateTime> moment = SnoozeMoment(record);
  return moment && *moment <= now;
}

}  // namespace reminder
