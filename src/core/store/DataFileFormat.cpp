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

  // Assigns rather than builds the string, so that a record decoded again keeps its memory.
  void GetString(std::string& out) {
    const uint16_t length = Get<uint16_t>();
    const size_t available = std::min<size_t>(length, bytes_.size() - pos_);
    std::string_view text = bytes_.substr(pos_, available);
    pos_ += available;
    const size_t zero = text.find('\0');
    if (zero != std::string_view::npos) text = text.substr(0, zero);
    out.assign(text.data(), text.size());
  }

 private:
  std::string_view bytes_;
  size_t pos_ = 0;
};

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
  while (!in.AtEnd()) {
    TNotifyInfo& r = newRecord();
    r.Notified = in.Get<uint8_t>();
    r.NotifyKind = in.Get<uint8_t>();
    r.NotifyDate = in.Get<double>();
    in.GetString(r.NotifyText);
    r.ActionKind = in.Get<uint8_t>();
    in.GetString(r.ActionParam);
    r.RepeatKind = in.Get<uint8_t>();
    r.LastNotified = in.Get<double>();
    r.DaysBefore = in.Get<int32_t>();
    r.Reserved1 = in.Get<uint8_t>();
    r.Reserved2 = in.Get<uint8_t>();
    in.ReadInto(r.ReservedBlock.data(), r.ReservedBlock.size());
  }
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

namespace {

template <typename T>
const char* Take(const char* in, T& value) {
  std::memcpy(&value, in, sizeof(T));
  return in + sizeof(T);
}

const char* TakeString(const char* in, std::string& out) {
  uint16_t length;
  in = Take(in, length);
  const void* zero = std::memchr(in, '\0', length);
  const size_t kept = zero ? static_cast<size_t>(static_cast<const char*>(zero) - in) : length;
  // Building a fresh string is cheaper than growing an empty one; a string that has room
  // (a record decoded again) keeps its memory.
  if (kept == 0) {
    out.clear();
  } else if (out.capacity() >= kept) {
    out.assign(in, kept);
  } else {
    out = std::string(in, kept);
  }
  return in + length;
}

// A record known to be all there: no field needs a bounds check.
void DecodeCompleteRecord(const char* in, TNotifyInfo& r) {
  in = Take(in, r.Notified);
  in = Take(in, r.NotifyKind);
  in = Take(in, r.NotifyDate);
  in = TakeString(in, r.NotifyText);
  in = Take(in, r.ActionKind);
  in = TakeString(in, r.ActionParam);
  in = Take(in, r.RepeatKind);
  in = Take(in, r.LastNotified);
  in = Take(in, r.DaysBefore);
  in = Take(in, r.Reserved1);
  in = Take(in, r.Reserved2);
  std::memcpy(r.ReservedBlock.data(), in, r.ReservedBlock.size());
}

}  // namespace

void TRecordStreamDecoder::Feed(std::string_view part) {
  // A record begun in an earlier part takes only the bytes it still lacks.
  while (!pending_.empty() && !part.empty()) {
    const size_t take = std::min(KnownRecordSize(pending_) - pending_.size(), part.size());
    pending_.append(part.data(), take);
    part.remove_prefix(take);
    if (CompleteRecordSize(pending_) != 0) {
      DecodeCompleteRecord(pending_.data(), newRecord_());
      pending_.clear();
    }
  }
  if (part.empty()) return;
  size_t used = 0;
  while (const size_t size = CompleteRecordSize(part.substr(used))) {
    DecodeCompleteRecord(part.data() + used, newRecord_());
    used += size;
  }
  pending_.assign(part.data() + used, part.size() - used);
}

void TRecordStreamDecoder::Finish() {
  DecodeRecords(pending_, newRecord_);
  pending_.clear();
}

}  // namespace reminder
