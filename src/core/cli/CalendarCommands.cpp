#include <cmath>
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <unordered_map>

#include "core/cli/Commands.h"
#include "core/ical/EventPlan.h"
#include "core/ical/ReminderCalendar.h"
#include "core/store/ActionTarget.h"
#include "core/store/DataFileFormat.h"
#include "core/store/DueRules.h"
#include "core/store/RepeatRule.h"
#include "core/store/ReservedBlock.h"
#include "core/ui/AddNotifyEventRules.h"

namespace reminder {

namespace {

// Puts an imported reminder through the editor, as if it had been typed there: what the
// editor would refuse is skipped with its reason, what it would change is named.
using TOnNote = std::function<void(TImportNote&& note)>;

constexpr double kOneSecond = 1.0 / 86400;

// An event that lies wholly in the past comes in as done: a single one whose moment has
// passed, a series that has ended. False for a series that ends later, which the module
// cannot follow without an extended rule.
bool PastIsDone(const TImportedEvent& event, TNotifyInfo& record, TDateTime now,
                const std::string& label, const TOnNote& note) {
  const bool ruled = RuleOf(record).has_value();
  if (event.SeriesEnd && record.RepeatKind != rkOnce) {
    // An extended rule follows the series to its end.
    if (*event.SeriesEnd >= now && !ruled) return false;
    if (*event.SeriesEnd < now) {
      record.Notified = 1;
      note({event.Event, label + ": Serie ist beendet, als erledigt übernommen"});
    }
  } else if (record.RepeatKind == rkOnce && record.NotifyDate - LeadDays(record) < now) {
    record.Notified = 1;
    note({event.Event, label + ": liegt in der Vergangenheit, als erledigt übernommen"});
  }
  // Occurrences before the import are the calendar's past, not missed alerts.
  if (ruled && record.Notified == 0 && record.NotifyDate - LeadDays(record) < now) {
    record.LastNotified = now;
  }
  return true;
}

// The action an event asked for and was not given: a reminder already there that has it
// keeps it.
struct TWithheld {
  uint8_t ActionKind;
  std::string ActionParam;
};

// What the editor let through, kept compact for large calendars: the records, the numbers
// of their events and the few actions withheld, by the index of their record.
struct TAccepted {
  std::vector<TNotifyInfo> Records;
  std::vector<size_t> Events;
  std::map<size_t, TWithheld> Withheld;
};

std::optional<TNotifyInfo> ThroughEditor(const TImportedEvent& event, TDateTime now,
                                         const TFileExists& fileExists, bool allowActions,
                                         const TOnNote& note, std::optional<TWithheld>& withheld) {
  const std::string label = EventLabel(event.Event, event.Summary);
  const auto skip = [&](const std::string& reason) {
    note({event.Event, label + " übersprungen: " + reason});
    return std::nullopt;
  };
  TNotifyInfo imported = event.Record;
  withheld.reset();
  // A calendar from elsewhere must not start programs or end the session on its own say.
  if (!allowActions && StartsOrChangesSystem(imported.ActionKind)) {
    withheld = TWithheld{imported.ActionKind, imported.ActionParam};
    std::string what = std::string("\"") + ActionName(imported.ActionKind) + "\"";
    if (!imported.ActionParam.empty()) what += " (" + imported.ActionParam + ")";
    note({event.Event, label + ": Aktion " + what + " nicht übernommen, stattdessen \"" +
                           ActionName(akWarning) + "\" (übernehmen mit --allow-actions)"});
    imported.ActionKind = akWarning;
    imported.ActionParam.clear();
    imported.DaysBefore = 0;
  }
  TAddNotifyEventModel model(now);
  model.Fill(imported);
  if (model.notText.empty()) return skip("ohne Text (SUMMARY)");
  if (!model.OKEnabled()) {
    return skip(std::string("ohne Parameter für \"") + ActionName(model.ActionCB) + "\"");
  }
  const TParamField field = ParamFieldOf(model.ActionCB);
  if (field != TParamField::None) {
    if (auto message = FieldExitMessage(field, *model.ParamText(field), fileExists)) {
      return skip(*message);
    }
  }
  TNotifyInfo record = model.ToNotifyInfo();
  // What the editor has no field for stays as the event brought it: the identity and, from
  // an export of the module's, the firing marks and the date to the last bit.
  record.Notified = imported.Notified;
  record.LastNotified = imported.LastNotified;
  record.Reserved1 = imported.Reserved1;
  record.Reserved2 = imported.Reserved2;
  record.ReservedBlock = imported.ReservedBlock;
  // A reminder exported before it had an identity is found again by its UID.
  if (event.Uid && BlockContent(record) && !IdentityOf(record)) SetIdentity(record, *event.Uid);
  if (std::abs(record.NotifyDate - imported.NotifyDate) < kOneSecond) {
    record.NotifyDate = imported.NotifyDate;
  }
  if (!event.Exact && !PastIsDone(event, record, now, label, note)) {
    return skip("Serie mit Ende (UNTIL, COUNT) nicht darstellbar");
  }
  if (record.NotifyText.size() < event.Record.NotifyText.size()) {
    note({event.Event,
          label + ": Text auf " + std::to_string(kMaxFieldLength) + " Zeichen gekürzt"});
  }
  if (record.DaysBefore != imported.DaysBefore && record.ActionKind == akWarning) {
    note({event.Event, label + ": Vorwarnung von " + std::to_string(imported.DaysBefore) + " auf " +
                           std::to_string(record.DaysBefore) + " Tage begrenzt"});
  }
  return record;
}

struct TMatched {
  size_t Updated = 0;
  size_t Unchanged = 0;
};

// An event whose UID names a reminder already in the file updates it, or leaves it alone
// when nothing changed; only the others stay in accepted, to be added (a UID that comes
// twice, once).
TMatched MatchByIdentity(TFileIO& store, TAccepted& accepted, const TCtlContext& context) {
  TMatched matched;
  std::vector<TNotifyInfo>& records = accepted.Records;
  std::unordered_map<TIdentity, TNotifyInfo*, TIdentityHash> known;
  known.reserve(store.Count() + records.size());
  for (size_t i = 0; i < store.Count(); ++i) {
    if (std::optional<TIdentity> id = IdentityOf(store.Item(i))) known[*id] = &store.Item(i);
  }
  size_t kept = 0;
  for (size_t i = 0; i < records.size(); ++i) {
    TNotifyInfo& record = records[i];
    const std::optional<TIdentity> id = IdentityOf(record);
    const auto found = id ? known.find(*id) : known.end();
    if (found == known.end()) {
      // Later records move only to places after this one: the address stays.
      if (kept != i) records[kept] = std::move(record);
      if (id) known[*id] = &records[kept];
      ++kept;
      continue;
    }
    TNotifyInfo& existing = *found->second;
    const std::string label = EventLabel(accepted.Events[i], FirstLine(record.NotifyText));
    const auto withheld = accepted.Withheld.find(i);
    if (withheld != accepted.Withheld.end() && existing.ActionKind == withheld->second.ActionKind &&
        existing.ActionParam == withheld->second.ActionParam) {
      record.ActionKind = existing.ActionKind;
      record.ActionParam = existing.ActionParam;
      record.DaysBefore = existing.DaysBefore;
      context.Report(label + ": die Aktion der Erinnerung bleibt, wie sie war");
    }
    if (existing == record) {
      ++matched.Unchanged;
      context.Report(label + ": unverändert");
    } else {
      existing = std::move(record);
      ++matched.Updated;
      context.Report(label + ": aktualisiert");
    }
  }
  records.erase(records.begin() + static_cast<std::ptrdiff_t>(kept), records.end());
  return matched;
}

}  // namespace

int RunExport(TCtlContext& context) {
  const std::string& target = context.Args.Positional[0];
  if (target != "-" && target == context.DataFile()) {
    return context.Fail("Die Kalenderdatei darf nicht die Datendatei sein.");
  }
  const bool toOut = target == "-";
  const TDateTime stamp = context.Env.LocalTime.LocalToUtc(context.Env.Clock.Now());
  bool read = false;
  size_t events = 0;
  // The records are written as they are read: neither the list nor the calendar is held.
  // A data file that cannot be read leaves a plain target file as it was.
  const auto produce = [&](const TPartWrite& write) {
    TCalendarExport calendar(stamp, write);
    read = ForEachStoredRecord(context, [&](size_t number, TNotifyInfo& record) {
      if (std::optional<std::string> skipped = calendar.Add(number, record)) {
        context.Report(*skipped);
      }
    });
    calendar.Finish();
    events = calendar.Events();
    return read;
  };
  if (toOut) {
    if (context.Env.BinaryOut) context.Env.BinaryOut();
    produce([&context](std::string_view part) {
      context.Out.write(part.data(), static_cast<std::streamsize>(part.size()));
    });
    context.Out.flush();
  } else if (!context.Env.Files.WriteUserFile(target, produce) && read) {
    return context.Fail("Die Datei \"" + context.Shown(target) +
                        "\" kann nicht geschrieben werden.");
  }
  if (!read) return kExitFailure;
  context.Report(Events(events) + " exportiert.");
  return kExitOk;
}

int RunImport(TCtlContext& context) {
  const std::string& source = context.Args.Positional[0];
  const std::string shownSource = context.Shown(source);
  // The calendar is read twice; standard input can be read only once, so it is kept.
  std::string input;
  if (source == "-" &&
      !ReadStandardInput(context, [&input](std::string_view part) { input += part; })) {
    return kExitFailure;
  }
  // A file is read in parts each time, so that it is never held whole.
  const auto read = [&](TCalendarImport& pass) {
    if (source == "-") {
      pass.Feed(input);
      return true;
    }
    return context.Env.Files.ReadPieces(source, [&pass](std::string_view part) {
      pass.Feed(part);
      return true;
    });
  };
  TCalendarImport scan(context.Env.LocalTime);
  if (!read(scan)) {
    return context.Fail(
        "Die Datei \"" + shownSource + "\" " +
        (context.Env.FileExists(source) ? "kann nicht gelesen werden." : "existiert nicht."));
  }
  std::string error;
  if (!scan.Finish(error)) {
    return context.Fail("Die Datei \"" + shownSource + "\" ist " + error + ".");
  }

  // The events are converted before the data file is locked, so that other writers wait
  // only for the save.
  TAccepted accepted;
  accepted.Records.reserve(scan.EventCount());
  accepted.Events.reserve(scan.EventCount());
  const TDateTime now = context.Env.Clock.Now();
  const bool allowActions = context.Args.Has("--allow-actions");
  // Notes on the file as a whole are about parts of it that were not read.
  bool partSkipped = false;
  const TOnNote report = [&context, &partSkipped](TImportNote&& note) {
    partSkipped = partSkipped || note.Event == 0;
    context.Report(note.Text);
  };
  TCalendarImport import(context.Env.LocalTime, std::move(scan),
                         {[&](TImportedEvent&& event) {
                            std::optional<TWithheld> withheld;
                            if (auto record = ThroughEditor(event, now, context.Env.FileExists,
                                                            allowActions, report, withheld)) {
                              if (withheld)
                                accepted.Withheld[accepted.Records.size()] = std::move(*withheld);
                              accepted.Records.push_back(std::move(*record));
                              accepted.Events.push_back(event.Event);
                            }
                          },
                          report});
  if (!read(import) || !import.Finish(error)) {
    return context.Fail("Die Datei \"" + shownSource +
                        "\" hat sich beim Lesen geändert; nichts übernommen.");
  }

  TCommandDataFile file(context.Env.Files, true);
  TStreamMsgBox box(context);
  TFileIO store(context.DataFile(), file, box);
  if (!LoadDataFile(context, store, file, true)) return kExitFailure;
  const size_t taken = accepted.Records.size();
  const TMatched matched = MatchByIdentity(store, accepted, context);
  std::vector<size_t>().swap(accepted.Events);
  if (!accepted.Records.empty() || matched.Updated > 0) {
    if (accepted.Records.empty()) {
      store.Save();
    } else {
      store.AddRecords(std::move(accepted.Records));
    }
    if (!CommitDataFile(context, store, file)) return kExitFailure;
  }
  std::string counts;
  if (matched.Updated > 0) counts += std::to_string(matched.Updated) + " aktualisiert";
  if (matched.Unchanged > 0) {
    counts += (counts.empty() ? "" : ", ") + std::to_string(matched.Unchanged) + " unverändert";
  }
  context.Report(std::to_string(taken) + " von " + Events(import.EventCount(), true) +
                 " übernommen" + (counts.empty() ? "" : " (davon " + counts + ")") + ".");
  const bool skipped = partSkipped || taken < import.EventCount();
  return skipped && !context.Args.Has("--lenient") ? kExitSkipped : kExitOk;
}

}  // namespace reminder
