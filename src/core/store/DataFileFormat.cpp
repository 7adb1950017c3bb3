#include "core/store/DataFileFormat.h"

#include <algorithm>
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

// The text up to its first zero character. A string that has room keeps its memory (a
// record decoded again); otherwise a fresh string is cheaper than growing an empty one.
void AssignText(std::string& out, std::string_view text) {
  const size_t kept = std::min(text.find('\0'), text.size());
  if (kept == 0) {
    out.clear();
  } else if (out.capacity() >= kept) {
    out.assign(text.data(), kept);
  } else {
    out = std::string(text.data(), kept);
  }
}

class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  bool AtEnd() const { return pos_ >= bytes_.size(); }

  // A read may find fewer bytes than asked; the rest of the field stays zero.
  template <typename T>
  T Get() {
    T value;
    if (bytes_.size() - pos_ >= sizeof(T)) {
      std::memcpy(&value, bytes_.data() + pos_, sizeof(T));
      pos_ += sizeof(T);
      return value;
    }
    char raw[sizeof(T)];
    ReadInto(raw, sizeof(T));
    std::memcpy(&value, raw, sizeof(T));
    return value;
  }

  // Bytes beyond the end read as zero.
  void ReadInto(void* target, size_t size) {
    const size_t available = std::min(size, bytes_.size() - pos_);
    if (available > 0) std::memcpy(target, bytes_.data() + pos_, available);
    std::memset(static_cast<char*>(target) + available, 0, size - available);
    pos_ += available;
  }

  void GetString(std::string& out) {
    const uint16_t length = Get<uint16_t>();
    const size_t available = std::min<size_t>(length, bytes_.size() - pos_);
    AssignText(out, bytes_.substr(pos_, available));
    pos_ += available;
  }

 private:
  std::string_view bytes_;
  size_t pos_ = 0;
};

// Reads a record known to be all there: no field needs a bounds check.
class CompleteRecordReader {
 public:
  explicit CompleteRecordReader(const char* in) : in_(in) {}

  template <typename T>
  T Get() {
    T value;
    std::memcpy(&value, in_, sizeof(T));
    in_ += sizeof(T);
    return value;
  }

  void ReadInto(void* target, size_t size) {
    std::memcpy(target, in_, size);
    in_ += size;
  }

  void GetString(std::string& out) {
    const uint16_t length = Get<uint16_t>();
    AssignText(out, std::string_view(in_, length));
    in_ += length;
  }

 private:
  const char* in_;
};

// Every field in file order, whichever reader supplies them.
template <typename In>
void DecodeFields(In& in, TNotifyInfo& r) {
  r.Notified = in.template Get<uint8_t>();
  r.NotifyKind = in.template Get<uint8_t>();
  r.NotifyDate = in.template Get<double>();
  in.GetString(r.NotifyText);
  r.ActionKind = in.template Get<uint8_t>();
  in.GetString(r.ActionParam);
  r.RepeatKind = in.template Get<uint8_t>();
  r.LastNotified = in.template Get<double>();
  r.DaysBefore = in.template Get<int32_t>();
  r.Reserved1 = in.template Get<uint8_t>();
  r.Reserved2 = in.template Get<uint8_t>();
  in.ReadInto(r.ReservedBlock.data(), r.ReservedBlock.size());
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

void DecodeRecords(std::string_view bytes, const std::function<TNotifyInfo&()>& newRecord) {
  Reader in(bytes);
  while (!in.AtEnd()) DecodeFields(in, newRecord());
}

namespace {

// The size of the first record as far as its length fields that are there tell: its full
// size once both lengths are there, else the bytes needed to read the next length.
size_t KnownRecordSize(std::string_view bytes) {
  constexpr size_t kTextLengthAt = 10;
  if (bytes.size() < kTextLengthAt + 2) return kTextLengthAt + 2;
  uint16_t textLength;
  std::memcpy(&textLength, bytes.data() + kTextLengthAt, 2);
  const size_t paramLengthAt = kTextLengthAt + 2 + textLength + 1;
  if (bytes.size() < paramLengthAt + 2) return paramLengthAt + 2;
  uint16_t paramLength;
  std::memcpy(&paramLength, bytes.data() + paramLengthAt, 2);
  return kRecordFixedSize + textLength + paramLength;
}

}  // namespace

size_t CompleteRecordSize(std::string_view bytes) {
  const size_t size = KnownRecordSize(bytes);
  return bytes.size() >= size ? size : 0;
}

void TRecordStreamDecoder::Feed(std::string_view part) {
  // A record begun in an earlier part takes only the bytes it still lacks.
  while (!pending_.empty() && !part.empty()) {
    const size_t take = std::min(KnownRecordSize(pending_) - pending_.size(), part.size());
    pending_.append(part.data(), take);
    part.remove_prefix(take);
    if (const size_t size = CompleteRecordSize(pending_)) {
      Decode(pending_.data(), size);
      pending_.clear();
    }
  }
  if (part.empty()) return;
  size_t used = 0;
  while (const size_t size = CompleteRecordSize(part.substr(used))) {
    Decode(part.data() + used, size);
    used += size;
  }
  pending_.assign(part.data() + used, part.size() - used);
}

void TRecordStreamDecoder::Decode(const char* bytes, size_t size) {
  CompleteRecordReader in(bytes);
  TNotifyInfo& record = newRecord_();
  DecodeFields(in, record);
  // Decoding changes nothing but a text cut at a zero character, which makes it shorter.
  if (EncodedSize(record) != size) exact_ = false;
  if (onRecordBytes_) onRecordBytes_(std::string_view(bytes, size));
}

void TRecordStreamDecoder::Finish() {
  if (pending_.empty()) return;
  exact_ = false;
  // A record cut short: at most one, since its lengths reach beyond the end.
  DecodeRecords(pending_, newRecord_);
  if (onRecordBytes_) onRecordBytes_(pending_);
  pending_.clear();
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
