#include "core/cli/ReminderCtl.h"

#include <algorithm>
#include <exception>
#include <ostream>

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
const TOptionSpec kHelp{"--help", false};
const TOptionSpec kForce{"--force", false};
constexpr size_t kAny = static_cast<size_t>(-1);

const std::vector<TCommand>& Commands() {
  static const std::vector<TCommand> commands = {
      {"list", {kFile, kHelp}, 0, 0, RunList},
      {"due",
       {kFile, kHelp, kForce, {"--at", true}, {"--write", false}, {"--connected", false}},
       0,
       0,
       RunDue},
      {"add",
       {kFile,
        kHelp,
        kForce,
        {"--text", true},
        {"--trigger", true},
        {"--date", true},
        {"--time", true},
        {"--action", true},
        {"--param", true},
        {"--repeat", true},
        {"--days", true}},
       0,
       0,
       RunAdd},
      {"delete", {kFile, kHelp, kForce}, 1, kAny, RunDelete},
      {"export", {kFile, kHelp}, 1, 1, RunExport},
      {"import", {kFile, kHelp, kForce, {"--allow-actions", false}}, 1, 1, RunImport},
  };
  return commands;
}

std::string HelpText(const std::string& defaultFile) {
  return "reminderctl - die Erinnerungen der Datei Reminder.dat von der Kommandozeile\n"
         "\n"
         "Aufruf: reminderctl BEFEHL [OPTIONEN]\n"
         "\n"
         "Befehle:\n"
         "  list [--file F]\n"
         "      Jede Erinnerung in einer Zeile: Nummer, Termin, Text, Aktion, Wiederholung und\n"
         "      Status, durch Tabulatoren getrennt.\n"
         "  due [--at \"TT.MM.JJJJ hh:mm:ss\"] [--connected] [--write] [--file F]\n"
         "      Prüft wie das Modul, welche Erinnerungen zu diesem Zeitpunkt (ohne --at: jetzt)\n"
         "      fällig sind, und gibt sie aus: Nummer, Datum, Text, Aktion, Parameter.\n"
         "      Erinnerungen an die DFÜ-Verbindung gelten nur mit --connected als fällig.\n"
         "      Mit --write wird das Erinnern in der Datei vermerkt wie im Modul; ohne --write\n"
         "      bleibt die Datei unverändert.\n"
         "  add --text T [--trigger date|dialup|never] [--date TT.MM.JJJJ] [--time hh:mm[:ss]]\n"
         "      [--action A] [--param P] [--repeat R] [--days N] [--file F]\n"
         "      Fügt eine Erinnerung hinzu, geprüft wie im Dialog \"Erinnerung hinzufügen\".\n"
         "      Datum und Uhrzeit: Vorgabe jetzt plus 20 Minuten; nur mit --trigger date.\n"
         "      A: nothing, warning, email, website, program, document, restart, shutdown,\n"
         "         hangup, die Nummer 0 bis 8 oder der Name (\"Warnung ausgeben\"); Vorgabe\n"
         "         nothing (\"Nichts tun\", erinnert nie).\n"
         "      P: die E-Mail Adresse, Webseite, das Programm oder Dokument der Aktion.\n"
         "      R: once, daily, weekly, monthly, yearly oder 1 bis 5; Vorgabe once.\n"
         "      N: so viele Tage vorher erinnern (bei warning), 0 bis 30; Vorgabe 3.\n"
         "  delete N... [--file F]\n"
         "      Löscht die Erinnerungen mit diesen Nummern, wie list sie zeigt.\n"
         "  export [--file F] AUSGABE.ics\n"
         "      Schreibt jede Terminerinnerung als Termin einer iCalendar-Datei (RFC 5545);\n"
         "      - schreibt in die Standardausgabe, ein symbolischer Link bleibt erhalten.\n"
         "  import [--allow-actions] [--file F] EINGABE.ics\n"
         "      Fügt die Termine einer iCalendar-Datei hinzu und nennt in je einer Zeile, was\n"
         "      übersprungen oder umgerechnet wurde; - liest die Standardeingabe.\n"
         "      Aktionen, die Programme starten, Dokumente öffnen, Windows beenden oder neu\n"
         "      starten oder die Verbindung trennen, werden nur mit --allow-actions\n"
         "      übernommen; sonst wird daraus \"Warnung ausgeben\" am Tag selbst.\n"
         "  help, --help\n"
         "      Diese Hilfe.\n"
         "\n"
         "--file F: die Datendatei; Vorgabe \"" +
         defaultFile +
         "\".\n"
         "--force: eine beschädigte Datendatei trotzdem ändern; das Original bleibt als\n"
         "         \"Reminder.dat.beschaedigt-JJJJMMTT-hhmmss\" daneben erhalten.\n"
         "Ausgaben in deutscher Schreibweise. Rückgabewert: 0 erledigt, 1 Fehler in einer\n"
         "Datei oder Angabe, 2 unbekannter Befehl oder falsche Optionen.\n";
}

int Help(TCtlContext& context) {
  context.Out << ToTerminal(HelpText(context.Shown(context.DataFile())), context.Env.Charset);
  return kExitOk;
}

int Dispatch(TCtlContext& context, const std::vector<std::string>& args) {
  const TCtlEnvironment& env = context.Env;
  if (args.empty()) {
    return context.Fail("Kein Befehl angegeben (reminderctl --help zeigt alle Befehle).",
                        kExitUsage);
  }
  const std::string& name = args[0];
  if (name == "--help" || name == "-h" || name == "help") return Help(context);
  const auto& commands = Commands();
  const auto command = std::find_if(commands.begin(), commands.end(),
                                    [&name](const TCommand& c) { return name == c.Name; });
  if (command == commands.end()) {
    return context.Fail("Unbekannter Befehl: \"" + context.Shown(name) +
                            "\" (reminderctl --help zeigt alle Befehle).",
                        kExitUsage);
  }
  std::string error;
  const TShownArg shown = [&env](const std::string& arg) { return ShownArg(arg, env.Charset); };
  if (!ParseCommandArgs(args, 1, command->Options, shown, context.Args, error)) {
    return context.Fail(error, kExitUsage);
  }
  if (context.Args.Has("--help")) return Help(context);
  const size_t count = context.Args.Positional.size();
  if (count < command->MinPositional) {
    return context.Fail(std::string("Dem Befehl ") + command->Name + " fehlt ein Argument.",
                        kExitUsage);
  }
  if (count > command->MaxPositional) {
    return context.Fail("Überzähliges Argument: \"" +
                            context.Shown(context.Args.Positional[command->MaxPositional]) + "\".",
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
