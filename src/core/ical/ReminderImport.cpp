#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "core/ical/ContentLine.h"
#include "core/ical/Cp1252.h"
#include "core/ical/EventPlan.h"
#include "core/ical/ModuleFields.h"
#include "core/ical/ReminderCalendar.h"
#include "core/ical/RuleImport.h"
#include "core/ical/TimeZone.h"
#include "core/ical/Values.h"

namespace reminder {

namespace {

constexpr size_t kLabelLength = 40;
constexpr int64_t kSecondsPerDay = 86400;

using TRule = std::map<std::string, std::string>;

bool ParseInt(const std::string& text, int64_t& value) {
  if (text.empty() || text.size() > 18) return false;
  size_t pos = text[0] == '-' || text[0] == '+' ? 1 : 0;
  if (pos == text.size()) return false;
  int64_t number = 0;
  for (; pos < text.size(); ++pos) {
    if (text[pos] < '0' || text[pos] > '9') return false;
    number = number * 10 + (text[pos] - '0');
  }
  value = text[0] == '-' ? -number : number;
  return true;
}

// Windows-1252 text of a TEXT value, line breaks as the editor's multi-line field has them:
// an escaped break, and a bare CR or LF that some writers leave in a value, become CR LF.
// A zero character becomes a blank (zeroBlanked tells): the data file ends a text at it.
TCp1252Text TextValue(const std::string& value, bool& zeroBlanked) {
  const std::string unescaped = UnescapeText(value);
  TCp1252Text text = Utf8ToCp1252(unescaped);
  std::string withCrLf;
  withCrLf.reserve(text.Text.size());
  zeroBlanked = false;
  for (size_t i = 0; i < text.Text.size(); ++i) {
    const char c = text.Text[i];
    if (c == '\0') {
      withCrLf += ' ';
      zeroBlanked = true;
      continue;
    }
    if (c != '\r' && c != '\n') {
      withCrLf += c;
      continue;
    }
    if (c == '\r' && i + 1 < text.Text.size() && text.Text[i + 1] == '\n') ++i;
    withCrLf += "\r\n";
  }
  text.Text = std::move(withCrLf);
  return text;
}

// A value from the file, for a note.
std::string Shown(const std::string& utf8) {
  return Utf8ToCp1252(utf8).Text;
}

bool IsUtcZoneName(const std::string& tzid) {
  const std::string name = UpperAscii(tzid);
  return name == "UTC" || name == "GMT" || name == "Z" || name == "ETC/UTC" || name == "ETC/GMT";
}

// The repetition kind of a rule the module can follow, or why it cannot. An end (UNTIL)
// is left to the caller.
std::optional<uint8_t> RepeatOfRule(const TRule& rule, const TDateParts& start,
                                    std::string& obstacle) {
  const auto freq = rule.find("FREQ");
  const std::string kind = freq == rule.end() ? "" : freq->second;
  uint8_t repeat;
  if (kind == "DAILY") {
    repeat = rkDaily;
  } else if (kind == "WEEKLY") {
    repeat = rkWeekly;
  } else if (kind == "MONTHLY") {
    repeat = rkMonthly;
  } else if (kind == "YEARLY") {
    repeat = rkYearly;
  } else {
    obstacle = "FREQ=" + kind;
    return std::nullopt;
  }
  const TDateTime startDate = EncodeDate(start.Year, start.Month, start.Day);
  for (const auto& [key, value] : rule) {
    bool fits;
    if (key == "FREQ" || key == "WKST" || key == "UNTIL") {
      fits = true;
    } else if (key == "INTERVAL") {
      fits = value == "1";
    } else if (key == "COUNT") {
      // A single occurrence is a reminder that fires once; where more end is left to the
      // caller.
      int64_t count = 0;
      fits = ParseInt(value, count) && count > 0;
      if (count == 1) repeat = rkOnce;
    } else if (key == "BYDAY") {
      fits = repeat == rkWeekly && value == WeekdayCode(DayOfWeek(startDate));
    } else if (key == "BYMONTHDAY") {
      fits = (repeat == rkMonthly || repeat == rkYearly) && value == std::to_string(start.Day);
    } else if (key == "BYMONTH") {
      fits = repeat == rkYearly && value == std::to_string(start.Month);
    } else if (key == "BYYEARDAY") {
      // Feb 29, and Mar 1 in a common year: what the module does for a start on Feb 29.
      fits = repeat == rkYearly && value == "60" && start.Month == 2 && start.Day == 29;
    } else {
      fits = false;
    }
    if (!fits) {
      obstacle = key + "=" + value;
      return std::nullopt;
    }
  }
  return repeat;
}

class TEventImport {
 public:
  TEventImport(const TComponent& event, size_t number, const TCalendarZones& zones,
               ILocalTime& localTime, const TCalendarImport::THandlers& handlers)
      : event_(event), number_(number), zones_(zones), localTime_(localTime), handlers_(handlers) {}

