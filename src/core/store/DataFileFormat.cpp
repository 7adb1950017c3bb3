#include "core/store/DataFileFormat.h"

#include <cstdint>
#include <cstring>

namespace reminder {

namespace {

// The file is little-endian; so are both targets, which lets fields be copied whole.
static_assert(sizeof(double) == 8, "date-times are IEEE doubles");

template <typename T>
char* Put(char* out, T value) {
  std::memcpy(out, &value, sizeof(T));
  return out + sizeof(T);
}

uint16_t StoredLength(const std::string& text) {
  return static_cast<uint16_t>(text.size() & 0xFFFF);
}

char* PutString(char* out, const std::string& text) {
  const uint16_t length = StoredLength(text);
  out = Put(out, length);
  std::memcpy(out, text.data(), length);
  return out + length;
}

}  // namespace

size_t EncodedSize(const TNotifyInfo& r) {
  return kRecordFixedSize + StoredLength(r.NotifyText) + StoredLength(r.ActionParam);
}

char* EncodeRecordTo(char* out, const TNotifyInfo& r) {
  out = Put(out, r.Notified);
  out = Put(out, r.NotifyKind);
  out = Put(out, r.NotifyDate);
  out = PutString(out, r.NotifyText);
  out = Put(out, r.ActionKind);
  out = PutString(out, r.ActionParam);
  out = Put(out, r.RepeatKind);
  out = Put(out, r.LastNotified);
  out = Put(out, r.DaysBefore);
  out = Put(out, r.Reserved1);
  out = Put(out, r.Reserved2);
  std::memcpy(out, r.ReservedBlock.data(), r.ReservedBlock.size());
  return out + r.ReservedBlock.size();
}

void EncodeRecord(std::string& out, const TNotifyInfo& record) {
  const size_t start = out.size();
  out.resize(start + EncodedSize(record));
  EncodeRecordTo(&out[start], record);
}

namespace {

uint64_t Mix(uint64_t lane, uint64_t word) {
  lane = (lane ^ word) * 0xFF51AFD7ED558CCDull;
  return lane ^ (lane >> 29);
}

uint64_t Word(const char* at) {
  uint64_t word;
  std::memcpy(&word, at, 8);
  return word;
}

}  // namespace

uint64_t RecordHash(std::string_view bytes) {
  // Four independent lanes of eight bytes: identities are taken on every load and save of
  // large lists, and the lanes keep the processor's multipliers busy.
  uint64_t lanes[4] = {0x9E3779B97F4A7C15ull ^ bytes.size(), 0xC2B2AE3D27D4EB4Full,
                       0x165667B19E3779F9ull, 0x27D4EB2F165667C5ull};
  const char* at = bytes.data();
  const char* end = at + bytes.size();
  for (; end - at >= 32; at += 32) {
    for (int lane = 0; lane < 4; ++lane) lanes[lane] = Mix(lanes[lane], Word(at + 8 * lane));
  }
  for (; end - at >= 8; at += 8) lanes[0] = Mix(lanes[0], Word(at));
  uint64_t tail = 0;
  std::memcpy(&tail, at, static_cast<size_t>(end - at));
  uint64_t hash = Mix(lanes[0], tail);
  for (int lane = 1; lane < 4; ++lane) hash = Mix(hash, lanes[lane]);
  hash = (hash ^ (hash >> 32)) * 0xC4CEB9FE1A85EC53ull;
  hash ^= hash >> 29;
  return hash == 0 ? 1 : hash;
}

uint64_t RecordHash(const TNotifyInfo& record) {
  std::string bytes;
  EncodeRecord(bytes, record);
  return RecordHash(bytes);
}

}  // namespace reminder
