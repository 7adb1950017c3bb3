#include <cstdint>
#include <optional>
#include <utility>

#include "core/ical/ContentLine.h"
#include "core/ical/Cp1252.h"
#include "core/ical/EventPlan.h"
#include "core/ical/ModuleFields.h"
#include "core/ical/ReminderCalendar.h"
#include "core/ical/Values.h"
#include "core/store/RepeatRule.h"
#include "core/store/RuleText.h"

namespace reminder {

namespace {

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
  const std::optional<TRepeatRule> rule = RuleOf(r);
  text +=
      "\nWiederholung: " + (rule ? RuleShortText(*rule) : std::string(RepeatName(r.RepeatKind)));
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

// A record whose reserved block belongs to another program has no identity; its UID is a
// hash of its content instead.
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
    Line(name + ":" + EscapeText(Cp1252ToUtf8(CalendarText(cp1252))));
  }

 private:
  std::string& out_;
};

// The length of an event, cut where the calendar ends (31.12.9999 23:59:59).
std::string Duration(TDateTime start) {
  constexpr int64_t kEventSeconds = 15 * 60;
  const int64_t left = SecondsOf(EncodeDate(9999, 12, 31)) + 86399 - SecondsOf(start);
  if (left >= kEventSeconds) return kEventDuration;
  return "PT" + std::to_string(left < 0 ? 0 : left) + "S";
}

void WriteEvent(TEventWriter& w, const TNotifyInfo& r, const TEventPlan& plan,
                const std::string& uid, const std::string& stamp) {
  w.Line("BEGIN:VEVENT");
  w.Line("UID:" + uid);
  w.Line("DTSTAMP:" + stamp);
  w.Line("DTSTART:" + FormatICalDateTime(plan.Start));
  // A moment, not a span; calendar programs that refuse events without a length, or that
  // stretch them to the end of the day, get a short slot.
  w.Line("DURATION:" + Duration(plan.Start));
  // Calendar programs show one line as the title; the whole text is the description.
  w.Text("SUMMARY", FirstLine(r.NotifyText));
  w.Text("DESCRIPTION", r.NotifyText);
  w.Text("COMMENT", Description(r));
  if (!plan.Rule.empty()) w.Line("RRULE:" + plan.Rule);
  w.Line(std::string(kActionProperty) + ";VALUE=INTEGER:" + std::to_string(r.ActionKind));
  if (!r.ActionParam.empty())
    w.Text(std::string(kActionParamProperty) + ";VALUE=TEXT", r.ActionParam);
  w.Line(std::string(kDaysBeforeProperty) + ";VALUE=INTEGER:" + std::to_string(r.DaysBefore));
  for (const auto& [name, value] : ModuleFieldLines(r)) w.Line(name + ":" + value);
  // The calendar program alarms exactly when the module fires, and never where it does not.
  if (plan.AlarmDaysAhead) {
    w.Line("BEGIN:VALARM");
    w.Line("ACTION:DISPLAY");
    w.Text("DESCRIPTION", FirstLine(r.NotifyText));
    w.Line("TRIGGER:" + DaysAheadDuration(*plan.AlarmDaysAhead));
    w.Line("END:VALARM");
  }
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
  const TEventPlan plan = PlanEvent(record);
  // Only a date outside the calendar has no DTSTART.
  if (!IsValidDateTime(plan.Start) || DecodeDate(plan.Start).Year < 1) {
    return "Erinnerung " + std::to_string(number) +
           " nicht exportiert: Datum außerhalb des Kalenders";
  }
  std::string uid;
  if (const std::optional<TIdentity> identity = IdentityOf(record)) {
    uid = UidOf(*identity);
  } else {
    const uint64_t hash = RecordHash(record);
    const int copy = uids_.Add(hash);
    uid = Hex(hash) + (copy > 1 ? "-" + std::to_string(copy) : std::string()) + kUidDomain;
  }
  TEventWriter w(out_);
  WriteEvent(w, record, plan, uid, stamp_);
  ++events_;
  if (out_.size() >= kPartSize) Flush();
  if (plan.RuleNeverFires) {
    return "Erinnerung " + std::to_string(number) +
           " ohne Alarm exportiert: ihre Wiederholung trifft auf keinen Tag zu";
  }
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
    const size_t before = calendar.Events();
    if (std::optional<std::string> note = calendar.Add(i + 1, *records[i])) {
      (calendar.Events() == before ? result.Skipped : result.Notes).push_back(std::move(*note));
    }
  }
  calendar.Finish();
  result.Events = calendar.Events();
  return result;
}

}  // namespace reminder