  void Run() {
    const TContentLine* summary = event_.Find("SUMMARY");
    const TContentLine* description = event_.Find("DESCRIPTION");
    bool zeroBlanked = false;
    TCp1252Text text = TextValue(summary ? summary->Value : "", zeroBlanked);
    // The description is the whole text when it begins with the summary and holds more.
    if (description) {
      bool wholeBlanked = false;
      TCp1252Text whole = TextValue(description->Value, wholeBlanked);
      if (whole.Text.size() > text.Text.size() &&
          whole.Text.compare(0, text.Text.size(), text.Text) == 0) {
        text = std::move(whole);
        zeroBlanked = zeroBlanked || wholeBlanked;
      }
    }
    label_ = EventLabel(number_, text.Text);
    const TContentLine* uid = event_.Find("UID");
    const std::optional<TIdentity> identity =
        uid ? IdentityOfUid(uid->Value) : std::optional<TIdentity>();
    if (std::optional<TNotifyInfo> own = ModuleRecord(event_)) {
      // An export of the module's that no calendar program changed: taken as it was, but
      // under the event's UID should that name another identity.
      if (identity && IdentityOf(*own) && IdentityOf(*own) != identity) {
        SetIdentity(*own, *identity);
      }
      TImportedEvent event;
      event.Uid = identity;
      event.Event = number_;
      event.Summary = text.Text;
      event.Record = std::move(*own);
      event.Exact = true;
      handlers_.OnEvent(std::move(event));
      return;
    }
    if (!text.Exact()) Note("Zeichen ohne Entsprechung in Windows-1252 durch ? ersetzt");
    if (zeroBlanked) Note("Nullzeichen durch Leerzeichen ersetzt");
    TNotifyInfo record;
    record.NotifyKind = nkAtDate;
    record.NotifyText = text.Text;
    if (!ReadStart(record) || !ReadRepetition(record)) return;
    ReadAction(record);
    if (identity) SetIdentity(record, *identity);
    for (std::string& note : notes_) handlers_.OnNote({number_, std::move(note)});
    TImportedEvent event;
    event.Event = number_;
    event.Summary = text.Text;
    event.Record = std::move(record);
    event.SeriesEnd = seriesEnd_;
    event.Uid = identity;
    handlers_.OnEvent(std::move(event));
  }

 private:
  // What was converted is named only for an event that is taken over.
  void Note(const std::string& text) { notes_.push_back(label_ + ": " + text); }
  bool Skip(const std::string& reason) {
    handlers_.OnNote({number_, label_ + " übersprungen: " + reason});
    return false;
  }

