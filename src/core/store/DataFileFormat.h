// The byte layout of "Reminder.dat": records back to back, no header, little-endian,
// each field in its own width, strings as a 16-bit length and that many characters.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/store/NotifyInfo.h"

namespace reminder {

// Size of a record with both strings empty.
constexpr size_t kRecordFixedSize = 82;

// A string longer than 65535 characters is stored as the low 16 bits of its length and
// that many characters.
size_t EncodedSize(const TNotifyInfo& record);
// Writes EncodedSize(record) bytes and returns the position after them.
char* EncodeRecordTo(char* out, const TNotifyInfo& record);
void EncodeRecord(std::string& out, const TNotifyInfo& record);

// Reads records until the bytes run out, each into the record newRecord supplies; every
// field is set, so a record may be decoded into again. A record cut short by the end keeps
// what could be read and zeros beyond; a string is cut at its first zero character.
void DecodeRecords(std::string_view bytes, const std::function<TNotifyInfo&()>& newRecord);

// The size of the first record of bytes when all of it is there, 0 when they end inside it.
size_t CompleteRecordSize(std::string_view bytes);

// A record's identity: a hash of its bytes in the file (never 0).
uint64_t RecordHash(std::string_view bytes);
uint64_t RecordHash(const TNotifyInfo& record);

// Decodes a file that arrives in parts: each complete record as soon as it is there, what
// is left (a record cut short by the end of the file) at Finish. Gives the same records as
// DecodeRecords over the whole file.
class TRecordStreamDecoder {
 public:
  explicit TRecordStreamDecoder(std::function<TNotifyInfo&()> newRecord)
      : newRecord_(std::move(newRecord)) {}
  // Sees each record's bytes in the file right after the record was decoded.
  void SetOnRecordBytes(std::function<void(std::string_view)> handler) {
    onRecordBytes_ = std::move(handler);
  }
  void Feed(std::string_view part);
  void Finish();
  // True while every record decoded encodes back to exactly the bytes it came from: false
  // after a text cut at a zero character or a record cut short by the end of the file.
  bool Exact() const { return exact_; }

 private:
  void Decode(const char* bytes, size_t size);

  std::function<TNotifyInfo&()> newRecord_;
  std::function<void(std::string_view)> onRecordBytes_;
  std::string pending_;  // the start of a record the next part completes
  bool exact_ = true;
};

}  // namespace reminder
