#include <cstdint>
#include <map>
#include <optional>

#include "core/ical/ContentLine.h"
#include "core/ical/Cp1252.h"
#include "core/ical/ReminderCalendar.h"
#include "core/ical/Values.h"

namespace reminder {

namespace {

// Why a record has no event, or none when it has one.
std::optional<std::string> ExportObstacle(const TNotifyInfo& r) {
  switch (r.NotifyKind) {
    case nkAtDate:
      break;
    case nkNever:
      return std::string("nur gespeichert, ohne Termin");
    case nkDialUp:
      return std::string("erinnert beim nächsten DFÜ-Verbindungsaufbau, nicht zu einem Termin");
    default:
      return "unbekannter Auslöser " + std::to_string(r.NotifyKind);
  }
  if (r.RepeatKind == rkNever) return std::string("Wiederholung \"niemals\", wird nie fällig");
  if (r.RepeatKind > rkYearly) return "unbekannte Wiederholung " + std::to_string(r.RepeatKind);
  if (r.ActionKind >= kActionCount) return "unbekannte Aktion " + std::to_string(r.ActionKind);
  if (!IsValidDateTime(r.NotifyDate) || DecodeDate(r.NotifyDate).Year < 1) {
    return std::string("Datum außerhalb des Kalenders");
  }
  return std::nullopt;
}

std::string RecurrenceRule(const TNotifyInfo& r) {
  switch (r.RepeatKind) {
    case rkDaily:
      return "FREQ=DAILY";
    case rkWeekly:
      return std::string("FREQ=WEEKLY;BYDAY=") + WeekdayCode(DayOfWeek(r.NotifyDate));
    case rkMonthly:
      return "FREQ=MONTHLY";
    case rkYearly:
      return "FREQ=YEARLY";
    default:
      return "";
  }
}

const char* ParamLabel(uint8_t actionKind) {
  switch (actionKind) {
    case akEmail:
      return "E-Mail Adresse";
    case akWebsite:
      return "Adresse der Webseite";
    case akProgram:
      return "Programm";
    case akDocument:
      return "Dokument";
    default:
      return nullptr;
  }
}

// What a person reading the event in a calendar program wants to know.
std::string Description(const TNotifyInfo& r) {
  std::string text = std::string("Aktion: ") + ActionName(r.ActionKind);
  if (r.ActionKind == akWarning) {
    text += ", " + std::to_string(r.DaysBefore) + " Tage vorher";
  }
  if (const char* label = ParamLabel(r.ActionKind)) {
    text += std::string("\n") + label + ": " + r.ActionParam;
  }
  text += std::string("\nWiederholung: ") + RepeatName(r.RepeatKind);
  return text;
}

uint64_t Fnv1a(uint64_t hash, const void* data, size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < size; ++i) {
    hash ^= bytes[i];
    hash *= 0x100000001B3ULL;
  }
  return hash;
}

// The same reminder gets the same UID in every export, so that a calendar program
// updates its event instead of adding another one.
uint64_t RecordHash(const TNotifyInfo& r) {
  uint64_t hash = 0xCBF29CE484222325ULL;
  hash = Fnv1a(hash, &r.NotifyDate, sizeof r.NotifyDate);
  hash = Fnv1a(hash, r.NotifyText.data(), r.NotifyText.size() + 1);
  hash = Fnv1a(hash, &r.ActionKind, sizeof r.ActionKind);
  hash = Fnv1a(hash, r.ActionParam.data(), r.ActionParam.size() + 1);
  hash = Fnv1a(hash, &r.RepeatKind, sizeof r.RepeatKind);
  return Fnv1a(hash, &r.DaysBefore, sizeof r.DaysBefore);
}

std::string Hex(uint64_t value) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text(16, '0');
  for (int i = 15; i >= 0; --i, value >>= 4) text[i] = kDigits[value & 0xF];
  return text;
}

class TEventWriter {
 public:
  explicit TEventWriter(std::string& out) : out_(out) {}
  void Line(const std::string& line) { AppendFoldedLine(out_, line); }
  void Text(const std::string& name, const std::string& cp1252) {
    Line(name + ":" + EscapeText(Cp1252ToUtf8(cp1252)));
  }

 private:
  std::string& out_;
};

void WriteEvent(TEventWriter& w, const TNotifyInfo& r, const std::string& uid,
                const std::string& stamp) {
  w.Line("BEGIN:VEVENT");
  w.Line("UID:" + uid);
  w.Line("DTSTAMP:" + stamp);
  w.Line("DTSTART:" + FormatICalDateTime(r.NotifyDate));
  // A moment, not a span; calendar programs that refuse events without a length, or that
  // stretch them to the end of the day, get a short slot.
  w.Line(std::string("DURATION:") + kEventDuration);
  w.Text("SUMMARY", r.NotifyText);
  w.Text("DESCRIPTION", Description(r));
  if (r.RepeatKind != rkOnce) w.Line("RRULE:" + RecurrenceRule(r));
  w.Line(std::string(kActionProperty) + ";VALUE=INTEGER:" + std::to_string(r.ActionKind));
  if (!r.ActionParam.empty())
    w.Text(std::string(kActionParamProperty) + ";VALUE=TEXT", r.ActionParam);
  w.Line(std::string(kDaysBeforeProperty) + ";VALUE=INTEGER:" + std::to_string(r.DaysBefore));
  // The calendar program reminds when the module would: a warning its days ahead, every
  // other action at its time.
  w.Line("BEGIN:VALARM");
  w.Line("ACTION:DISPLAY");
  w.Text("DESCRIPTION", r.NotifyText);
  w.Line("TRIGGER:" + DaysAheadDuration(r.ActionKind == akWarning ? r.DaysBefore : 0));
  w.Line("END:VALARM");
  w.Line("END:VEVENT");
}

}  // namespace

TExportResult ExportReminders(const std::vector<const TNotifyInfo*>& records, TDateTime utcStamp) {
  TExportResult result;
  TEventWriter w(result.Calendar);
  w.Line("BEGIN:VCALENDAR");
  w.Line("VERSION:2.0");
  w.Line(std::string("PRODID:") + kProductId);
  w.Line("CALSCALE:GREGORIAN");
  const std::string stamp = FormatICalDateTime(utcStamp) + "Z";
  std::map<uint64_t, int> seen;
  for (size_t i = 0; i < records.size(); ++i) {
    const TNotifyInfo& r = *records[i];
    if (std::optional<std::string> obstacle = ExportObstacle(r)) {
      result.Skipped.push_back("Erinnerung " + std::to_string(i + 1) +
                               " nicht exportiert: " + *obstacle);
      continue;
    }
    const uint64_t hash = RecordHash(r);
    const int copy = ++seen[hash];
    const std::string uid =
        Hex(hash) + (copy > 1 ? "-" + std::to_string(copy) : std::string()) + "@reminderctl";
    WriteEvent(w, r, uid, stamp);
    ++result.Events;
  }
  w.Line("END:VCALENDAR");
  return result;
}

}  // namespace reminder
