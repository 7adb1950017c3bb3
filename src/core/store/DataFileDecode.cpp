// Reading "Reminder.dat": records back to back, with a resynchronising reader, so that a
// damaged length or kind costs the records it touches and not the rest of the file.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include "core/common/MyTools.h"
#include "core/store/DataFileFormat.h"

namespace reminder {

namespace {

// Offsets within a record, before and after its strings.
constexpr size_t kTextLengthAt = 10;
constexpr size_t kTextAt = 12;
// Odd records (foreign values) in a row that still count as the file going on.
constexpr int kOddInARow = 3;
// Bytes of a new part joined to the start of a record that an earlier part left, at a time.
constexpr size_t kJoinStep = 64 * 1024;
// Without records read yet, what a lost reminder is reckoned to have taken.
constexpr size_t kTypicalRecordSize = kRecordFixedSize + 24;

// Dates the program can show: 0 (none), or from the year 1 to 9999. Tiny and enormous
// magnitudes are what bytes of other fields give when read as a date.
bool PlausibleDate(double date) {
  return date == 0.0 || (date >= -693593.0 && date <= 2958466.0 && std::fabs(date) >= 1.0);
}

// Whether [at, at + size) holds a zero byte. The Windows C library's memchr goes byte by
// byte, slower there than a look at eight bytes at a time; elsewhere memchr is the faster.
bool HasZeroByte(const char* at, size_t size) {
#ifdef _WIN32
  return HasZeroByteByWords(at, size);
#else
  return std::memchr(at, 0, size) != nullptr;
#endif
}

// Judges positions in bytes that the file goes on after, or that end with it (atEnd).
// Where the file goes on, a judgement that would need bytes beyond is marked Short: it is
// made again once more of the file is there, so it never depends on where parts end.
class TRecordScan {
 public:
  TRecordScan(std::string_view bytes, bool atEnd) : bytes_(bytes), atEnd_(atEnd) {}

  bool Short() const { return short_; }

  // The end of the record at `at`, or 0 when its lengths reach beyond the bytes.
  size_t End(size_t at) const {
    if (!Has(at, kTextAt)) return 0;
    const size_t textLength = Get<uint16_t>(at + kTextLengthAt);
    const size_t paramLengthAt = at + kTextAt + textLength + 1;
    if (!Has(paramLengthAt, 2)) return 0;
    const size_t end = at + kRecordFixedSize + textLength + Get<uint16_t>(paramLengthAt);
    return Has(at, end - at) ? end : 0;
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
    if (AtEndOfFile(at)) return true;
    const size_t end = End(at);
    if (end == 0) return Plausible(at);
    if (AtEndOfFile(end) || Plausible(at)) return true;
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
    return HasZeroByte(bytes_.data() + at + kTextAt, textLength) ||
           HasZeroByte(bytes_.data() + paramAt, paramLength);
  }

  // The first position after `at` and before `end` where decoding may go on, or 0.
  size_t ResumesWithin(size_t at, size_t end) const {
    // Once a judgement needs more of the file, the whole search is made again with it.
    for (size_t next = at + 1; next < end && !short_; ++next) {
      if (Resumes(next)) return next;
    }
    return 0;
  }

 private:
  bool Has(size_t at, size_t size) const {
    if (at <= bytes_.size() && bytes_.size() - at >= size) return true;
    if (!atEnd_) short_ = true;
    return false;
  }
  bool AtEndOfFile(size_t at) const {
    if (at < bytes_.size()) return false;
    if (!atEnd_) short_ = true;
    return atEnd_;
  }
  uint8_t Byte(size_t at) const { return static_cast<uint8_t>(bytes_[at]); }
  template <typename T>
  T Get(size_t at) const {
    T value;
    std::memcpy(&value, bytes_.data() + at, sizeof(T));
    return value;
  }

