#include <functional>
#include <optional>
#include <ostream>

#include "core/cli/Commands.h"
#include "core/ical/ReminderCalendar.h"
#include "core/store/ActionTarget.h"
#include "core/store/DataFileFormat.h"
#include "core/ui/AddNotifyEventRules.h"

namespace reminder {

namespace {

// Puts an imported reminder through the editor, as if it had been typed there: what the
// editor would refuse is skipped with its reason, what it would change is named.
using TOnNote = std::function<void(TImportNote&& note)>;

std::optional<TNotifyInfo> ThroughEditor(const TImportedEvent& event, TDateTime now,
                                         const TFileExists& fileExists, bool allowActions,
                                         const TOnNote& note) {
  const std::string label = EventLabel(event.Event, event.Summary);
  const auto skip = [&](const std::string& reason) {
    note({event.Event, label + " übersprungen: " + reason});
    return std::nullopt;
  };
  TNotifyInfo imported = event.Record;
  // A calendar from elsewhere must not start programs or end the session on its own say.
  if (!allowActions && StartsOrChangesSystem(imported.ActionKind)) {
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
  const TNotifyInfo record = model.ToNotifyInfo();
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
    return context.Env.Files.ReadPieces(source,
                                        [&pass](std::string_view part) { pass.Feed(part); });
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
  std::vector<TNotifyInfo> accepted;
  accepted.reserve(scan.EventCount());
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
                            if (auto record = ThroughEditor(event, now, context.Env.FileExists,
                                                            allowActions, report)) {
                              accepted.push_back(std::move(*record));
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
  const size_t taken = accepted.size();
  if (taken > 0) {
    store.AddAll(std::move(accepted));
    if (!CommitDataFile(context, store, file)) return kExitFailure;
  }
  context.Report(std::to_string(taken) + " von " + Events(import.EventCount(), true) +
                 " übernommen.");
  const bool skipped = partSkipped || taken < import.EventCount();
  return skipped && !context.Args.Has("--lenient") ? kExitSkipped : kExitOk;
}

}  // namespace reminder