  bool ReadStart(TNotifyInfo& record) {
    if (event_.Find("RECURRENCE-ID")) {
      return Skip("geänderter Einzeltermin einer Serie (RECURRENCE-ID)");
    }
    if (const TContentLine* status = event_.Find("STATUS")) {
      if (UpperAscii(status->Value) == "CANCELLED") return Skip("abgesagt (STATUS:CANCELLED)");
    }
    const TContentLine* start = event_.Find("DTSTART");
    if (!start) return Skip("ohne Beginn (DTSTART)");
    if (!ParseICalDateTime(start->Value, start_)) {
      return Skip("Beginn DTSTART:" + Shown(start->Value) + " nicht lesbar");
    }
    const int64_t wall = ToSeconds(start_.Date, start_.Time);
    const std::string* tzid = start->Param("TZID");
    int64_t local = wall;
    if (!start_.HasTime) {
      // A whole-day event reminds at the start of its day.
    } else if (start_.Utc || (tzid && IsUtcZoneName(*tzid))) {
      local = SecondsOf(localTime_.UtcToLocal(FromSeconds(wall)));
      Note("Beginn in UTC, in Ortszeit umgerechnet");
    } else if (tzid) {
      const auto zone = zones_.find(*tzid);
      int offset = 0;
      if (zone != zones_.end() && zone->second.OffsetAt(wall, offset)) {
        local = SecondsOf(localTime_.UtcToLocal(FromSeconds(wall - offset)));
        Note("Zeitzone " + Shown(*tzid) + " in Ortszeit umgerechnet");
      } else {
        // Read as local time it would remind at a wrong hour without a word.
        return Skip("Zeitzone " + Shown(*tzid) + " ohne Beschreibung (VTIMEZONE) in der Datei");
      }
    }
    record.NotifyDate = FromSeconds(local);
    if (!IsValidDateTime(record.NotifyDate)) return Skip("Datum außerhalb des Kalenders");
    return true;
  }

  bool ReadRepetition(TNotifyInfo& record) {
    for (const char* name : {"RDATE", "EXDATE", "EXRULE"}) {
      if (event_.Find(name)) {
        return Skip(std::string("Wiederholung mit ") + name + " nicht darstellbar");
      }
    }
    const size_t rules = event_.Count("RRULE");
    if (rules == 0) {
      record.RepeatKind = rkOnce;
      return true;
    }
    if (rules > 1) return Skip("mehrere Regeln (RRULE) nicht darstellbar");
    const std::string text = Shown(event_.Find("RRULE")->Value);
    TRule rule;
    std::string repeated;
    if (!ParseRecurrenceRule(text, rule, &repeated)) {
      return Skip("Regel RRULE:" + text + " nicht lesbar" +
                  (repeated.empty() ? "" : " (" + repeated + " doppelt angegeben)"));
    }
    std::string obstacle;
    const std::optional<uint8_t> repeat = RepeatOfRule(rule, start_.Date, obstacle);
    // What the plain repetitions cannot follow, or a series that ends, the extended rule
    // does, which keeps its own end.
    if (!repeat || rule.count("UNTIL") != 0 || (rule.count("COUNT") != 0 && repeat != rkOnce)) {
      std::string why;
      if (const std::optional<TRepeatRule> extended =
              ExtendedRuleOf(rule, record.NotifyDate, localTime_, why)) {
        // Weekdays and days of the month belong to the event's own zone.
        const TDateParts local = DecodeDate(record.NotifyDate);
        if ((extended->Weekdays != 0 || extended->LastDayOfMonth) && local.Day != start_.Date.Day) {
          return Skip("Regel RRULE:" + text + " nicht darstellbar (Ortszeit an einem anderen Tag)");
        }
        SetRule(record, extended);
        seriesEnd_ = RuleSeriesEnd(*extended, record.NotifyDate);
        return true;
      }
      if (!repeat) return Skip("Regel RRULE:" + text + " nicht darstellbar (" + why + ")");
    }
    record.RepeatKind = *repeat;
    if (const auto until = rule.find("UNTIL"); until != rule.end()) {
      TICalDateTime end;
      if (!ParseICalDateTime(until->second, end)) {
        return Skip("Regel RRULE:" + text + " nicht lesbar (UNTIL)");
      }
      int64_t seconds = ToSeconds(end.Date, end.HasTime ? end.Time : TTimeParts{23, 59, 59, 0});
      if (end.Utc) seconds = SecondsOf(localTime_.UtcToLocal(FromSeconds(seconds)));
      seriesEnd_ = FromSeconds(seconds);
    }
    int64_t count = 0;
    if (const auto counted = rule.find("COUNT");
        counted != rule.end() && record.RepeatKind != rkOnce && ParseInt(counted->second, count)) {
      const std::optional<int64_t> last =
          LastOccurrenceDay(start_.Date, record.RepeatKind, count, rule.count("BYYEARDAY") != 0);
      const int64_t first = DaysFromCivil(start_.Date.Year, start_.Date.Month, start_.Date.Day);
      seriesEnd_ = last ? record.NotifyDate + static_cast<double>(*last - first) : kMaxDateTime;
    }
    // The module first fires a week after its date: the event's start is that firing.
    if (record.RepeatKind == rkWeekly) record.NotifyDate -= 7;
    if (!IsValidDateTime(record.NotifyDate)) return Skip("Datum außerhalb des Kalenders");
    return true;
  }

