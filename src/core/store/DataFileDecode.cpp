// Reading "Reminder.dat": records back to back, with a resynchronising reader, so that a
// damaged length or kind costs the records it touches and not the rest of the file.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include "core/store/DataFileFormat.h"

namespace reminder {

namespace {

// Offsets within a record, before and after its strings.
constexpr size_t kTextLengthAt = 10;
constexpr size_t kTextAt = 12;
// Odd records (foreign values) in a row that still count as the file going on.
constexpr int kOddInARow = 3;
// A decision at a position looks at most this many records ahead: the record, those inside
// it where it is damaged, the odd ones and the sound one after them.
constexpr size_t kLookahead = (kOddInARow + 3) * kMaxRecordSize + 1;
// Without records read yet, what a lost reminder is reckoned to have taken.
constexpr size_t kTypicalRecordSize = kRecordFixedSize + 24;

// Dates the program can show: 0 (none), or from the year 1 to 9999. Tiny and enormous
// magnitudes are what bytes of other fields give when read as a date.
bool PlausibleDate(double date) {
  return date == 0.0 || (date >= -693593.0 && date <= 2958466.0 && std::fabs(date) >= 1.0);
}

// Judges positions in bytes that end at the end of the file, or far enough beyond the
// position that no judgement reaches their end (kLookahead).
class TRecordScan {
 public:
  explicit TRecordScan(std::string_view bytes) : bytes_(bytes) {}

  // The end of the record at `at`, or 0 when its lengths reach beyond the bytes.
  size_t End(size_t at) const {
    const size_t size = bytes_.size();
    if (size - at < kTextAt) return 0;
    const size_t textLength = Get<uint16_t>(at + kTextLengthAt);
    const size_t paramLengthAt = at + kTextAt + textLength + 1;
    if (paramLengthAt + 2 > size) return 0;
    const size_t end = at + kRecordFixedSize + textLength + Get<uint16_t>(paramLengthAt);
    return end <= size ? end : 0;
  }

  // Every field that is there lies inside its table or its range of dates.
  bool InTables(size_t at) const {
    if (!Has(at, 1)) return true;
    if (Byte(at) > 1) return false;
    if (Has(at + 1, 1) && Byte(at + 1) > nkAtDate) return false;
    if (Has(at + 2, 8) && !PlausibleDate(Get<double>(at + 2))) return false;
    if (!Has(at + kTextLengthAt, 2)) return true;
    const size_t actionAt = at + kTextAt + Get<uint16_t>(at + kTextLengthAt);
    if (Has(actionAt, 1) && Byte(actionAt) >= kActionCount) return false;
    if (!Has(actionAt + 1, 2)) return true;
    const size_t repeatAt = actionAt + 3 + Get<uint16_t>(actionAt + 1);
    if (Has(repeatAt, 1) && Byte(repeatAt) >= kRepeatCount) return false;
    return !Has(repeatAt + 1, 8) || PlausibleDate(Get<double>(repeatAt + 1));
  }

  // A record as the program writes them: inside the tables, with a text or a date. A run of
  // zero bytes (reserved fields) reads as neither.
  bool Plausible(size_t at) const {
    if (!InTables(at)) return false;
    if (Has(at + 2, 8) && Get<double>(at + 2) != 0.0) return true;
    if (!Has(at + kTextLengthAt, 2)) return true;
    return Get<uint16_t>(at + kTextLengthAt) > 0 && (!Has(at + kTextAt, 1) || Byte(at + kTextAt));
  }

  bool Sound(size_t at) const { return End(at) != 0 && Plausible(at); }

  // Whether what starts at `at` goes on as records do: the end of the file, a sound record,
  // the last record (also one cut short), or a few odd records (foreign values) that one of
  // these follows.
  bool Continues(size_t at, int oddLeft = kOddInARow) const {
    if (at == bytes_.size()) return true;
    const size_t end = End(at);
    if (end == 0) return Plausible(at);
    if (end == bytes_.size() || Plausible(at)) return true;
    return oddLeft > 0 && Continues(end, oddLeft - 1);
  }

  // Where decoding may go on after damage.
  bool Resumes(size_t at) const { return Sound(at) && Continues(End(at)); }

  // The program never writes a zero character into a text; a length too large by damage
  // takes in the binary fields of the records behind it, and with them zeros.
  bool HasZeroCharacter(size_t at, size_t end) const {
    const size_t textLength = Get<uint16_t>(at + kTextLengthAt);
    const size_t paramAt = at + kTextAt + textLength + 3;
    const size_t paramLength = end - at - kRecordFixedSize - textLength;
    return std::memchr(bytes_.data() + at + kTextAt, 0, textLength) != nullptr ||
           std::memchr(bytes_.data() + paramAt, 0, paramLength) != nullptr;
  }

