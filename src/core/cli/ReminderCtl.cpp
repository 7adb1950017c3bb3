#include "core/cli/ReminderCtl.h"

#include <algorithm>
#include <exception>
#include <ostream>

#include "Version.h"
#include "core/cli/Commands.h"
#include "core/cli/TerminalText.h"

namespace reminder {

namespace {

struct TCommand {
  const char* Name;
  std::vector<TOptionSpec> Options;
  size_t MinPositional;
  size_t MaxPositional;
  int (*Run)(TCtlContext&);
};

const TOptionSpec kFile{"--file", true};
const TOptionSpec kForce{"--force", false};
const TOptionSpec kJson{"--json", false};
constexpr size_t kAny = static_cast<size_t>(-1);

// What every command takes besides its own options.
const std::vector<TOptionSpec>& CommonOptions() {
  static const std::vector<TOptionSpec> options = {
      {"--help", false}, {"-h", false}, {"--quiet", false}, {"--version", false}};
  return options;
}

const std::vector<TCommand>& Commands() {
  static const std::vector<TCommand> commands = {
      {"list", {kFile, kJson}, 0, 0, RunList},
      {"due",
       {kFile, kForce, kJson, {"--at", true}, {"--write", false}, {"--connected", false}},
       0,
       0,
       RunDue},
      {"add",
       {kFile,
        kForce,
        {"--text", true},
        {"--trigger", true},
        {"--date", true},
        {"--time", true},
        {"--action", true},
        {"--param", true},
        {"--repeat", true},
        {"--rrule", true},
        {"--days", true}},
       0,
       0,
       RunAdd},
      {"delete", {kFile, kForce}, 1, kAny, RunDelete},
      {"export", {kFile}, 1, 1, RunExport},
      {"import",
       {kFile, kForce, {"--allow-actions", false}, {"--lenient", false}},
       1,
       1,
       RunImport},
      {"snooze", {kFile, kForce, {"--minutes", true}}, 1, 1, RunSnooze},
      {"next", {kFile, {"--count", true}, {"--at", true}}, 1, 1, RunNext},
      {"sync",
       {kFile, kForce, kJson, {"--url", true}, {"--user", true}, {"--password-file", true},
        {"--calendar", true}},
       0,
       0,
       RunSync},
  };
  return commands;
}

std::string HelpText(const std::string& defaultFile) {
  return "reminderctl - die Erinnerungen der Datei Reminder.dat von der Kommandozeile\n"
         "\n"
         "Aufruf: reminderctl [OPTIONEN] BEFEHL [OPTIONEN] [ARGUMENTE]\n"
         "Optionen dürfen vor und nach dem Befehl stehen; \"--\" beendet sie.\n"
         "\n"
         "Befehle:\n"
         "  list [--json] [--file F]\n"
         "      Jede Erinnerung in einer Zeile: Nummer, Termin, Text, Aktion, Wiederholung und\n"
         "      Status, durch Tabulatoren getrennt.\n"
         "  due [--at ZEITPUNKT] [--connected] [--write] [--json] [--file F]\n"
         "      Prüft wie das Modul, welche Erinnerungen zu diesem Zeitpunkt (ohne --at: jetzt)\n"
         "      fällig sind, und gibt sie aus: Nummer, Datum, Text, Aktion, Parameter.\n"
         "      Erinnerungen an die DFÜ-Verbindung gelten nur mit --connected als fällig.\n"
         "      Mit --write wird das Erinnern in der Datei vermerkt wie im Modul; ohne --write\n"
         "      bleibt die Datei unverändert. Ist nichts fällig, ist der Rückgabewert 3.\n"
         "  add --text T [--trigger date|dialup|never] [--date DATUM] [--time hh:mm[:ss]]\n"
         "      [--action A] [--param P] [--repeat R | --rrule REGEL] [--days N] [--file F]\n"
         "      Fügt eine Erinnerung hinzu, geprüft wie im Dialog \"Erinnerung hinzufügen\",\n"
         "      und gibt sie aus wie list.\n"
         "      Datum und Uhrzeit: Vorgabe jetzt plus 20 Minuten; nur mit --trigger date.\n"
         "      --date darf die Uhrzeit mitbringen, dann ohne --time.\n"
         "      A: nothing, warning, email, website, program, document, restart, shutdown,\n"
         "         hangup, die Nummer 0 bis 8 oder der Name (\"Warnung ausgeben\"); Vorgabe\n"
         "         warning. (Der Dialog schlägt \"Nichts tun\" vor, das nie erinnert.)\n"
         "      P: die E-Mail Adresse, Webseite, das Programm oder Dokument der Aktion.\n"
         "      R: once, daily, weekly, monthly, yearly oder 1 bis 5; Vorgabe once.\n"
         "      REGEL: eine RRULE (RFC 5545) mit FREQ HOURLY bis YEARLY, INTERVAL, BYDAY\n"
         "         (Wochentage; monatlich und jährlich einer mit 1 bis 4 oder -1 davor),\n"
         "         BYMONTHDAY=-1, COUNT oder UNTIL, etwa \"FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE\".\n"
         "      N: so viele Tage vorher erinnern (bei warning), 0 bis 30; Vorgabe 0.\n"
         "  delete N... [--file F]\n"
         "      Löscht die Erinnerungen mit diesen Nummern, wie list sie zeigt.\n"
         "  export [--file F] AUSGABE.ics\n"
         "      Schreibt jede Terminerinnerung als Termin einer iCalendar-Datei (RFC 5545);\n"
         "      - schreibt in die Standardausgabe, ein symbolischer Link bleibt erhalten.\n"
         "  import [--allow-actions] [--lenient] [--file F] EINGABE.ics\n"
         "      Fügt die Termine einer iCalendar-Datei hinzu und nennt in je einer Zeile, was\n"
         "      übersprungen oder umgerechnet wurde; - liest die Standardeingabe.\n"
         "      Aktionen, die Programme starten, Dokumente öffnen, Windows beenden oder neu\n"
         "      starten oder die Verbindung trennen, werden nur mit --allow-actions\n"
         "      übernommen; sonst wird daraus \"Warnung ausgeben\" am Tag selbst.\n"
         "      Wurde etwas übersprungen, ist der Rückgabewert 4 (die übrigen Termine sind\n"
         "      übernommen), mit --lenient 0.\n"
         "  snooze N --minutes M [--file F]\n"
         "      Lässt die Erinnerung mit der Nummer N in M Minuten (1 bis 527040) noch einmal\n"
         "      erinnern und gibt sie aus wie list; ihre Wiederholung bleibt, wie sie ist.\n"
         "      Ändern im Dialog hebt das auf.\n"
         "  next N [--count n] [--at ZEITPUNKT] [--file F]\n"
         "      Die nächsten n Termine (Vorgabe 5) der Erinnerung mit der Nummer N ab diesem\n"
         "      Zeitpunkt (ohne --at: jetzt), je einer in einer Zeile, bei einer Prüfung in\n"
         "      jeder vollen Minute; erinnert sie nie, \"nie\" mit dem Grund.\n"
         "  sync --url URL [--user U] [--password-file F] [--calendar K] [--json] [--file F]\n"
         "      Gleicht die Datei mit einem CalDAV-Kalender ab, in beide Richtungen, und nennt\n"
         "      jede Änderung in einer Zeile. URL: die Adresse des Kalenders oder des Servers;\n"
         "      dann wählt --calendar (Adresse, Pfad oder Name) einen seiner Kalender, und hat\n"
         "      er keinen, wird \"Erinnerungen\" angelegt. Das Passwort steht in der Datei F,\n"
         "      die nur ihr Besitzer lesen darf, oder in REMINDER_SYNC_PASSWORD. Was beide\n"
         "      Seiten zuletzt gemeinsam hatten, steht in \"Reminder.dat.sync\" daneben.\n"
         "      Wurde hier und dort dasselbe geändert, gilt die Fassung des Servers und die\n"
         "      eigene bleibt als Erinnerung mit \" (Konflikt)\" am Ende erhalten.\n"
         "  help, --help, -h\n"
         "      Diese Hilfe.\n"
         "  --version\n"
         "      Die Version von reminderctl.\n"
         "\n"
         "--file F: die Datendatei; Vorgabe \"" +
         defaultFile +
         "\".\n"
         "         --file - liest sie aus der Standardeingabe (list, due ohne --write, export).\n"
         "--force: eine beschädigte Datendatei trotzdem ändern; das Original bleibt als\n"
         "         \"Reminder.dat.beschaedigt-JJJJMMTT-hhmmss\" daneben erhalten.\n"
         "--quiet: keine Meldungen über das Erledigte, nur Fehler und Daten.\n"
         "--json: list und due geben ein JSON-Array in UTF-8 aus, je Erinnerung ein Objekt\n"
         "        in einer Zeile: number, date, text, trigger, action, param, repeat,\n"
         "        daysBefore, finished, lastFired (bei due der Stand nach dem Erinnern) und\n"
         "        texts mit date, action, repeat und status, den Texten der Liste. Zeitpunkte\n"
         "        in ISO 8601; trigger, action und repeat mit den Namen, die add nimmt\n"
         "        (repeat auch never), null für einen Wert außerhalb der Tabellen.\n"
         "DATUM: TT.MM.JJJJ oder JJJJ-MM-TT (ISO 8601). ZEITPUNKT: ein Datum mit Uhrzeit\n"
         "hh:mm[:ss], nach einem Leerzeichen oder nach T: \"24.07.2025 10:00\",\n"
         "\"2025-07-24T10:00:00\"; ohne Uhrzeit Mitternacht. Alles in Ortszeit.\n"
         "\n"
         "Daten gehen in die Standardausgabe, Meldungen und Fehler in die\n"
         "Standardfehlerausgabe; außer mit --json in deutscher Schreibweise.\n"
         "Rückgabewert: 0 erledigt, 1 Fehler in einer Datei oder Angabe (nichts geändert),\n"
         "2 unbekannter Befehl oder falsche Optionen, 3 nichts fällig (due), 4 etwas\n"
         "übersprungen (import ohne --lenient).\n";
}

int Help(TCtlContext& context) {
  context.Out << ToTerminal(HelpText(context.Shown(context.DataFile())), context.Env.Charset);
  return kExitOk;
}

int Version(TCtlContext& context) {
  context.Print("reminderctl " REMINDER_RELEASE_TEXT);
  return kExitOk;
}

bool Takes(const TCommand& command, const std::string& option) {
  const auto named = [&option](const TOptionSpec& spec) { return option == spec.Name; };
  return std::any_of(command.Options.begin(), command.Options.end(), named) ||
         std::any_of(CommonOptions().begin(), CommonOptions().end(), named);
}

// Options may stand before the command as well as after it. So the arguments are read at
// once with the options of every command, which works because a name takes a value in every
// command or in none; the command then refuses those it does not know.
const std::vector<TOptionSpec>& AnyCommandsOptions() {
  static const std::vector<TOptionSpec> options = [] {
    std::vector<TOptionSpec> all = CommonOptions();
    for (const TCommand& command : Commands()) {
      all.insert(all.end(), command.Options.begin(), command.Options.end());
    }
    return all;
  }();
  return options;
}

int Dispatch(TCtlContext& context, const std::vector<std::string>& args) {
  const TCtlEnvironment& env = context.Env;
  std::string error;
  const TShownArg shown = [&env](const std::string& arg) { return ShownArg(arg, env.Charset); };
  if (!ParseCommandArgs(args, AnyCommandsOptions(), shown, context.Args, error)) {
    return context.Fail(error, kExitUsage);
  }
  if (context.Args.Has("--help") || context.Args.Has("-h")) return Help(context);
  if (context.Args.Has("--version")) return Version(context);
  std::vector<std::string>& positional = context.Args.Positional;
  if (positional.empty()) {
    return context.Fail("Kein Befehl angegeben (reminderctl --help zeigt alle Befehle).",
                        kExitUsage);
  }
  const std::string name = positional.front();
  positional.erase(positional.begin());
  if (name == "help") return Help(context);
  const auto& commands = Commands();
  const auto command = std::find_if(commands.begin(), commands.end(),
                                    [&name](const TCommand& c) { return name == c.Name; });
  if (command == commands.end()) {
    return context.Fail("Unbekannter Befehl: \"" + context.Shown(name) +
                            "\" (reminderctl --help zeigt alle Befehle).",
                        kExitUsage);
  }
  for (const auto& option : context.Args.Values) {
    if (!Takes(*command, option.first)) {
      return context.Fail(std::string("Der Befehl ") + command->Name + " kennt die Option " +
                              context.Shown(option.first) + " nicht.",
                          kExitUsage);
    }
  }
  const size_t count = positional.size();
  if (count < command->MinPositional) {
    return context.Fail(std::string("Dem Befehl ") + command->Name + " fehlt ein Argument.",
                        kExitUsage);
  }
  if (count > command->MaxPositional) {
    return context.Fail(
        "Überzähliges Argument: \"" + context.Shown(positional[command->MaxPositional]) + "\".",
        kExitUsage);
  }
  return command->Run(context);
}

}  // namespace

int RunReminderCtl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   const TCtlEnvironment& env) {
  TCtlContext context{env, out, err, {}};
  try {
    return Dispatch(context, args);
  } catch (const std::exception& e) {
    // Such as a data file too large for memory: one line, as for every other failure.
    return context.Fail(std::string("Unerwarteter Fehler: ") + e.what());
  }
}

}  // namespace reminder
