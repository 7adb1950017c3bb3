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
// field is set, so a record may be decoded into again. Damaged bytes cost only the records
// they touch (see TRecordStreamDecoder); a record cut short by the end keeps what could be
// read and zeros beyond; a string is cut at its first zero character.
void DecodeRecords(std::string_view bytes, const std::function<TNotifyInfo&()>& newRecord);
// Sets a record's two strings from its bytes in the file, for a decoder that left them out.
void DecodeRecordStrings(std::string_view recordBytes, TNotifyInfo& record);

// A record's identity: a hash of its bytes in the file (never 0).
uint64_t RecordHash(std::string_view bytes);
uint64_t RecordHash(const TNotifyInfo& record);

// Decodes a file that arrives in parts, record by record as soon as what follows a record
// is there to confirm it. A record is taken where it fits and the records after it go on
// sensibly (or the file ends). Where they do not, for example after a damaged length, the
// decoder looks for the next position where sound records continue and goes on from there,
// so a damaged byte costs only the records it touches. Once damage was met, a record with
// values outside the tables or absurd dates is not taken: it was likely rebuilt from
// damaged bytes. Gives the same records as DecodeRecords over the whole file.
class TRecordStreamDecoder {
 public:
  explicit TRecordStreamDecoder(std::function<TNotifyInfo&()> newRecord)
      : newRecord_(std::move(newRecord)) {}
  // Sees each record's bytes in the file right after the record was decoded.
  void SetOnRecordBytes(std::function<void(std::string_view)> handler) {
    onRecordBytes_ = std::move(handler);
  }
  // Leaves the strings of complete records empty: a reader that needs them for only a few
  // records decodes them with DecodeRecordStrings from the bytes OnRecordBytes sees.
  void SetStringsDeferred(bool deferred) { stringsDeferred_ = deferred; }
  // Decodes nothing more, for a reader that has what it wanted.
  void Stop() { stopped_ = true; }
  bool Stopped() const { return stopped_; }
  void Feed(std::string_view part);
  void Finish();
  // True while every record decoded encodes back to exactly the bytes it came from and
  // nothing was passed over: false after damage, a text cut at a zero character or a record
  // cut short by the end of the file.
  bool Exact() const { return exact_; }
  // Records decoded.
  size_t Decoded() const { return decoded_; }
  // Reminders that could not be read or only in part: an estimate from the bytes passed
  // over, records not taken, texts cut and a record cut short.
  size_t Lost() const { return lost_; }

 private:
  // Decodes what can be decided in bytes (the whole rest of the file when atEnd) and
  // answers how far it got.
  size_t Process(std::string_view bytes, bool atEnd);
  // Takes the records from pos on that a sound file holds; answers where a record needs the
  // full judgement.
  size_t TakeSound(std::string_view bytes, bool atEnd, size_t pos);
  // Takes a complete record; zero: a text holds a zero character, where it is cut.
  void Take(std::string_view bytes, bool zero);
  // Reckons the reminders passed over, or takes the record cut short by the end.
  void EndSkip(std::string_view bytes, size_t pos);
  void MarkDamage();

  std::function<TNotifyInfo&()> newRecord_;
  std::function<void(std::string_view)> onRecordBytes_;
  std::string buffer_;  // what a part left for the next one
  bool stringsDeferred_ = false;
  bool stopped_ = false;
  bool skipping_ = false;  // looking for where sound records continue
  size_t skipped_ = 0;
  bool cutShort_ = false;  // the skip began at a record cut short by the end of the file
  size_t cutStart_ = 0;    // where, in the last bytes of the file
  bool clean_ = true;      // no damage met so far
  bool exact_ = true;
  size_t decoded_ = 0;
  size_t decodedBytes_ = 0;
  size_t lost_ = 0;
};

}  // namespace reminder