  // The first position after `at` and before `end` where decoding may go on, or 0.
  size_t ResumesWithin(size_t at, size_t end) const {
    for (size_t next = at + 1; next < end; ++next) {
      if (Resumes(next)) return next;
    }
    return 0;
  }

 private:
  bool Has(size_t at, size_t size) const {
    return at <= bytes_.size() && bytes_.size() - at >= size;
  }
  uint8_t Byte(size_t at) const { return static_cast<uint8_t>(bytes_[at]); }
  template <typename T>
  T Get(size_t at) const {
    T value;
    std::memcpy(&value, bytes_.data() + at, sizeof(T));
    return value;
  }

  std::string_view bytes_;
};

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

// Reads fields in file order; bytes beyond the end read as zero, a string as far as it is
// there.
class TFieldReader {
 public:
  explicit TFieldReader(std::string_view bytes) : bytes_(bytes) {}

  template <typename T>
  T Get() {
    T value;
    ReadInto(&value, sizeof(T));
    return value;
  }

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

void DecodeFields(std::string_view bytes, TNotifyInfo& r) {
  TFieldReader in(bytes);
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

}  // namespace

void DecodeRecords(std::string_view bytes, const std::function<TNotifyInfo&()>& newRecord) {
  TRecordStreamDecoder decoder(newRecord);
  decoder.Feed(bytes);
  decoder.Finish();
}

void TRecordStreamDecoder::Feed(std::string_view part) {
  buffer_.append(part.data(), part.size());
  Process(false);
  buffer_.erase(0, pos_);
  pos_ = 0;
}

void TRecordStreamDecoder::Finish() {
  Process(true);
  if (skipping_) EndSkip();
  buffer_.clear();
  pos_ = 0;
}

void TRecordStreamDecoder::Process(bool atEnd) {
  const TRecordScan scan(buffer_);
  while (pos_ < buffer_.size() && (atEnd || buffer_.size() - pos_ >= kLookahead)) {
    if (skipping_) {
      if (!scan.Resumes(pos_)) {
        ++pos_;
        ++skipped_;
        continue;
      }
      EndSkip();
    }
    const size_t end = scan.End(pos_);
    // A record whose texts hold a zero character is damaged; where sound records begin
    // inside it, they are what the file holds there.
    const bool zero = end != 0 && scan.HasZeroCharacter(pos_, end);
    const size_t inside = zero ? scan.ResumesWithin(pos_, end) : 0;
    if (inside != 0) {
      MarkDamage();
      skipping_ = true;
      cutShort_ = false;
      skipped_ = inside - pos_;
      pos_ = inside;
      continue;
    }
    if (end != 0 && scan.Continues(end)) {
      // Foreign values stay as they are, unless the record is known to be damaged.
      if ((clean_ && !zero) || scan.InTables(pos_)) {
        Take(end);
      } else {
        MarkDamage();
        ++lost_;
      }
      pos_ = end;
      continue;
    }
    // Only at the end of the file can a record run beyond the bytes: it was cut short,
    // unless sound records follow within what is left.
    MarkDamage();
    cutShort_ = end == 0 && scan.Plausible(pos_);
    cutStart_ = pos_;
    skipping_ = true;
    skipped_ = 1;
    ++pos_;
  }
}

void TRecordStreamDecoder::Take(size_t end) {
  const std::string_view bytes(buffer_.data() + pos_, end - pos_);
  TNotifyInfo& record = newRecord_();
  DecodeFields(bytes, record);
  // Decoding changes nothing but a text cut at a zero character, which makes it shorter.
  if (EncodedSize(record) != bytes.size()) {
    MarkDamage();
    ++lost_;
  }
  ++decoded_;
  decodedBytes_ += bytes.size();
  if (onRecordBytes_) onRecordBytes_(bytes);
}

void TRecordStreamDecoder::TakeCutShort(size_t start) {
  const std::string_view bytes(buffer_.data() + start, buffer_.size() - start);
  DecodeFields(bytes, newRecord_());
  ++decoded_;
  ++lost_;
  if (onRecordBytes_) onRecordBytes_(bytes);
}

void TRecordStreamDecoder::EndSkip() {
  skipping_ = false;
  if (std::exchange(cutShort_, false) && pos_ >= buffer_.size()) {
    // No sound records after a record cut short by the end: it is the file's last.
    TakeCutShort(cutStart_);
    return;
  }
  const size_t typical = decoded_ > 0 ? decodedBytes_ / decoded_ : kTypicalRecordSize;
  lost_ += std::max<size_t>(1, (skipped_ + typical / 2) / typical);
}

void TRecordStreamDecoder::MarkDamage() {
  exact_ = false;
  clean_ = false;
}

}  // namespace reminder
