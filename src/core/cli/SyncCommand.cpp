#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/cli/Commands.h"
#include "core/cli/JsonRecords.h"
#include "core/sync/CalDav.h"
#include "core/sync/SyncRun.h"
#include "core/sync/Url.h"

namespace reminder {

namespace {

constexpr char kPasswordVariable[] = "REMINDER_SYNC_PASSWORD";
constexpr char kNewCalendar[] = "erinnerungen";
constexpr char kNewCalendarName[] = "Erinnerungen";

std::string WithSlash(std::string url) {
  if (!url.empty() && url.back() != '/') url.push_back('/');
  return url;
}

// The password from --password-file (which only its owner may read) or the environment;
// "" when neither gives one. False, after saying why, for a file that cannot be used.
bool PasswordOf(const TCtlContext& context, std::string& password) {
  password.clear();
  if (const std::string* path = context.Args.Value("--password-file")) {
    if (context.Env.IsPrivateFile && !context.Env.IsPrivateFile(*path)) {
      context.Fail("Die Passwortdatei \"" + context.Shown(*path) +
                   "\" dürfen auch andere lesen; nur ihr Besitzer darf es (chmod 600).");
      return false;
    }
    TFileBytes bytes;
    if (!context.Env.Files.Read(*path, bytes)) {
      context.Fail("Die Passwortdatei \"" + context.Shown(*path) + "\" ist nicht lesbar.");
      return false;
    }
    password.assign(bytes.View());
    while (!password.empty() && (password.back() == '\n' || password.back() == '\r')) {
      password.pop_back();
    }
    return true;
  }
  if (context.Env.Variable) {
    if (std::optional<std::string> value = context.Env.Variable(kPasswordVariable)) {
      password = *value;
    }
  }
  return true;
}

// The calendar to sync with: the address itself when it names one, else the user's calendar
// that --calendar names (by its address, its path or its name), the only one there is, or
// a new one "Erinnerungen" when the server has none. False, after saying why, otherwise.
bool ChooseCalendar(const TCtlContext& context, TCalDav& dav, const std::string& url,
                    std::string& calendarUrl) {
  std::vector<TCalendarInfo> calendars;
  if (!dav.Discover(url, calendars)) {
    context.Fail(dav.Error());
    return false;
  }
  const std::string* wanted = context.Args.Value("--calendar");
  if (wanted) {
    const std::string address = WithSlash(ResolveUrl(url, *wanted));
    for (const TCalendarInfo& calendar : calendars) {
      if (calendar.Url == address || calendar.DisplayName == *wanted) {
        calendarUrl = calendar.Url;
        return true;
      }
    }
  } else if (calendars.size() == 1) {
    calendarUrl = calendars[0].Url;
    return true;
  } else if (calendars.empty()) {
    TCalendarInfo made;
    if (!dav.MakeCalendar(url, kNewCalendar, kNewCalendarName, made)) {
      context.Fail("Auf dem Server gibt es keinen Kalender, und er legt keinen an: " + dav.Error());
      return false;
    }
    context.Report("Kalender \"" + std::string(kNewCalendarName) + "\" angelegt: " + made.Url);
    calendarUrl = made.Url;
    return true;
  }
  std::string names;
  for (const TCalendarInfo& calendar : calendars) {
    names += "\n  " + calendar.Url +
             (calendar.DisplayName.empty() ? "" : " (" + calendar.DisplayName + ")");
  }
  context.Fail(std::string(wanted ? "Den Kalender \"" + context.Shown(*wanted) + "\" gibt es nicht"
                                  : "Der Server hat mehrere Kalender; --calendar wählt einen") +
               ":" + names);
  return false;
}

std::string Summary(const TSyncReport& report) {
  return std::to_string(report.Uploaded) + " hochgeladen, " + std::to_string(report.Downloaded) +
         " geholt, " + std::to_string(report.DeletedHere) + " hier gelöscht, " +
         std::to_string(report.DeletedThere) + " auf dem Server gelöscht, " +
         std::to_string(report.Conflicts) + (report.Conflicts == 1 ? " Konflikt" : " Konflikte");
}

}  // namespace

int RunSync(TCtlContext& context) {
  const std::string* url = context.Args.Value("--url");
  if (!url) return context.Fail("Dem Befehl sync fehlt die Option --url.", kExitUsage);
  if (!context.Env.Http)
    return context.Fail("Diese Ausgabe von reminderctl kann nicht synchronisieren.");
  std::string password;
  if (!PasswordOf(context, password)) return kExitFailure;
  const std::string* user = context.Args.Value("--user");
  const std::unique_ptr<IHttpClient> http = context.Env.Http(user ? *user : "", password);
  TCalDav dav(*http);
  std::string calendarUrl;
  if (!ChooseCalendar(context, dav, *url, calendarUrl)) return kExitFailure;

  // One sync of a data file at a time, whichever program runs it.
  const std::string statePath = SyncStatePath(context.DataFile());
  const std::unique_ptr<IFileLockHold> syncing = context.Env.Files.LockForUpdate(statePath);
  if (!syncing) {
    return context.Fail(
        "Die Datei \"" + context.Shown(context.DataFile()) +
        "\" wird gerade von einem anderen Programm synchronisiert; nichts geändert.");
  }
  TCommandDataFile file(context.Env.Files, true);
  TStreamMsgBox box(context);
  TFileIO store(context.DataFile(), file, box);
  if (!LoadDataFile(context, store, file, true)) return kExitFailure;
  TSyncState state;
  TFileBytes stateBytes;
  if (context.Env.Files.Read(statePath, stateBytes)) DecodeSyncState(stateBytes.View(), state);

  TSyncRun run(dav, context.Env.LocalTime,
               context.Env.LocalTime.LocalToUtc(context.Env.Clock.Now()));
  TSyncReport report;
  const bool done = run.Run(store, calendarUrl, state, report);
  for (const std::string& line : report.Lines) context.Report(line);
  // What reached the server is recorded, so that the next sync goes on from there; the data
  // file changes only when the sync went through or the server already holds new
  // identities of it.
  const bool serverChanged = report.Uploaded + report.DeletedThere + report.Conflicts > 0;
  if ((done || serverChanged) && !CommitDataFile(context, store, file)) return kExitFailure;
  context.Env.Files.Replace(statePath, EncodeSyncState(state));
  if (!done) return context.Fail(report.Error);
  if (context.Args.Has("--json")) {
    std::string calendar;
    AppendJsonString(calendar, calendarUrl);
    context.Out << "{\"calendar\":" << calendar << ",\"uploaded\":" << report.Uploaded
                << ",\"downloaded\":" << report.Downloaded
                << ",\"deletedHere\":" << report.DeletedHere
                << ",\"deletedThere\":" << report.DeletedThere
                << ",\"conflicts\":" << report.Conflicts << ",\"left\":" << report.Left << "}\n";
  }
  context.Report("Synchronisiert mit " + calendarUrl + ": " + Summary(report) + ".");
  return kExitOk;
}

}  // namespace reminder
