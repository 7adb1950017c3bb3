// Reminders as iCalendar events and back. Each reminder becomes a VEVENT whose UID is its
// identity: its date and time as DTSTART in floating local time with a short DURATION,
// the first line of its text as SUMMARY and the whole text as DESCRIPTION, its repetition
// as an RRULE, and a VALARM at exactly the moments the module fires it (EventPlan.h),
// none where it never does. Its action goes to COMMENT for people; every field of the
// record travels in X- properties for the way back (ModuleFields.h).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "Version.h"
#include "core/ical/Component.h"
#include "core/ical/LocalTime.h"
#include "core/ical/TimeZone.h"
#include "core/store/NotifyInfo.h"
#include "core/store/ReservedBlock.h"

namespace reminder {

constexpr char kProductId[] = "-//Orvandel Software//reminderctl " REMINDER_RELEASE_TEXT "//DE";
constexpr char kActionProperty[] = "X-REMINDER-ACTION";
constexpr char kActionParamProperty[] = "X-REMINDER-ACTION-PARAM";
constexpr char kDaysBeforeProperty[] = "X-REMINDER-DAYS-BEFORE";
constexpr char kEventDuration[] = "PT15M";

// Writes a calendar as it goes, so that no list and no calendar is ever held whole: the
// head at construction, an event for each record added, the end at Finish. The text goes
// to the sink in parts of about 64 KiB, as UTF-8 with CRLF line ends.
class TCalendarExport {
 public:
  using TSink = std::function<void(std::string_view part)>;
  // utcStamp is the DTSTAMP of every event.
  TCalendarExport(TDateTime utcStamp, TSink sink);
  // Records are numbered from 1 in the notes. Without an event for the record, the note
  // why, German in Windows-1252: "Erinnerung 3 nicht exportiert: ..."; a note also for an
  // event without alarm whose rule never fires.
  std::optional<std::string> Add(size_t number, const TNotifyInfo& record);
  void Finish();
  size_t Events() const { return events_; }

 private:
  static constexpr size_t kPartSize = 64 * 1024;
  // How many events so far had each UID hash; equal reminders get "-2", "-3" ... Holds
  // the hashes in one open table, and a count only for the ones that repeat.
  class TUidCopies {
   public:
    int Add(uint64_t hash);

   private:
    void Grow();
    std::vector<uint64_t> slots_;
    size_t used_ = 0;
    std::unordered_map<uint64_t, int> repeated_;
  };
  void Flush();

  std::string stamp_;
  TSink sink_;
  std::string out_;
  TUidCopies uids_;
  size_t events_ = 0;
};

// Texts of notes are German in Windows-1252, one line each.
struct TExportResult {
  std::string Calendar;  // UTF-8 with CRLF line ends
  size_t Events = 0;
  std::vector<std::string> Skipped;  // "Erinnerung 3 nicht exportiert: ..."
  std::vector<std::string> Notes;    // "Erinnerung 3 ohne Alarm exportiert: ..."
};

// The whole calendar at once, for a list in memory.
TExportResult ExportReminders(const std::vector<const TNotifyInfo*>& records, TDateTime utcStamp);

struct TImportNote {
  size_t Event = 0;  // the event's number in the file, from 1; 0 for the file as a whole
  std::string Text;
};

struct TImportedEvent {
  size_t Event = 0;
  std::string Summary;  // for notes, Windows-1252
  // The reminder the event describes, not yet checked by the editor's rules; its
  // identity comes from the UID.
  TNotifyInfo Record;
  // The record exactly as the module exported it, firing marks included.
  bool Exact = false;
  // The identity the event's UID names, for a record that has none of its own.
  std::optional<TIdentity> Uid;
  // The local moment a series ends (UNTIL, or the last of COUNT occurrences), which the
  // module cannot follow: an event whose series has ended is done, one still running
  // cannot be taken.
  std::optional<TDateTime> SeriesEnd;
};

struct TImportResult {
  size_t EventCount = 0;  // VEVENTs in the file
  std::vector<TImportedEvent> Events;
  std::vector<TImportNote> Notes;  // what was skipped or converted, and why
};

// A calendar's time zones by their TZID.
using TCalendarZones = std::map<std::string, TTimeZone>;

// Imports a calendar fed in parts, in two passes over the same text, so that it is never
// held whole: the first pass checks its structure and keeps its time zones (which may
// follow the events that use them), the second converts each event as soon as it has
// been read and hands it on with the notes about it.
class TCalendarImport {
 public:
  struct THandlers {
    std::function<void(TImportedEvent&& event)> OnEvent;
    // What was skipped or converted, and why; an event's notes come before the event.
    std::function<void(TImportNote&& note)> OnNote;
  };
  // The first pass.
  explicit TCalendarImport(ILocalTime& localTime);
  // The second pass, with what the first pass over the same text found.
  TCalendarImport(ILocalTime& localTime, TCalendarImport&& firstPass, THandlers handlers);
  TCalendarImport(const TCalendarImport&) = delete;
  TCalendarImport& operator=(const TCalendarImport&) = delete;

  void Feed(std::string_view part);
  // False, with a German message in error, when the text is no calendar at all.
  bool Finish(std::string& error);
  // The VEVENTs read so far.
  size_t EventCount() const { return events_; }

 private:
  TComponentReader::THandlers ReaderHandlers();
  void Child(TComponent&& child);

  ILocalTime& localTime_;
  THandlers handlers_;
  bool converting_;
  std::vector<TCalendarZones> zones_;  // one map for each root read so far
  size_t rootsEnded_ = 0;
  size_t events_ = 0;
  bool any_ = false;
  TComponentReader reader_;
};

// Both passes over a whole text. False, with a German message in error, when the text is
// no calendar at all.
bool ImportReminders(std::string_view calendar, ILocalTime& localTime, TImportResult& result,
                     std::string& error);

// `Termin 3 "Zahnarzt"` for notes about an event, the summary cut to a readable length.
std::string EventLabel(size_t event, const std::string& summary);

}  // namespace reminder
