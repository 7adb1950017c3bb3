#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Version.h"
#include "core/Fakes.h"
#include "core/LocalTimeFake.h"
#include "core/ReminderCtlFixture.h"
#include "core/TestDates.h"
#include "core/cli/ReminderCtl.h"
#include "core/common/FormatDateTime.h"
#include "core/store/DataFileFormat.h"
#include "core/store/ReminderClassUnit.h"
#include "core/store/Snooze.h"

namespace reminder {
namespace {

using namespace reminder::testing;

TEST_F(ReminderCtl, HelpNamesEveryCommand) {
  for (const auto& args : {std::vector<std::string>{"--help"}, {"help"}, {"due", "--help"}}) {
    EXPECT_EQ(Run(args), kExitOk);
    for (const char* command :
         {"list", "due", "add", "delete", "export", "import", "snooze", "next", "sync"}) {
      EXPECT_NE(out.find(std::string("  ") + command + " "), std::string::npos) << command;
    }
    EXPECT_EQ(err, "");
  }
}

TEST_F(ReminderCtl, BadInputsGiveOneGermanLineAndLeaveTheFileAlone) {
  const std::string data = Encoded({Reminder("eins"), Reminder("zwei")});
  files.files["Reminder.dat"] = data;
  files.files["bad.ics"] = "hello";
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string message;  // UTF-8, as the terminal shows it
  };
  const std::vector<Case> cases = {
      {{}, 2, "Kein Befehl angegeben (reminderctl --help zeigt alle Befehle)."},
      {{"show"}, 2, "Unbekannter Befehl: \"show\" (reminderctl --help zeigt alle Befehle)."},
      {{"list", "--bogus"}, 2, "Unbekannte Option: \"--bogus\"."},
      {{"--at", "24.07.2025", "list"}, 2, "Der Befehl list kennt die Option --at nicht."},
      {{"list", "--file"}, 2, "Die Option --file braucht einen Wert."},
      {{"due", "--write=1"}, 2, "Die Option --write hat keinen Wert."},
      {{"delete"}, 2, "Dem Befehl delete fehlt ein Argument."},
      {{"export", "a.ics", "b.ics"},
       2,
       "\xC3\x9C"
       "berz\xC3\xA4hliges Argument: \"b.ics\"."},
      {{"next", "1", "--file", "missing.dat"}, 1, "Die Datei \"missing.dat\" existiert nicht."},
      {{"due", "--file=locked.dat"}, 1, "Die Datei \"locked.dat\" kann nicht gelesen werden."},
      {{"add", "--file", "locked.dat", "--text", "x"},
       1,
       "Die Datei \"locked.dat\" kann nicht gelesen werden."},
      {{"due", "--at", "31.02.2025 10:00:00"},
       1,
       "Ung\xC3\xBCltiger Zeitpunkt: \"31.02.2025 10:00:00\" (erwartet TT.MM.JJJJ hh:mm:ss oder "
       "JJJJ-MM-TTThh:mm:ss)."},
      {{"due", "--at", "24.07.2025 24:00"}, 1, ""},
      {{"add", "--text", "x", "--date", "2025-02-29"},
       1,
       "Ung\xC3\xBCltiges Datum: \"2025-02-29\" (erwartet TT.MM.JJJJ oder JJJJ-MM-TT, auch mit "
       "Uhrzeit)."},
      {{"due", "--at", "2025-07-24T10:00Z"}, 1, ""},
      {{"add", "--text", "x", "--date", "2025-07-24T10:00", "--time", "11:00"},
       1,
       "--date nennt schon eine Uhrzeit; --time entf\xC3\xA4llt dann."},
      {{"add", "--text", "x", "--time", "9"}, 1, ""},
      {{"add", "--text", "x", "--days", "drei"}, 1, ""},
      {{"add", "--text", "x", "--days", "31"},
       1,
       "Ung\xC3\xBCltige Anzahl Tage: \"31\" (0 bis 30)."},
      {{"add", "--text", "x", "--days=-1"}, 1, "Ung\xC3\xBCltige Anzahl Tage: \"-1\" (0 bis 30)."},
      {{"add", "--text", "x", "--action", "fliegen"}, 1, "Unbekannte Aktion: \"fliegen\"."},
      {{"add", "--text", "x", "--repeat", "st\xC3\xBCndlich"},
       1,
       "Unbekannte Wiederholung: \"st\xC3\xBCndlich\"."},
      {{"add", "--text", "x", "--action", "email", "--param", "niemand"},
       1,
       "Bitte geben Sie die E-Mail Adresse korrekt an!"},
      {{"add", "--text", "x", "--action", "program", "--param", "C:\\fehlt.exe"},
       1,
       "Das angegebene Programm existiert nicht!"},
      {{"add", "--text", "x", "--action", "document", "--param", "C:\\fehlt.doc"},
       1,
       "Das angegebene Dokument existiert nicht!"},
      {{"add", "--text", "x", "--action", "website"},
       1,
       "Die Aktion \"Webseite \xC3\xB6"
       "ffnen\" braucht einen Parameter (--param)."},
      {{"add", "--action", "warning"}, 1, "Der Text der Erinnerung fehlt (--text)."},
      {{"add", "--text", "x", "--param", "p"},
       1,
       "Die Aktion \"Warnung ausgeben\" hat keinen Parameter."},
      {{"add", "--text", "x", "--trigger", "dialup", "--repeat", "daily"},
       1,
       "Eine Erinnerung an die DF\xC3\x9C-Verbindung erinnert nur einmal."},
      {{"add", "--text", "x", "--trigger", "never", "--time", "10:00"},
       1,
       "--date und --time gelten nur mit --trigger date."},
      {{"add", "--text", "Pfeil \xE2\x86\x92"},
       1,
       "Der Wert von --text enth\xC3\xA4lt Zeichen, die es in Windows-1252 nicht gibt."},
      {{"delete", "1", "--file", "-"},
       1,
       "Die Datendatei aus der Standardeingabe lesen nur list, due ohne --write und export."},
      {{"delete", "1", "3"}, 1, "Keine Erinnerung mit der Nummer \"3\" (die Datei hat 2)."},
      {{"delete", "-1"}, 2, "Unbekannte Option: \"-1\"."},
      {{"delete", "0"}, 1, "Keine Erinnerung mit der Nummer \"0\" (die Datei hat 2)."},
      {{"export", "Reminder.dat"}, 1, "Die Kalenderdatei darf nicht die Datendatei sein."},
      {{"import", "fehlt.ics"}, 1, "Die Datei \"fehlt.ics\" existiert nicht."},
      {{"import", "bad.ics"},
       1,
       "Die Datei \"bad.ics\" ist keine iCalendar-Datei (BEGIN:VCALENDAR fehlt)."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    EXPECT_EQ(Run(c.args), c.code);
    EXPECT_EQ(out, "");
    ASSERT_EQ(Lines(err).size(), 1u) << err;
    if (!c.message.empty()) {
      EXPECT_EQ(err, "reminderctl: " + c.message + "\n");
    }
    EXPECT_EQ(files.files["Reminder.dat"], data);
    EXPECT_EQ(files.writes, 0);
  }
}

TEST_F(ReminderCtl, OptionsStandBeforeOrAfterTheCommandAndReportsGoToTheErrorStream) {
  files.files["eigene.dat"] = Encoded({Reminder("eins"), Reminder("zwei")});
  ASSERT_EQ(Run({"--file", "eigene.dat", "list"}), kExitOk) << err;
  const std::string listed = out;
  EXPECT_EQ(Lines(listed).size(), 2u);
  ASSERT_EQ(Run({"list", "--file=eigene.dat"}), kExitOk) << err;
  EXPECT_EQ(out, listed);
  std::istringstream in(files.files["eigene.dat"]);
  env.In = &in;
  ASSERT_EQ(Run({"list", "--file", "-"}), kExitOk) << err;
  EXPECT_EQ(out, listed);

  ASSERT_EQ(Run({"--file", "eigene.dat", "delete", "2"}), kExitOk) << err;
  EXPECT_EQ(out, "");
  EXPECT_EQ(err, "Erinnerung 2 gel\xC3\xB6scht: zwei\n");
  ASSERT_EQ(Run({"--quiet", "export", "-", "--file", "eigene.dat"}), kExitOk) << err;
  EXPECT_EQ(out.rfind("BEGIN:VCALENDAR\r\n", 0), 0u) << out;
  // The export names the same release as --version.
  EXPECT_NE(
      out.find("\r\nPRODID:-//Orvandel Software//reminderctl " REMINDER_RELEASE_TEXT "//DE\r\n"),
      std::string::npos);
  EXPECT_EQ(err, "");

  for (const auto& args : {std::vector<std::string>{"--version"}, {"list", "--version"}}) {
    ASSERT_EQ(Run(args), kExitOk);
    EXPECT_EQ(out, "reminderctl " REMINDER_RELEASE_TEXT "\n");
    EXPECT_EQ(err, "");
  }
}

TEST_F(ReminderCtl, ListShowsTheMainWindowsColumnsAndStatus) {
  TNotifyInfo finished = Reminder("M\xFCller anrufen");
  finished.Notified = 1;
  TNotifyInfo fired = Reminder(
      "Gie\xDF"
      "en\r\nund d\xFCngen",
      rkWeekly);
  fired.LastNotified = At(2025, 7, 31, 9, 30);
  TNotifyInfo dialUp = Reminder("DF\xDC");
  dialUp.NotifyKind = nkDialUp;
  dialUp.ActionKind = akHangUp;
  dialUp.NotifyDate = At(2025, 8, 1);
  files.files["Reminder.dat"] = Encoded({finished, fired, dialUp});
  ASSERT_EQ(Run({"list"}), kExitOk);
  EXPECT_EQ(Lines(out),
            (std::vector<std::string>{
                "1\t24.07.2025 09:30:00\tM\xC3\xBCller anrufen\tWarnung ausgeben\teinmalig\t"
                "Erinnerung durchgef\xC3\xBChrt.",
                "2\t24.07.2025 09:30:00\tGie\xC3\x9F"
                "en und d\xC3\xBCngen\tWarnung ausgeben\t"
                "w\xC3\xB6"
                "chentlich\tLetzte Erinnerung: 31.07.2025 09:30:00",
                "3\t01.08.2025\tDF\xC3\x9C\tDF\xC3\x9C-Netzwerk Verbindung trennen\teinmalig\t"
                "Noch keine Erinnerung durchgef\xC3\xBChrt!",
            }));
  env.Charset = TTerminalCharset::Windows1252;
  ASSERT_EQ(Run({"list", "--file", "Reminder.dat"}), kExitOk);
  EXPECT_EQ(Lines(out).at(0),
            "1\t24.07.2025 09:30:00\tM\xFCller anrufen\tWarnung ausgeben\t"
            "einmalig\tErinnerung durchgef\xFChrt.");
  files.files["empty.dat"] = "";
  EXPECT_EQ(Run({"list", "--file", "empty.dat"}), kExitOk);
  EXPECT_EQ(out + err, "");

  // A new user's first commands find no file yet: nothing listed, nothing due, none made.
  env.Charset = TTerminalCharset::Utf8;
  EXPECT_EQ(Run({"list", "--file", "neu.dat"}), kExitOk);
  EXPECT_EQ(out + err, "");
  EXPECT_EQ(Run({"due", "--file", "neu.dat"}), kExitNothingDue);
  EXPECT_EQ(Run({"due", "--write", "--file", "neu.dat"}), kExitNothingDue);
  EXPECT_EQ(out + err, "");
  EXPECT_EQ(files.files.count("neu.dat"), 0u);

  // A file cut short: the reading commands show what they could read and warn, also quietly.
  const std::string whole = Encoded({finished, fired, dialUp});
  files.files["cut.dat"] = whole.substr(0, whole.size() - 100);
  for (const auto& args : {std::vector<std::string>{"list", "--quiet", "--file", "cut.dat"},
                           {"due", "--quiet", "--at", "2030-01-03T10:00", "--file", "cut.dat"},
                           {"export", "--quiet", "-", "--file", "cut.dat"}}) {
    SCOPED_TRACE(args[0]);
    Run(args);
    EXPECT_NE(out, "");
    EXPECT_EQ(err,
              "reminderctl: Die Datei \"cut.dat\" ist besch\xC3\xA4"
              "digt: nicht alle Erinnerungen konnten gelesen werden; gezeigt ist, was lesbar "
              "war.\n");
  }
}

TEST_F(ReminderCtl, JsonIsUtf8WithTheListsTextsWhateverTheTerminal) {
  TNotifyInfo fired = Reminder(
      "Gie\xDF"
      "en \"drau\xDF"
      "en\"\r\n\\ \x80\x01",
      rkWeekly);
  fired.LastNotified = At(2025, 7, 31, 9, 30);
  fired = CountingIdentities::With(fired, 0x0A0B0C0D);
  files.files["Reminder.dat"] = Encoded({fired});
  const std::string expected =
      "[\n{\"number\":1,\"date\":\"2025-07-24T09:30:00\",\"text\":\"Gie\xC3\x9F"
      "en \\\"drau\xC3\x9F"
      "en\\\"\\r\\n\\\\ \xE2\x82\xAC\\u0001\",\"trigger\":\"date\",\"action\":\"warning\","
      "\"param\":\"\",\"repeat\":\"weekly\",\"rrule\":null,\"daysBefore\":0,\"finished\":false,"
      "\"lastFired\":\"2025-07-31T09:30:00\",\"uid\":\"0d0c0b0a0000000000000000000000a5@"
      "reminderctl\","
      "\"texts\":{\"date\":\"24.07.2025 09:30:00\","
      "\"action\":\"Warnung ausgeben\",\"repeat\":\"w\xC3\xB6"
      "chentlich\",\"status\":\"Letzte Erinnerung: 31.07.2025 09:30:00\"}}\n]\n";
  for (const TTerminalCharset charset : {TTerminalCharset::Utf8, TTerminalCharset::Windows1252}) {
    env.Charset = charset;
    ASSERT_EQ(Run({"list", "--json"}), kExitOk) << err;
    EXPECT_EQ(out, expected);
  }

  files.files["Reminder.dat"] = Encoded({Reminder("eins")});
  ASSERT_EQ(Run({"due", "--json", "--at", "2025-07-24T09:29"}), kExitNothingDue) << err;
  EXPECT_EQ(out, "[]\n");
  ASSERT_EQ(Run({"due", "--json", "--at", "2025-07-24T09:30", "--write"}), kExitOk) << err;
  EXPECT_EQ(Lines(out).size(), 3u) << out;
  EXPECT_NE(out.find("{\"number\":1,\"date\":\"2025-07-24T09:30:00\",\"text\":\"eins\""),
            std::string::npos);
  EXPECT_NE(out.find("\"finished\":true"), std::string::npos);
}

TEST_F(ReminderCtl, AddStoresWhatTheEditorWouldAndCreatesAMissingFile) {
  ASSERT_EQ(Run({"add", "--text", "Standard"}), kExitOk);
  // The editor's defaults, twenty minutes from now and once, but a warning on the day itself,
  // so that the reminder reminds.
  TNotifyInfo defaults;
  defaults.NotifyKind = nkAtDate;
  defaults.NotifyDate = At(2025, 7, 24, 9, 10);
  defaults.NotifyText = "Standard";
  defaults.ActionKind = akWarning;
  defaults.RepeatKind = rkOnce;
  defaults.DaysBefore = 0;
  EXPECT_EQ(files.files["Reminder.dat"], Encoded({CountingIdentities::With(defaults, 1)}));
  EXPECT_EQ(out,
            "1\t24.07.2025 09:10:00\tStandard\tWarnung ausgeben\teinmalig\t"
            "Noch keine Erinnerung durchgef\xC3\xBChrt!\n");
  ASSERT_EQ(Run({"due", "--at", "24.07.2025 09:10"}), kExitOk) << err;
  EXPECT_EQ(out, "1\t24.07.2025 09:10:00\tStandard\tWarnung ausgeben\t\n");

  ASSERT_EQ(Run({"add", "--text",
                 "Gie\xC3\x9F"
                 "en",
                 "--date", "1.8.2025", "--time", "7:05", "--action", "Warnung ausgeben", "--repeat",
                 "t\xC3\xA4glich", "--days", "30"}),
            kExitOk);
  ASSERT_EQ(Run({"add", "--text", "Start", "--action=4", "--param", "C:\\Tools\\Kalender.exe",
                 "--repeat", "yearly", "--date", "29.02.2028", "--time", "23:59:59"}),
            kExitOk);
  ASSERT_EQ(Run({"add", "--text", "Online", "--trigger", "dialup", "--action", "hangup"}), kExitOk);
  EXPECT_EQ(files.writes, 4);

  TNotifyInfo daily = defaults;
  daily.NotifyDate = At(2025, 8, 1, 7, 5);
  daily.NotifyText =
      "Gie\xDF"
      "en";
  daily.ActionKind = akWarning;
  daily.RepeatKind = rkDaily;
  daily.DaysBefore = 30;
  TNotifyInfo program = defaults;
  program.NotifyDate = At(2028, 2, 29, 23, 59, 59);
  program.NotifyText = "Start";
  program.ActionKind = akProgram;
  program.ActionParam = "C:\\Tools\\Kalender.exe";
  program.RepeatKind = rkYearly;
  // The date fields are left at their defaults, as the editor keeps them when disabled.
  TNotifyInfo dialUp = defaults;
  dialUp.NotifyKind = nkDialUp;
  dialUp.NotifyText = "Online";
  dialUp.ActionKind = akHangUp;
  EXPECT_EQ(files.files["Reminder.dat"],
            Encoded({CountingIdentities::With(defaults, 1), CountingIdentities::With(daily, 2),
                     CountingIdentities::With(program, 3), CountingIdentities::With(dialUp, 4)}));
}

TEST_F(ReminderCtl, DatesAndMomentsMayBeGivenInIsoForm) {
  files.files["Reminder.dat"] = Encoded({Reminder("eins")});
  ASSERT_EQ(Run({"due", "--at", "2025-07-24T09:29:59"}), kExitNothingDue) << err;
  EXPECT_EQ(out, "");
  ASSERT_EQ(Run({"due", "--at", "2025-07-24 09:30"}), kExitOk) << err;
  EXPECT_EQ(out, "1\t24.07.2025 09:30:00\teins\tWarnung ausgeben\t\n");

  // The same moment in every form add takes it, the time in --date or beside it.
  for (const auto& date : {std::vector<std::string>{"--date", "2027-01-15T10:30:00"},
                           {"--date", "2027-01-15", "--time", "10:30"},
                           {"--date", "15.01.2027 10:30"}}) {
    std::vector<std::string> args = {"add", "--file", "iso.dat", "--text", "x"};
    args.insert(args.end(), date.begin(), date.end());
    ASSERT_EQ(Run(args), kExitOk) << err;
    EXPECT_EQ(Lines(out).size(), 1u);
    EXPECT_NE(out.find("\t15.01.2027 10:30:00\t"), std::string::npos) << out;
  }
}

TEST_F(ReminderCtl, DeleteChecksEveryNumberFirstAndWritesOnce) {
  files.files["Reminder.dat"] = Encoded({Reminder("eins"), Reminder("zwei"), Reminder("drei")});
  ASSERT_EQ(Run({"delete", "3", "1", "3"}), kExitOk);
  EXPECT_EQ(files.files["Reminder.dat"], Encoded({CountingIdentities::With(Reminder("zwei"), 1)}));
  EXPECT_EQ(files.writes, 1);
  EXPECT_EQ(err, "Erinnerung 1 gel\xC3\xB6scht: eins\nErinnerung 3 gel\xC3\xB6scht: drei\n");
  EXPECT_EQ(out, "");
}

TEST_F(ReminderCtl, AFailedWriteReportsTheStoresMessage) {
  files.files["Reminder.dat"] = Encoded({Reminder("eins")});
  files.failWrites = true;
  for (const auto& args : {std::vector<std::string>{"add", "--text", "x"},
                           {"due", "--write", "--at", "24.07.2025 10:00"},
                           {"delete", "1"}}) {
    EXPECT_EQ(Run(args), kExitFailure);
    EXPECT_EQ(err, "reminderctl: Beim Schreiben der Informationen trat ein Fehler auf!\n");
    EXPECT_EQ(out, "");
  }
  EXPECT_EQ(files.files["Reminder.dat"], Encoded({Reminder("eins")}));
}

// Random reminders of every kind, close together in time, so that each rule both fires and
// holds back often.
std::vector<TNotifyInfo> RandomReminders(std::mt19937& random, TDateTime base, int count) {
  std::uniform_int_distribution<int> kind(0, 2), repeat(0, 5), action(0, 8), days(0, 4),
      offsetMinutes(-40 * 1440, 10 * 1440), percent(0, 99);
  std::vector<TNotifyInfo> records;
  for (int i = 0; i < count; ++i) {
    TNotifyInfo r;
    r.NotifyKind = static_cast<uint8_t>(kind(random));
    r.NotifyDate = base + offsetMinutes(random) / 1440.0;
    r.NotifyText = "Nr. " + std::to_string(i);
    r.ActionKind = static_cast<uint8_t>(action(random));
    r.RepeatKind = static_cast<uint8_t>(repeat(random));
    r.DaysBefore = days(random);
    if (percent(random) < 10) r.Notified = 1;
    if (percent(random) < 40) r.LastNotified = base + offsetMinutes(random) / 1440.0 - 5;
    records.push_back(r);
  }
  return records;
}

TEST_F(ReminderCtl, DueAgreesWithTheSchedulerAndWritesOnlyWhenAsked) {
  std::mt19937 random(20250724);
  const TFormatSettings fs = GermanFormatSettings();
  env.Charset = TTerminalCharset::Windows1252;  // the lines as the scheduler's texts have them
  std::uniform_int_distribution<int> minuteOfMonth(0, 31 * 1440);
  for (int file = 0; file < 6; ++file) {
    const std::string data = Encoded(RandomReminders(random, At(2025, 3, 1), 60));
    for (int check = 0; check < 8; ++check) {
      const TDateTime now = At(2025, 2, 20) + minuteOfMonth(random) / 1440.0;
      const bool connected = check % 2 == 1;
      const std::string at = FormatDateTime("dd.mm.yyyy hh:nn:ss", now, fs);
      SCOPED_TRACE("file " + std::to_string(file) + " at " + at);

      // The module's own scheduler on the same bytes.
      MemoryDataFile moduleFile;
      moduleFile.files["Reminder.dat"] = data;
      FakeMsgBox box;
      TimerState timer;
      FakeClock moduleClock(now);
      FakeDialUp dialUp;
      dialUp.connected = connected;
      TReminder scheduler("Reminder.dat", moduleFile, box, std::make_unique<FakeTimer>(timer),
                          moduleClock, dialUp);
      CountingIdentities moduleIds;
      scheduler.SetIdentitySource(moduleIds);
      ids.issued = 0;
      std::vector<std::string> expected;
      scheduler.SetOnNotify([&](TReminder& s, TNotifyInfo& r) {
        const TDateTime shown = r.LastNotified != 0 ? r.LastNotified : r.NotifyDate;
        expected.push_back(std::to_string(s.IndexOf(&r) + 1) + "\t" +
                           FormatDateTime("c", shown, fs) + "\t" + r.NotifyText + "\t" +
                           ActionName(r.ActionKind) + "\t");
      });
      scheduler.CheckNotifications();

      files.files["Reminder.dat"] = data;
      files.writes = 0;
      std::vector<std::string> args = {"due", "--at", at};
      if (connected) args.push_back("--connected");
      ASSERT_EQ(Run(args), expected.empty() ? kExitNothingDue : kExitOk) << err;
      EXPECT_EQ(Lines(out), expected);
      EXPECT_EQ(files.writes, 0);
      EXPECT_EQ(files.files["Reminder.dat"], data);

      args.push_back("--write");
      ASSERT_EQ(Run(args), expected.empty() ? kExitNothingDue : kExitOk) << err;
      EXPECT_EQ(Lines(out), expected);
      EXPECT_EQ(files.writes, expected.empty() ? 0 : 1);
      EXPECT_EQ(files.files["Reminder.dat"], moduleFile.files["Reminder.dat"]);
    }
  }
}

TEST_F(ReminderCtl, SnoozeKeepsTheScheduleAndNextShowsIt) {
  TNotifyInfo daily = Reminder("zwei", rkDaily);
  daily.LastNotified = At(2025, 7, 24, 9, 30);
  TNotifyInfo nothing = Reminder("drei");
  nothing.ActionKind = akNothing;
  files.files["Reminder.dat"] = Encoded({Reminder("eins"), daily, nothing});
  ASSERT_EQ(Run({"snooze", "2", "--minutes", "90"}), kExitOk) << err;
  EXPECT_EQ(out,
            "2\t24.07.2025 09:30:00\tzwei\tWarnung ausgeben\tt\xC3\xA4glich\tErinnert erneut: "
            "24.07.2025 10:20:00\n");
  EXPECT_EQ(files.writes, 1);
  TNotifyInfo snoozed = CountingIdentities::With(daily, 2);
  SetSnooze(snoozed, At(2025, 7, 24, 10, 20));
  EXPECT_EQ(files.files["Reminder.dat"], Encoded({CountingIdentities::With(Reminder("eins"), 1),
                                                  snoozed, CountingIdentities::With(nothing, 3)}));

  ASSERT_EQ(Run({"next", "2", "--count", "3", "--at", "24.07.2025 10:00"}), kExitOk) << err;
  EXPECT_EQ(out, "24.07.2025 10:20:00\n25.07.2025 09:30:00\n26.07.2025 09:30:00\n");
  ASSERT_EQ(Run({"next", "1"}), kExitOk) << err;
  EXPECT_EQ(out, "24.07.2025 09:30:00\n");
  ASSERT_EQ(Run({"next", "3"}), kExitOk) << err;
  EXPECT_EQ(out, "nie (die Aktion \xE2\x80\x9ENichts tun\xE2\x80\x9C l\xC3\xB6st nie aus)\n");

  // due fires the snooze alone, with and without --write alike, and the schedule stays.
  ASSERT_EQ(Run({"due", "--at", "24.07.2025 10:20", "--json"}), kExitOk) << err;
  const std::string readOnly = out;
  ASSERT_EQ(Run({"due", "--at", "24.07.2025 10:20", "--json", "--write"}), kExitOk) << err;
  EXPECT_EQ(out, readOnly);
  TNotifyInfo once = CountingIdentities::With(Reminder("eins"), 1);
  once.Notified = 1;
  EXPECT_EQ(files.files["Reminder.dat"], Encoded({once, CountingIdentities::With(daily, 2),
                                                  CountingIdentities::With(nothing, 3)}));

  EXPECT_EQ(Run({"snooze", "4", "--minutes", "5"}), kExitFailure);
  EXPECT_EQ(err, "reminderctl: Keine Erinnerung mit der Nummer \"4\" (die Datei hat 3).\n");
  EXPECT_EQ(Run({"snooze", "1"}), kExitUsage);
  EXPECT_EQ(Run({"next", "1", "--count", "0"}), kExitFailure);
}

}  // namespace
}  // namespace reminder
