#include "core/store/ReservedBlock.h"

#include <algorithm>
#include <cstring>
#include <random>

namespace reminder {

namespace {

// The container; docs/reserved-block.md has the table.
constexpr uint8_t kTag[] = {'R', 'M', 'N', 'D'};
constexpr uint8_t kVersion = 1;
constexpr size_t kVersionAt = 4;
constexpr size_t kFlagsAt = 5;
constexpr size_t kIdentityAt = 6;
constexpr size_t kSnoozeAt = 22;
constexpr size_t kRuleLengthAt = 30;
constexpr size_t kRuleAt = 31;
constexpr size_t kSpareAt = 47;
constexpr size_t kCheckAt = 48;
static_assert(kRuleAt + kRuleSize == kSpareAt, "the rule ends before the spare byte");
static_assert(kCheckAt + 4 == kReservedBlockSize, "the check closes the block");

constexpr uint8_t kHasIdentity = 1;
constexpr uint8_t kHasSnooze = 2;
constexpr uint8_t kHasRule = 4;
constexpr uint8_t kKnownFlags = kHasIdentity | kHasSnooze | kHasRule;

// The snooze of earlier versions: tag, version, the moment and a CRC-8 of the bytes before.
constexpr uint8_t kOldTag[] = {'S', 'N', 'Z', 'E'};
constexpr uint8_t kOldVersion = 1;
constexpr size_t kOldMomentAt = 5;
constexpr size_t kOldCheckAt = 13;
constexpr size_t kOldSize = 14;

using TBlock = std::array<uint8_t, kReservedBlockSize>;

constexpr std::array<uint32_t, 256> MakeCrcTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t crc = n;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    table[n] = crc;
  }
  return table;
}

// By table: the due check reads the block of every record at every check.
constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

uint32_t Crc32(const uint8_t* bytes, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) crc = kCrcTable[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

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

uint64_t ReadLe(const uint8_t* bytes, size_t size) {
  uint64_t value = 0;
  for (size_t i = 0; i < size; ++i) value |= static_cast<uint64_t>(bytes[i]) << (8 * i);
  return value;
}

void WriteLe(uint8_t* bytes, uint64_t value, size_t size) {
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

TDateTime ReadMoment(const uint8_t* bytes) {
  const uint64_t bits = ReadLe(bytes, sizeof bits);
  TDateTime moment = 0;
  std::memcpy(&moment, &bits, sizeof moment);
  return moment;
}

void WriteMoment(uint8_t* bytes, TDateTime moment) {
  uint64_t bits = 0;
  std::memcpy(&bits, &moment, sizeof bits);
  WriteLe(bytes, bits, sizeof bits);
}

bool AllZero(const uint8_t* bytes, size_t size) {
  return std::all_of(bytes, bytes + size, [](uint8_t b) { return b == 0; });
}

bool IsOldSnooze(const TBlock& block) {
  return std::memcmp(block.data(), kOldTag, sizeof kOldTag) == 0 &&
         block[sizeof kOldTag] == kOldVersion &&
         Crc8(block.data(), kOldCheckAt) == block[kOldCheckAt] &&
         IsValidDateTime(ReadMoment(block.data() + kOldMomentAt));
}

// Every byte must be as a writer of this version leaves it: unused fields zero, the
// identity not zero, the moment inside the calendar, the check right.
std::optional<TBlockContent> ReadContainer(const TBlock& block) {
  if (std::memcmp(block.data(), kTag, sizeof kTag) != 0 || block[kVersionAt] != kVersion) {
    return std::nullopt;
  }
  const uint8_t flags = block[kFlagsAt];
  if ((flags & ~kKnownFlags) != 0 || block[kSpareAt] != 0 ||
      Crc32(block.data(), kCheckAt) != ReadLe(block.data() + kCheckAt, 4)) {
    return std::nullopt;
  }
  TBlockContent content;
  const uint8_t* identity = block.data() + kIdentityAt;
  if (flags & kHasIdentity) {
    TIdentity id;
    std::copy_n(identity, id.Bytes.size(), id.Bytes.begin());
    if (id.IsNone()) return std::nullopt;
    content.Identity = id;
  } else if (!AllZero(identity, sizeof(TIdentity::Bytes))) {
    return std::nullopt;
  }
  const uint8_t* snooze = block.data() + kSnoozeAt;
  if (flags & kHasSnooze) {
    const TDateTime moment = ReadMoment(snooze);
    if (!IsValidDateTime(moment)) return std::nullopt;
    content.Snooze = moment;
  } else if (!AllZero(snooze, sizeof(uint64_t))) {
    return std::nullopt;
  }
  const uint8_t length = block[kRuleLengthAt];
  if (((flags & kHasRule) != 0) != (length != 0) || length > kRuleSize ||
      !AllZero(block.data() + kRuleAt + length, kRuleSize - length)) {
    return std::nullopt;
  }
  content.RuleLength = length;
  std::copy_n(block.data() + kRuleAt, kRuleSize, content.Rule.begin());
  return content;
}

}  // namespace

bool TIdentity::IsNone() const {
  return AllZero(Bytes.data(), Bytes.size());
}

std::string TIdentity::Hex() const {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (uint8_t b : Bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 0xF];
  }
  return text;
}