  // The action and its parameter come back from the X- properties of an exported
  // reminder; any other event warns, as early as its first alarm in whole days asks.
  void ReadAction(TNotifyInfo& record) {
    record.ActionKind = akWarning;
    const bool hasAlarm = std::any_of(event_.Children.begin(), event_.Children.end(),
                                      [](const TComponent& c) { return c.Name == "VALARM"; });
    if (const TContentLine* action = event_.Find(kActionProperty)) {
      int64_t kind = 0;
      if (ParseInt(action->Value, kind) && kind >= 0 && kind < kActionCount) {
        record.ActionKind = static_cast<uint8_t>(kind);
      } else {
        Note("unbekannte Aktion " + Shown(action->Value) + ", stattdessen \"Warnung ausgeben\"");
      }
    }
    if (const TContentLine* param = event_.Find(kActionParamProperty)) {
      bool zeroBlanked = false;
      const TCp1252Text text = TextValue(param->Value, zeroBlanked);
      if (!text.Exact())
        Note("Zeichen des Parameters ohne Entsprechung in Windows-1252 durch ? ersetzt");
      if (zeroBlanked) Note("Nullzeichen im Parameter durch Leerzeichen ersetzt");
      record.ActionParam = text.Text;
    }
    int64_t days = 0;
    const TContentLine* daysBefore = event_.Find(kDaysBeforeProperty);
    // A warning comes when the event's alarm does.
    if (record.ActionKind == akWarning && hasAlarm) daysBefore = nullptr;
    if (daysBefore && ParseInt(daysBefore->Value, days) && days >= INT32_MIN && days <= INT32_MAX) {
      record.DaysBefore = static_cast<int32_t>(days);
      return;
    }
    record.DaysBefore = static_cast<int32_t>(AlarmDays());
  }

  int64_t AlarmDays() {
    const TContentLine* unusable = nullptr;
    for (const TComponent& alarm : event_.Children) {
      if (alarm.Name != "VALARM") continue;
      const TContentLine* trigger = alarm.Find("TRIGGER");
      if (!trigger) continue;
      const std::string* related = trigger->Param("RELATED");
      const std::string* type = trigger->Param("VALUE");
      int64_t seconds = 0;
      if ((!related || UpperAscii(*related) == "START") &&
          (!type || UpperAscii(*type) == "DURATION") && ParseDuration(trigger->Value, seconds) &&
          seconds <= 0 && seconds % kSecondsPerDay == 0) {
        return -seconds / kSecondsPerDay;
      }
      if (!unusable) unusable = trigger;
    }
    if (unusable) {
      Note("Erinnerung TRIGGER:" + Shown(unusable->Value) +
           " nicht in ganzen Tagen vor Beginn, erinnert zum Beginn");
    }
    return 0;
  }

