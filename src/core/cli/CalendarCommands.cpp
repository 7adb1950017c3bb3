#include <algorithm>
#include <iterator>
#include <optional>
#include <ostream>

#include "core/cli/Commands.h"
#include "core/cli/TerminalText.h"
#include "core/ical/ReminderCalendar.h"
#include "core/store/ActionTarget.h"
#include "core/store/DataFileFormat.h"
#include "core/ui/AddNotifyEventRules.h"

namespace reminder {

namespace {

// Puts an imported reminder through the editor, as if it had been typed there: what the
// editor would refuse is skipped with its reason, what it would change is named.
std::optional<TNotifyInfo> ThroughEditor(const TImportedEvent& event, TDateTime now,
                                         const TFileExists& fileExists, bool allowActions,
                                         std::vector<TImportNote>& notes) {
  const std::string label = EventLabel(event.Event, event.Summary);
  const auto skip = [&](const std::string& reason) {
    notes.push_back({event.Event, label + " übersprungen: " + reason});
    return std::nullopt;
  };
  TNotifyInfo imported = event.Record;
  // A calendar from elsewhere must not start programs or end the session on its own say.
  if (!allowActions && StartsOrChangesSystem(imported.ActionKind)) {
    std::string what = std::string("\"") + ActionName(imported.ActionKind) + "\"";
    if (!imported.ActionParam.empty()) what += " (" + imported.ActionParam + ")";
    notes.push_back({event.Event, label + ": Aktion " + what + " nicht übernommen, stattdessen \"" +
                                      ActionName(akWarning) +
                                      "\" (übernehmen mit --allow-actions)"});
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
    notes.push_back({event.Event,
                     label + ": Text auf " + std::to_string(kMaxFieldLength) + " Zeichen gekürzt"});
  }
  if (record.DaysBefore != imported.DaysBefore && record.ActionKind == akWarning) {
    notes.push_back({event.Event, label + ": Vorwarnung von " +
                                      std::to_string(imported.DaysBefore) + " auf " +
                                      std::to_string(record.DaysBefore) + " Tage begrenzt"});
  }
  return record;
}

}  // namespace

int RunExport(TCtlContext& context) {
  const std::string& target = context.Args.Positional[0];
  if (target == context.DataFile()) {
    return context.Fail("Die Kalenderdatei darf nicht die Datendatei sein.");
  }
  TCommandDataFile file(context.Env.Files, false);
  TStreamMsgBox box(context);
  TFileIO store(context.DataFile(), file, box);
  if (!LoadDataFile(context, store, file, false)) return kExitFailure;
  std::vector<const TNotifyInfo*> records;
  for (size_t i = 0; i < store.Count(); ++i) records.push_back(&store.Item(i));
  const TDateTime stamp = context.Env.LocalTime.LocalToUtc(context.Env.Clock.Now());
  const TExportResult result = ExportReminders(records, stamp);
  // "-" is standard output; what is said about the export then goes to the error stream.
  const bool toOut = target == "-";
  if (toOut) {
    if (context.Env.BinaryOut) context.Env.BinaryOut();
    context.Out << result.Calendar;
    context.Out.flush();
  } else if (!context.Env.Files.WriteUserFile(target, result.Calendar)) {
    return context.Fail("Die Datei \"" + context.Shown(target) +
                        "\" kann nicht geschrieben werden.");
  }
  std::ostream& report = toOut ? context.Err : context.Out;
  for (const std::string& line : result.Skipped) {
    report << ToTerminal(line, context.Env.Charset) << '\n';
  }
  report << ToTerminal(Events(result.Events) + " exportiert.", context.Env.Charset) << '\n';
  return kExitOk;
}

int RunImport(TCtlContext& context) {
  const std::string& source = context.Args.Positional[0];
  const std::string shownSource = context.Shown(source);
  std::string calendar;
  if (source == "-") {
    // "-" is standard input.
    if (!context.Env.In) return context.Fail("Keine Standardeingabe.");
    calendar.assign(std::istreambuf_iterator<char>(*context.Env.In), {});
  } else {
    TFileBytes bytes;
    if (!context.Env.Files.Read(source, bytes)) {
      return context.Fail(
          "Die Datei \"" + shownSource + "\" " +
          (context.Env.FileExists(source) ? "kann nicht gelesen werden." : "existiert nicht."));
    }
    calendar.assign(bytes.View());
  }
  TImportResult imported;
  std::string error;
  if (!ImportReminders(calendar, context.Env.LocalTime, imported, error)) {
    return context.Fail("Die Datei \"" + shownSource + "\" ist " + error + ".");
  }
  TCommandDataFile file(context.Env.Files, true);
  TStreamMsgBox box(context);
  TFileIO store(context.DataFile(), file, box);
  if (!LoadDataFile(context, store, file, true)) return kExitFailure;

  std::vector<TImportNote> notes = std::move(imported.Notes);
  std::vector<TNotifyInfo> accepted;
  const TDateTime now = context.Env.Clock.Now();
  for (const TImportedEvent& event : imported.Events) {
    if (auto record = ThroughEditor(event, now, context.Env.FileExists,
                                    context.Args.Has("--allow-actions"), notes)) {
      accepted.push_back(std::move(*record));
    }
  }
  if (!accepted.empty()) {
    store.AddAll(accepted);
    if (!CommitDataFile(context, store, file)) return kExitFailure;
  }
  std::stable_sort(notes.begin(), notes.end(),
                   [](const TImportNote& a, const TImportNote& b) { return a.Event < b.Event; });
  for (const TImportNote& note : notes) context.Print(note.Text);
  context.Print(std::to_string(accepted.size()) + " von " + Events(imported.EventCount, true) +
                " übernommen.");
  return kExitOk;
}

}  // namespace reminder
