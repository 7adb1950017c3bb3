// reminderctl's calendar commands: export and import by UID, past events, addresses,
// extended rules and hostile texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ReminderCtlFixture.h"
#include "core/store/ReservedBlock.h"

namespace reminder {
namespace {

using namespace reminder::testing;

TEST_F(ReminderCtl, ExportAndImportMoveRemindersBetweenFilesAndFindThemAgainByUid) {
  TNotifyInfo dialUp = Reminder("DF\xDC");
  dialUp.NotifyKind = nkDialUp;
  TNotifyInfo program = Reminder("Start, Programm; \\ \x80", rkMonthly);
  program.ActionKind = akProgram;
  program.ActionParam = "C:\\Tools\\Kalender.exe";
  program.DaysBefore = 12;
  program.LastNotified = At(2025, 7, 1, 9, 30);
  TNotifyInfo gone = Reminder("Verschwunden", rkYearly);
  gone.ActionKind = akDocument;
  gone.ActionParam = "C:\\weg.doc";
  std::vector<TNotifyInfo> source = {Reminder("Zahnarzt", rkWeekly), dialUp, program, gone};
  for (uint32_t i = 0; i < source.size(); ++i) {
    source[i] = CountingIdentities::With(source[i], 11 + i);
  }
  files.files["Reminder.dat"] = Encoded(source);
  ASSERT_EQ(Run({"export", "termine.ics"}), kExitOk) << err;
  EXPECT_EQ(err, "4 Termine exportiert.\n");

  // Every field comes over, the identity and the last firing included.
  ASSERT_EQ(Run({"import", "--allow-actions", "--file", "neu.dat", "termine.ics"}), kExitSkipped);
  EXPECT_EQ(err,
            "Termin 4 \"Verschwunden\" \xC3\xBC"
            "bersprungen: Das angegebene Dokument existiert "
            "nicht!\n3 von 4 Terminen \xC3\xBC"
            "bernommen.\n");
  const std::string taken = Encoded({source[0], source[1], source[2]});
  EXPECT_EQ(files.files["neu.dat"], taken);

  // Imported again, each is found by its UID and left alone; without --allow-actions a
  // program already there keeps its action.
  ASSERT_EQ(Run({"import", "--file", "neu.dat", "termine.ics"}), kExitOk) << err;
  EXPECT_NE(err.find("Termin 1 \"Zahnarzt\": unver\xC3\xA4ndert\n"), std::string::npos) << err;
  EXPECT_NE(err.find("4 von 4 Terminen \xC3\xBC"
                     "bernommen (davon 3 unver\xC3\xA4ndert).\n"),
            std::string::npos)
      << err;
  TNotifyInfo goneWarns = gone;
  goneWarns.ActionKind = akWarning;
  goneWarns.ActionParam.clear();
  goneWarns.DaysBefore = 0;
  goneWarns = CountingIdentities::With(goneWarns, 14);
  EXPECT_EQ(files.files["neu.dat"], taken + Encoded({goneWarns}));
  ASSERT_EQ(Run({"import", "--file", "neu.dat", "termine.ics"}), kExitOk) << err;
  EXPECT_EQ(files.files["neu.dat"], taken + Encoded({goneWarns}));

  // A changed text keeps the UID: the reminder is updated, not doubled.
  source[0].NotifyText = "Zahnarzt Dr. Lind";
  files.files["Reminder.dat"] = Encoded(source);
  ASSERT_EQ(Run({"export", "termine.ics"}), kExitOk) << err;
  ASSERT_EQ(Run({"import", "--allow-actions", "--file", "neu.dat", "termine.ics"}), kExitSkipped);
  EXPECT_NE(err.find("Termin 1 \"Zahnarzt Dr. Lind\": aktualisiert\n"), std::string::npos) << err;
  EXPECT_EQ(files.files["neu.dat"],
            Encoded({source[0], source[1], source[2]}) + Encoded({goneWarns}));
}

// What lies wholly in the past comes in as done, and the report says so.
TEST_F(ReminderCtl, ImportTakesPastEventsAsDone) {
  const auto event = [](const std::string& summary, const std::string& body) {
    return "BEGIN:VEVENT\r\nUID:" + summary + "@example.org\r\nSUMMARY:" + summary + "\r\n" + body +
           "END:VEVENT\r\n";
  };
  files.files["alt.ics"] =
      "BEGIN:VCALENDAR\r\nPRODID:x\r\n" + event("Sitzung", "DTSTART:20120305T140000\r\n") +
      event("Kurs", "DTSTART:20120305T140000\r\nRRULE:FREQ=WEEKLY;UNTIL=20120430T140000Z\r\n") +
      event("Lauf", "DTSTART:20250305T140000\r\nRRULE:FREQ=DAILY;UNTIL=20300101\r\n") +
      event("Ultimo", "DTSTART:20250131T090000\r\nRRULE:FREQ=MONTHLY;COUNT=3\r\n") +
      event("Quartal", "DTSTART:20250131T090000\r\nRRULE:FREQ=MONTHLY;COUNT=4\r\n") +
      event("Messe", "DTSTART:20251105T100000\r\n") + "END:VCALENDAR\r\n";
  ASSERT_EQ(Run({"import", "alt.ics"}), kExitOk);
  EXPECT_EQ(err,
            "Termin 1 \"Sitzung\": liegt in der Vergangenheit, als erledigt \xC3\xBC"
            "bernommen\n"
            "Termin 2 \"Kurs\": Serie ist beendet, als erledigt \xC3\xBC"
            "bernommen\n"
            // 31 January, March and May 2025 are over; the fourth, 31 July, is not.
            "Termin 4 \"Ultimo\": Serie ist beendet, als erledigt \xC3\xBC"
            "bernommen\n"
            "6 von 6 Terminen \xC3\xBC"
            "bernommen.\n");
  // The running series follow their rules to the end; what passed before the import does
  // not fire.
  ASSERT_EQ(Run({"due", "--at", "24.07.2025 09:00"}), kExitNothingDue) << out;
  ASSERT_EQ(Run({"next", "5", "--at", "24.07.2025 09:00"}), kExitOk);
  EXPECT_EQ(out, "31.07.2025 09:00:00\n");
  // Off since the import: the day before's occurrence fires once at once; the last day of
  // UNTIL counts whole.
  ASSERT_EQ(Run({"next", "3", "--count", "9", "--at", "29.12.2029 15:00"}), kExitOk);
  EXPECT_EQ(out,
            "29.12.2029 15:00:00\n30.12.2029 14:00:00\n31.12.2029 14:00:00\n01.01.2030 14:00:00\n");
  ASSERT_EQ(Run({"import", "alt.ics"}), kExitOk);
  ASSERT_EQ(Run({"list"}), kExitOk);
  EXPECT_EQ(Lines(out).size(), 6u);
}

TEST_F(ReminderCtl, ImportRefusesWhatIsNoWebAddressOrPlainEmail) {
  const auto event = [](const char* summary, int action, const char* param) {
    return std::string("BEGIN:VEVENT\r\nDTSTART:20300101T100000\r\nSUMMARY:") + summary +
           "\r\nX-REMINDER-ACTION:" + std::to_string(action) +
           "\r\nX-REMINDER-ACTION-PARAM:" + param + "\r\nEND:VEVENT\r\n";
  };
  // Saved by an editor that puts a byte-order mark first.
  files.files["fremd.ics"] =
      "\xEF\xBB\xBF"
      "BEGIN:VCALENDAR\r\nPRODID:x\r\n" +
      event("Web", akWebsite, "C:\\\\Users\\\\Public\\\\x.bat") +
      event("Post", akEmail, "a@b.example?attach=C:\\\\x.bat") +
      event("Gut", akWebsite, "www.example.org") + "END:VCALENDAR\r\n";
  ASSERT_EQ(Run({"import", "--allow-actions", "--lenient", "fremd.ics"}), kExitOk) << err;
  EXPECT_EQ(err,
            "Termin 1 \"Web\" \xC3\xBC"
            "bersprungen: Die angegebene Webseite ist keine Web-Adresse! Sie muss mit http://, "
            "https:// oder www. beginnen.\n"
            "Termin 2 \"Post\" \xC3\xBC"
            "bersprungen: Bitte geben Sie die E-Mail Adresse korrekt an!\n"
            "1 von 3 Terminen \xC3\xBC"
            "bernommen.\n");

  // Every event is taken, but not the task: the exit code alone tells it with --quiet.
  files.files["aufgaben.ics"] = "BEGIN:VCALENDAR\r\nPRODID:x\r\nBEGIN:VTODO\r\nEND:VTODO\r\n" +
                                event("Gut", akWebsite, "www.example.org") + "END:VCALENDAR\r\n";
  ASSERT_EQ(Run({"import", "--quiet", "aufgaben.ics"}), kExitSkipped);
  EXPECT_EQ(out + err, "");
  ASSERT_EQ(Run({"list"}), kExitOk);
  EXPECT_EQ(Lines(out).size(), 2u);
}

// The second Tuesday of every month, three times: added, listed, followed and exported.
TEST_F(ReminderCtl, AddTakesAnRRuleOfTheSubsetAndRefusesTheRest) {
  ASSERT_EQ(Run({"add", "--text", "Sitzung", "--date", "12.08.2025 18:00", "--rrule",
                 "FREQ=MONTHLY;BYDAY=2TU;COUNT=3"}),
            kExitOk)
      << err;
  EXPECT_EQ(out,
            "1\t12.08.2025 18:00:00\tSitzung\tWarnung ausgeben\tmonatlich am 2. Dienstag, "
            "3-mal\tNoch keine Erinnerung durchgef\xC3\xBChrt!\n");
  ASSERT_EQ(Run({"list", "--json"}), kExitOk);
  EXPECT_NE(out.find("\"repeat\":\"monthly\",\"rrule\":\"FREQ=MONTHLY;BYDAY=2TU;COUNT=3\""),
            std::string::npos);
  ASSERT_EQ(Run({"next", "1", "--count", "5"}), kExitOk);
  EXPECT_EQ(out, "12.08.2025 18:00:00\n09.09.2025 18:00:00\n14.10.2025 18:00:00\n");
  ASSERT_EQ(Run({"export", "-"}), kExitOk);
  EXPECT_NE(out.find("RRULE:FREQ=MONTHLY;BYDAY=2TU;COUNT=3\r\n"), std::string::npos);

  EXPECT_EQ(Run({"add", "--text", "x", "--rrule", "FREQ=MONTHLY;BYDAY=TU;BYSETPOS=2"}),
            kExitFailure);
  EXPECT_EQ(err,
            "reminderctl: Die Regel \"FREQ=MONTHLY;BYDAY=TU;BYSETPOS=2\" geht nicht: Regelteil "
            "\"BYSETPOS=2\" wird nicht unterst\xC3\xBCtzt.\n");
  EXPECT_EQ(Run({"add", "--text", "x", "--trigger", "never", "--rrule", "FREQ=DAILY"}),
            kExitFailure);
}

// A zero character becomes a blank, so the data file stays whole; control characters reach
// the terminal only as visible escapes, in the import's report as in list and due.
TEST_F(ReminderCtl, HostileCalendarTextsNeitherDamageTheFileNorSteerTheTerminal) {
  const char calendar[] =
      "BEGIN:VCALENDAR\r\nPRODID:x\r\nBEGIN:VEVENT\r\nDTSTART:20250724T093000\r\n"
      "SUMMARY:a\0b \x1B[8mverdeckt\x1B[0m\r\nX-REMINDER-ACTION:4\r\n"
      "X-REMINDER-ACTION-PARAM:\x1B[8mC:\\\\x.exe\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
  files.files["feind.ics"] = std::string(calendar, sizeof calendar - 1);
  ASSERT_NE(Run({"import", "feind.ics"}), kExitFailure) << err;
  EXPECT_EQ(err.find('\x1B'), std::string::npos) << err;
  EXPECT_NE(err.find("\\x1B[8mC:"), std::string::npos) << err;
  EXPECT_NE(err.find("Nullzeichen durch Leerzeichen ersetzt"), std::string::npos) << err;

  ASSERT_EQ(Run({"add", "--text", "danach"}), kExitOk) << err;
  ASSERT_EQ(Run({"list"}), kExitOk);
  EXPECT_NE(out.find("a b \\x1B[8mverdeckt\\x1B[0m\t"), std::string::npos) << out;
  ASSERT_EQ(Run({"due", "--at", "2025-07-24T10:00"}), kExitOk);
  EXPECT_EQ(out.find('\x1B'), std::string::npos) << out;
}

}  // namespace
}  // namespace reminder