  const TComponent& event_;
  size_t number_;
  const TCalendarZones& zones_;
  ILocalTime& localTime_;
  const TCalendarImport::THandlers& handlers_;
  std::string label_;
  TICalDateTime start_;
  std::optional<TDateTime> seriesEnd_;
  std::vector<std::string> notes_;
};

}  // namespace

std::string EventLabel(size_t event, const std::string& summary) {
  std::string shown;
  for (char c : summary) {
    if (c == '\r') continue;
    shown += c == '\n' || c == '\t' ? ' ' : c;
  }
  if (shown.size() > kLabelLength) shown = shown.substr(0, kLabelLength - 3) + "...";
  return "Termin " + std::to_string(event) + " \"" + shown + "\"";
}

TCalendarImport::TCalendarImport(ILocalTime& localTime)
    : localTime_(localTime), converting_(false), reader_(ReaderHandlers()) {}

TCalendarImport::TCalendarImport(ILocalTime& localTime, TCalendarImport&& firstPass,
                                 THandlers handlers)
    : localTime_(localTime),
      handlers_(std::move(handlers)),
      converting_(true),
      zones_(std::move(firstPass.zones_)),
      reader_(ReaderHandlers()) {}

TComponentReader::THandlers TCalendarImport::ReaderHandlers() {
  TComponentReader::THandlers handlers;
  handlers.OnChild = [this](const TComponent& root, TComponent&& child) {
    if (root.Name == "VCALENDAR") Child(std::move(child));
  };
  handlers.OnRootEnd = [this](TComponent&& root) {
    any_ = any_ || root.Name == "VCALENDAR";
    ++rootsEnded_;
  };
  handlers.OnBadLine = [this](size_t line) {
    if (converting_) {
      handlers_.OnNote({0, "Zeile " + std::to_string(line) + " nicht lesbar, übersprungen"});
    }
  };
  return handlers;
}

void TCalendarImport::Child(TComponent&& child) {
  if (!converting_) {
    if (child.Name == "VEVENT") ++events_;
    // Each calendar's zones, for its events in the second pass.
    if (child.Name != "VTIMEZONE") return;
    if (zones_.size() <= rootsEnded_) zones_.resize(rootsEnded_ + 1);
    const TContentLine* tzid = child.Find("TZID");
    if (tzid) zones_[rootsEnded_].insert_or_assign(tzid->Value, TTimeZone(child));
    return;
  }
  if (child.Name == "VEVENT") {
    static const TCalendarZones kNone;
    const TCalendarZones& zones = rootsEnded_ < zones_.size() ? zones_[rootsEnded_] : kNone;
    TEventImport(child, ++events_, zones, localTime_, handlers_).Run();
  } else if (child.Name == "VTODO" || child.Name == "VJOURNAL") {
    handlers_.OnNote({0, child.Name + " in Zeile " + std::to_string(child.Line) +
                             " übersprungen: nur Termine (VEVENT) werden übernommen"});
  }
}

void TCalendarImport::Feed(std::string_view part) {
  reader_.Feed(part);
}

bool TCalendarImport::Finish(std::string& error) {
  if (!reader_.Finish()) {
    error = "keine gültige iCalendar-Datei: " + reader_.Error();
    return false;
  }
  if (!any_) {
    error = "keine iCalendar-Datei (BEGIN:VCALENDAR fehlt)";
    return false;
  }
  return true;
}

bool ImportReminders(std::string_view calendar, ILocalTime& localTime, TImportResult& result,
                     std::string& error) {
  result = {};
  TCalendarImport scan(localTime);
  scan.Feed(calendar);
  if (!scan.Finish(error)) return false;
  TCalendarImport import(
      localTime, std::move(scan),
      {[&result](TImportedEvent&& event) { result.Events.push_back(std::move(event)); },
       [&result](TImportNote&& note) { result.Notes.push_back(std::move(note)); }});
  import.Feed(calendar);
  import.Finish(error);
  result.EventCount = import.EventCount();
  return true;
}

}  // namespace reminder
