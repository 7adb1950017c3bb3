#include <cstdint>
#include <optional>
#include <utility>

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

int TCalendarExport::TUidCopies::Add(uint64_t hash) {
  // Zero marks a free slot; a real zero hash counts as one, which only shares suffixes.
  if (hash == 0) hash = 1;
  if ((used_ + 1) * 4 > slots_.size() * 3) Grow();
  const size_t mask = slots_.size() - 1;
  size_t i = hash & mask;
  while (slots_[i] != 0 && slots_[i] != hash) i = (i + 1) & mask;
  if (slots_[i] == 0) {
    slots_[i] = hash;
    ++used_;
    return 1;
  }
  int& copies = repeated_[hash];
  copies = copies == 0 ? 2 : copies + 1;
  return copies;
}

void TCalendarExport::TUidCopies::Grow() {
  std::vector<uint64_t> old(slots_.empty() ? 1024 : slots_.size() * 2, 0);
  old.swap(slots_);
  const size_t mask = slots_.size() - 1;
  for (uint64_t hash : old) {
    if (hash == 0) continue;
    size_t i = hash & mask;
    while (slots_[i] != 0) i = (i + 1) & mask;
    slots_[i] = hash;
  }
}

TCalendarExport::TCalendarExport(TDateTime utcStamp, TSink sink)
    : stamp_(FormatICalDateTime(utcStamp) + "Z"), sink_(std::move(sink)) {
  TEventWriter w(out_);
  w.Line("BEGIN:VCALENDAR");
  w.Line("VERSION:2.0");
  w.Line(std::string("PRODID:") + kProductId);
  w.Line("CALSCALE:GREGORIAN");
}

std::optional<std::string> TCalendarExport::Add(size_t number, const TNotifyInfo& record) {
  if (std::optional<std::string> obstacle = ExportObstacle(record)) {
    return "Erinnerung " + std::to_string(number) + " nicht exportiert: " + *obstacle;
  }
  const uint64_t hash = RecordHash(record);
  const int copy = uids_.Add(hash);
  const std::string uid =
      Hex(hash) + (copy > 1 ? "-" + std::to_string(copy) : std::string()) + "@reminderctl";
  TEventWriter w(out_);
  WriteEvent(w, record, uid, stamp_);
  ++events_;
  if (out_.size() >= kPartSize) Flush();
  return std::nullopt;
}

void TCalendarExport::Finish() {
  TEventWriter(out_).Line("END:VCALENDAR");
  Flush();
}

void TCalendarExport::Flush() {
  sink_(out_);
  out_.clear();
}

TExportResult ExportReminders(const std::vector<const TNotifyInfo*>& records, TDateTime utcStamp) {
  TExportResult result;
  TCalendarExport calendar(utcStamp,
                           [&result](std::string_view part) { result.Calendar.append(part); });
  for (size_t i = 0; i < records.size(); ++i) {
    if (std::optional<std::string> skipped = calendar.Add(i + 1, *records[i])) {
      result.Skipped.push_back(std::move(*skipped));
    }
  }
  calendar.Finish();
  result.Events = calendar.Events();
  return result;
}

}  // namespace reminder