  std::string_view bytes_;
  bool atEnd_;
  mutable bool short_ = false;
};

// The text up to its first zero character. A string that has room keeps its memory (a
// record decoded again); otherwise a fresh string is cheaper than growing an empty one.
void AssignText(std::string& out, std::string_view text, bool zeroFree) {
  const size_t kept = zeroFree ? text.size() : std::min(text.find('\0'), text.size());
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
    AssignText(out, bytes_.substr(pos_, available), false);
    pos_ += available;
  }

  void SkipString(std::string& out) {
    out.clear();
    pos_ += std::min<size_t>(Get<uint16_t>(), bytes_.size() - pos_);
  }

 private:
  std::string_view bytes_;
  size_t pos_ = 0;
};

// Reads a record known to be all there: no field needs a bounds check.
class TCompleteRecordReader {
 public:
  // zeroFree: the texts are known to hold no zero character, so they are not searched for one.
  explicit TCompleteRecordReader(std::string_view bytes, bool zeroFree = false)
      : in_(bytes.data()), zeroFree_(zeroFree) {}

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
    AssignText(out, std::string_view(in_, length), zeroFree_);
    in_ += length;
  }

  void SkipString(std::string& out) {
    out.clear();
    in_ += Get<uint16_t>();
  }

 private:
  const char* in_;
  bool zeroFree_;
};

// Every field in file order, whichever reader supplies them; the strings left empty unless
// withStrings.
template <typename Reader, typename... ReaderArgs>
void DecodeFields(std::string_view bytes, TNotifyInfo& r, bool withStrings, ReaderArgs... args) {
  Reader in(bytes, args...);
  r.Notified = in.template Get<uint8_t>();
  r.NotifyKind = in.template Get<uint8_t>();
  r.NotifyDate = in.template Get<double>();
  if (withStrings) {
    in.GetString(r.NotifyText);
  } else {
    in.SkipString(r.NotifyText);
  }
  r.ActionKind = in.template Get<uint8_t>();
  if (withStrings) {
    in.GetString(r.ActionParam);
  } else {
    in.SkipString(r.ActionParam);
  }
  r.RepeatKind = in.template Get<uint8_t>();
  r.LastNotified = in.template Get<double>();
  r.DaysBefore = in.template Get<int32_t>();
  r.Reserved1 = in.template Get<uint8_t>();
  r.Reserved2 = in.template Get<uint8_t>();
  in.ReadInto(r.ReservedBlock.data(), r.ReservedBlock.size());
}

}  // namespace

void DecodeRecordStrings(std::string_view recordBytes, TNotifyInfo& record) {
  TFieldReader in(recordBytes);
  in.Get<uint16_t>();  // Notified, NotifyKind
  in.Get<double>();    // NotifyDate
  in.GetString(record.NotifyText);
  in.Get<uint8_t>();
  in.GetString(record.ActionParam);
}

void DecodeRecords(std::string_view bytes, const std::function<TNotifyInfo&()>& newRecord) {
  TRecordStreamDecoder decoder(newRecord);
  decoder.Feed(bytes);
  decoder.Finish();
}

void TRecordStreamDecoder::Feed(std::string_view part) {
  // What an earlier part left is completed a step at a time, so that once the decoder is
  // past it the rest of the part is decoded where it lies, without a copy.
  while (!buffer_.empty() && !part.empty()) {
    const size_t left = buffer_.size();
    const size_t step = std::min(part.size(), kJoinStep);
    buffer_.append(part.data(), step);
    const size_t used = Process(buffer_, false);
    if (stopped_) return;
    if (used >= left) {
      buffer_.clear();
      part.remove_prefix(used - left);
      break;
    }
    buffer_.erase(0, used);
    part.remove_prefix(step);
  }
  if (part.empty() || stopped_) return;
  const size_t used = Process(part, false);
  buffer_.assign(part.data() + used, part.size() - used);
}