std::optional<TIdentity> TIdentity::FromHex(std::string_view text) {
  if (text.size() != 32) return std::nullopt;
  const auto digit = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;  // as a server may have changed it
    return -1;
  };
  TIdentity id;
  for (size_t i = 0; i < id.Bytes.size(); ++i) {
    const int high = digit(text[2 * i]);
    const int low = digit(text[2 * i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    id.Bytes[i] = static_cast<uint8_t>(high * 16 + low);
  }
  if (id.IsNone()) return std::nullopt;
  return id;
}

size_t TIdentityHash::operator()(const TIdentity& id) const {
  // Random bits already: the first of them serve.
  return static_cast<size_t>(ReadLe(id.Bytes.data(), sizeof(size_t)));
}

TIdentity TRandomIdentitySource::NewIdentity() {
  if (!generator_) {
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device(),
                       device(), device(), device(), device()};
    generator_.emplace(seed);
  }
  TIdentity id;
  do {
    for (size_t i = 0; i < id.Bytes.size(); i += 8)
      WriteLe(id.Bytes.data() + i, (*generator_)(), 8);
  } while (id.IsNone());
  return id;
}

bool TBlockContent::operator==(const TBlockContent& other) const {
  return Identity == other.Identity && Snooze == other.Snooze && RuleLength == other.RuleLength &&
         Rule == other.Rule;
}

TBlockKind BlockKind(const TNotifyInfo& record) {
  const TBlock& block = record.ReservedBlock;
  if (AllZero(block.data(), block.size())) return TBlockKind::Empty;
  if (ReadContainer(block)) return TBlockKind::Container;
  if (IsOldSnooze(block) && AllZero(block.data() + kOldSize, block.size() - kOldSize)) {
    return TBlockKind::OldSnooze;
  }
  return TBlockKind::Foreign;
}

std::optional<TBlockContent> BlockContent(const TNotifyInfo& record) {
  const TBlock& block = record.ReservedBlock;
  if (std::optional<TBlockContent> content = ReadContainer(block)) return content;
  if (AllZero(block.data(), block.size())) return TBlockContent();
  if (IsOldSnooze(block) && AllZero(block.data() + kOldSize, block.size() - kOldSize)) {
    TBlockContent content;
    content.Snooze = ReadMoment(block.data() + kOldMomentAt);
    return content;
  }
  return std::nullopt;
}

bool MayHoldSnooze(const TNotifyInfo& record) {
  const TBlock& block = record.ReservedBlock;
  if (std::memcmp(block.data(), kTag, sizeof kTag) == 0) return (block[kFlagsAt] & kHasSnooze) != 0;
  return std::memcmp(block.data(), kOldTag, sizeof kOldTag) == 0;
}

std::optional<TDateTime> SnoozeOf(const TNotifyInfo& record) {
  const TBlock& block = record.ReservedBlock;
  if (std::memcmp(block.data(), kTag, sizeof kTag) == 0) {
    // Without its flag there is no snooze, whether the rest checks out or not.
    if ((block[kFlagsAt] & kHasSnooze) == 0) return std::nullopt;
    const std::optional<TBlockContent> content = ReadContainer(block);
    return content ? content->Snooze : std::nullopt;
  }
  // Also where the rest of the block is another program's.
  return OldSnoozeMoment(record);
}

void WriteBlock(TNotifyInfo& record, const TBlockContent& content) {
  TBlock& block = record.ReservedBlock;
  block.fill(0);
  if (content == TBlockContent()) return;
  std::memcpy(block.data(), kTag, sizeof kTag);
  block[kVersionAt] = kVersion;
  uint8_t flags = 0;
  if (content.Identity && !content.Identity->IsNone()) {
    flags |= kHasIdentity;
    std::copy(content.Identity->Bytes.begin(), content.Identity->Bytes.end(),
              block.begin() + kIdentityAt);
  }
  if (content.Snooze && IsValidDateTime(*content.Snooze)) {
    flags |= kHasSnooze;
    WriteMoment(block.data() + kSnoozeAt, *content.Snooze);
  }
  const uint8_t length = std::min<uint8_t>(content.RuleLength, kRuleSize);
  if (length > 0) {
    flags |= kHasRule;
    block[kRuleLengthAt] = length;
    std::copy_n(content.Rule.begin(), length, block.begin() + kRuleAt);
  }
  block[kFlagsAt] = flags;
  WriteLe(block.data() + kCheckAt, Crc32(block.data(), kCheckAt), 4);
}

std::optional<TIdentity> IdentityOf(const TNotifyInfo& record) {
  const std::optional<TBlockContent> content = BlockContent(record);
  return content ? content->Identity : std::nullopt;
}

bool EnsureIdentity(TNotifyInfo& record, IIdentitySource& source) {
  std::optional<TBlockContent> content = BlockContent(record);
  if (!content) return false;
  if (content->Identity) return true;
  content->Identity = source.NewIdentity();
  WriteBlock(record, *content);
  return true;
}

void SetIdentity(TNotifyInfo& record, const TIdentity& identity) {
  TBlockContent content = BlockContent(record).value_or(TBlockContent());
  content.Identity = identity;
  WriteBlock(record, content);
}

std::optional<TDateTime> OldSnoozeMoment(const TNotifyInfo& record) {
  if (!IsOldSnooze(record.ReservedBlock)) return std::nullopt;
  return ReadMoment(record.ReservedBlock.data() + kOldMomentAt);
}

void WriteOldSnooze(TNotifyInfo& record, TDateTime moment) {
  uint8_t* block = record.ReservedBlock.data();
  std::memcpy(block, kOldTag, sizeof kOldTag);
  block[sizeof kOldTag] = kOldVersion;
  WriteMoment(block + kOldMomentAt, moment);
  block[kOldCheckAt] = Crc8(block, kOldCheckAt);
}

void ClearOldSnooze(TNotifyInfo& record) {
  std::fill_n(record.ReservedBlock.begin(), kOldSize, uint8_t{0});
}

}  // namespace reminder
