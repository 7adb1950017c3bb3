#include "core/store/DataFileFormat.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace reminder {

namespace {

// The file is little-endian; so are both targets, which lets fields be copied whole.
static_assert(sizeof(double) == 8, "date-times are IEEE doubles");

template <typename T>
void Put(std::string& out, T value) {
  char bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T));
  out.append(bytes, sizeof(T));
}

void PutString(std::string& out, const std::string& text) {
  const uint16_t length = static_cast<uint16_t>(text.size() & 0xFFFF);
  Put(out, length);
  out.append(text.data(), length);
}

class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  bool AtEnd() const { return pos_ >= bytes_.size(); }

  // A read may find fewer bytes than asked; the rest of the field stays zero.
  template <typename T>
  T Get() {
    char raw[sizeof(T)] = {};
    ReadInto(raw, sizeof(T));
    T value;
    std::memcpy(&value, raw, sizeof(T));
    return value;
  }

  void ReadInto(void* target, size_t size) {
    const size_t available = std::min(size, bytes_.size() - pos_);
    if (available > 0) std::memcpy(target, bytes_.data() + pos_, available);
    pos_ += available;
  }

  std::string GetString() {
    const uint16_t length = Get<uint16_t>();
    const size_t available = std::min<size_t>(length, bytes_.size() - pos_);
    std::string_view text = bytes_.substr(pos_, available);
    pos_ += available;
    const size_t zero = text.find('\0');
    if (zero != std::string_view::npos) text = text.substr(0, zero);
    return std::string(text);
  }

 private:
  std::string_view bytes_;
  size_t pos_ = 0;
};

}  // namespace

void EncodeRecord(std::string& out, const TNotifyInfo& r) {
  Put(out, r.Notified);
  Put(out, r.NotifyKind);
  Put(out, r.NotifyDate);
  PutString(out, r.NotifyText);
  Put(out, r.ActionKind);
  PutString(out, r.ActionParam);
  Put(out, r.RepeatKind);
  Put(out, r.LastNotified);
  Put(out, r.DaysBefore);
  Put(out, r.Reserved1);
  Put(out, r.Reserved2);
  out.append(reinterpret_cast<const char*>(r.ReservedBlock.data()), r.ReservedBlock.size());
}

void DecodeRecords(std::string_view bytes, std::vector<std::unique_ptr<TNotifyInfo>>& out) {
  Reader in(bytes);
  while (!in.AtEnd()) {
    out.push_back(std::make_unique<TNotifyInfo>());
    TNotifyInfo& r = *out.back();
    r.Notified = in.Get<uint8_t>();
    r.NotifyKind = in.Get<uint8_t>();
    r.NotifyDate = in.Get<double>();
    r.NotifyText = in.GetString();
    r.ActionKind = in.Get<uint8_t>();
    r.ActionParam = in.GetString();
    r.RepeatKind = in.Get<uint8_t>();
    r.LastNotified = in.Get<double>();
    r.DaysBefore = in.Get<int32_t>();
    r.Reserved1 = in.Get<uint8_t>();
    r.Reserved2 = in.Get<uint8_t>();
    in.ReadInto(r.ReservedBlock.data(), r.ReservedBlock.size());
  }
}

}  // namespace reminder