void TRecordStreamDecoder::Finish() {
  if (stopped_) return;
  const size_t used = Process(buffer_, true);
  if (skipping_) EndSkip(buffer_, used);
  buffer_.clear();
}

size_t TRecordStreamDecoder::TakeSound(std::string_view bytes, bool atEnd, size_t pos) {
  // Its own scan: a judgement here that needs more bytes only ends the run.
  const TRecordScan scan(bytes, atEnd);
  while (!stopped_) {
    // A record with its zero-free texts, followed by a sound record in these bytes, is taken
    // by the judgement below as well.
    const size_t end = scan.End(pos);
    if (end == 0 || end >= bytes.size() || scan.HasZeroCharacter(pos, end) || !scan.Sound(end)) {
      break;
    }
    Take(bytes.substr(pos, end - pos), false);
    pos = end;
  }
  return pos;
}

size_t TRecordStreamDecoder::Process(std::string_view bytes, bool atEnd) {
  const TRecordScan scan(bytes, atEnd);
  size_t pos = 0;
  while (pos < bytes.size() && !stopped_) {
    // Most files are sound throughout: their records go the short way.
    if (clean_ && !skipping_) {
      pos = TakeSound(bytes, atEnd, pos);
      if (pos >= bytes.size() || stopped_) break;
    }
    if (skipping_) {
      const bool resumes = scan.Resumes(pos);
      if (scan.Short()) break;
      if (!resumes) {
        ++pos;
        ++skipped_;
        continue;
      }
      EndSkip(bytes, pos);
    }
    // Decided in full before anything is taken, so that a decision that needs more of the
    // file is made again from the same place.
    const size_t end = scan.End(pos);
    // A record whose texts hold a zero character is damaged; where sound records begin
    // inside it, they are what the file holds there.
    const bool zero = end != 0 && scan.HasZeroCharacter(pos, end);
    const size_t inside = zero ? scan.ResumesWithin(pos, end) : 0;
    const bool continues = inside == 0 && end != 0 && scan.Continues(end);
    // Foreign values stay as they are, unless the record is known to be damaged.
    const bool take = continues && ((clean_ && !zero) || scan.InTables(pos));
    // Only at the end of the file can a record run beyond the bytes: it was cut short,
    // unless sound records follow within what is left.
    const bool cutShort = !continues && inside == 0 && end == 0 && scan.Plausible(pos);
    if (scan.Short()) break;
    if (inside != 0) {
      MarkDamage();
      skipping_ = true;
      cutShort_ = false;
      skipped_ = inside - pos;
      pos = inside;
    } else if (continues) {
      if (take) {
        Take(bytes.substr(pos, end - pos), zero);
      } else {
        MarkDamage();
        ++lost_;
      }
      pos = end;
    } else {
      MarkDamage();
      cutShort_ = cutShort;
      cutStart_ = pos;
      skipping_ = true;
      skipped_ = 1;
      ++pos;
    }
  }
  return pos;
}

void TRecordStreamDecoder::Take(std::string_view bytes, bool zero) {
  TNotifyInfo& record = newRecord_();
  DecodeFields<TCompleteRecordReader>(bytes, record, !stringsDeferred_, !zero);
  // Decoding changes nothing but a text cut at a zero character.
  if (zero) {
    MarkDamage();
    ++lost_;
  }
  ++decoded_;
  decodedBytes_ += bytes.size();
  if (onRecordBytes_) onRecordBytes_(bytes);
}

void TRecordStreamDecoder::EndSkip(std::string_view bytes, size_t pos) {
  skipping_ = false;
  if (std::exchange(cutShort_, false) && pos >= bytes.size()) {
    // No sound records after a record cut short by the end: it is the file's last.
    const std::string_view rest = bytes.substr(cutStart_);
    DecodeFields<TFieldReader>(rest, newRecord_(), true);
    ++decoded_;
    ++lost_;
    if (onRecordBytes_) onRecordBytes_(rest);
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
