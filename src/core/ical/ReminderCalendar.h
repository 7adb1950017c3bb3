// Reminders as iCalendar events and back. A date reminder becomes a VEVENT: its date and
// time as DTSTART in floating local time with a short DURATION, its text as SUMMARY, its
// repetition as an RRULE, the moment it fires as a VALARM (TRIGGER:-PnD for a warning n
// days ahead, PT0S otherwise), and its action with the parameter in DESCRIPTION for people
// and in X- properties for the way back.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/ical/LocalTime.h"
#include "core/store/NotifyInfo.h"

namespace reminder {

constexpr char kProductId[] = "-//Orvandel Software//reminderctl 1.0//DE";
constexpr char kActionProperty[] = "X-REMINDER-ACTION";
constexpr char kActionParamProperty[] = "X-REMINDER-ACTION-PARAM";
constexpr char kDaysBeforeProperty[] = "X-REMINDER-DAYS-BEFORE";
constexpr char kEventDuration[] = "PT15M";

// Texts of notes are German in Windows-1252, one line each.
struct TExportResult {
  std::string Calendar;  // UTF-8 with CRLF line ends
  size_t Events = 0;
  std::vector<std::string> Skipped;  // "Erinnerung 3 nicht exportiert: ..."
};

// Records are numbered from 1 in the notes. utcStamp is the DTSTAMP of every event.
TExportResult ExportReminders(const std::vector<const TNotifyInfo*>& records, TDateTime utcStamp);

struct TImportNote {
  size_t Event = 0;  // the event's number in the file, from 1; 0 for the file as a whole
  std::string Text;
};

struct TImportedEvent {
  size_t Event = 0;
  std::string Summary;  // for notes, Windows-1252
  // The reminder the event describes, not yet checked by the editor's rules.
  TNotifyInfo Record;
};

struct TImportResult {
  size_t EventCount = 0;  // VEVENTs in the file
  std::vector<TImportedEvent> Events;
  std::vector<TImportNote> Notes;  // what was skipped or converted, and why
};

// False, with a German message in error, when the text is no calendar at all.
bool ImportReminders(std::string_view calendar, ILocalTime& localTime, TImportResult& result,
                     std::string& error);

// `Termin 3 "Zahnarzt"` for notes about an event, the summary cut to a readable length.
std::string EventLabel(size_t event, const std::string& summary);

}  // namespace reminder
