#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/common/FormatSettings.h"
#include "core/ui/CfgDlgRules.h"
#include "core/ui/SyncRules.h"

namespace reminder {
namespace {

TEST(IntervalEditExit, KeepsTheFieldWithinOneTo240) {
  EXPECT_EQ(IntervalEditExit("500"), "240");
  EXPECT_EQ(IntervalEditExit("241"), "240");
  EXPECT_EQ(IntervalEditExit("240"), "240");
  EXPECT_EQ(IntervalEditExit("60"), "60");
  EXPECT_EQ(IntervalEditExit("1"), "1");
  EXPECT_EQ(IntervalEditExit("0"), "1");
  EXPECT_EQ(IntervalEditExit("-3"), "1");
  // A whole number in range stays as typed.
  EXPECT_EQ(IntervalEditExit("007"), "007");
  EXPECT_EQ(IntervalEditExit("+5"), "+5");
}

TEST(IntervalEditExit, TextThatIsNoWholeNumberBecomesOne) {
  for (const char* text : {"", "abc", "12a", "99999999999", "-99999999999", " 5", "5 ", "1 0", "-",
                           "+", "1,5", "$F", "0x10"}) {
    EXPECT_EQ(IntervalEditExit(text), "1") << '"' << text << '"';
  }
}

TEST(RefreshIntervalFromText, FallsBackTo60AndStaysInTheFieldsRange) {
  EXPECT_EQ(RefreshIntervalFromText("42"), 42);
  EXPECT_EQ(RefreshIntervalFromText("+5"), 5);
  EXPECT_EQ(RefreshIntervalFromText(""), 60);
  EXPECT_EQ(RefreshIntervalFromText("zehn"), 60);
  EXPECT_EQ(RefreshIntervalFromText("99999999999"), 60);
  EXPECT_EQ(RefreshIntervalFromText("500"), 240);
  EXPECT_EQ(RefreshIntervalFromText("0"), 1);
}

TEST(TryWholeNumber, AcceptsExactlyThe32BitRange) {
  int32_t value = 0;
  ASSERT_TRUE(TryWholeNumber("-2147483648", value));
  EXPECT_EQ(value, INT32_MIN);
  ASSERT_TRUE(TryWholeNumber("2147483647", value));
  EXPECT_FALSE(TryWholeNumber("2147483648", value));
  EXPECT_FALSE(TryWholeNumber("-2147483649", value));
  EXPECT_EQ(value, INT32_MAX);
}

TEST(WinStartUpCaption, DependsOnTheMode) {
  EXPECT_EQ(WinStartUpCaption(true), "Bei jedem &Start von Zelto/Vantrel öffnen.");
  EXPECT_EQ(WinStartUpCaption(false), " Bei jedem &Windowsstart öffnen");
}

TEST(AutostartPath, JoinsDirectoryAndNameUpperCased) {
  EXPECT_EQ(AutostartPath("C:\\PROGRA~1\\Zelto\\", "Reminder.exe"),
            "C:\\PROGRA~1\\ZELTO\\REMINDER.EXE");
  EXPECT_EQ(AutostartPath("C:\\Tools", "Reminder.exe"), "C:\\TOOLS\\REMINDER.EXE");
  EXPECT_EQ(AutostartPath("C:\\Gr\xFCn\\", "R\xE4t.exe"), "C:\\GR\xDCN\\R\xC4T.EXE");
}

TEST(AutostartPath, SplitsTheExecutablePath) {
  EXPECT_EQ(ExtractFilePath("C:\\Programme\\Zelto\\Reminder.exe"), "C:\\Programme\\Zelto\\");
  EXPECT_EQ(ExtractFileName("C:\\Programme\\Zelto\\Reminder.exe"), "Reminder.exe");
  EXPECT_EQ(ExtractFilePath("C:Reminder.exe"), "C:");
  EXPECT_EQ(ExtractFilePath("Reminder.exe"), "");
  EXPECT_EQ(ExtractFileName("Reminder.exe"), "Reminder.exe");
}

TEST(RunEntryNamesPath, MatchesThisProgramWhateverTheLetterCase) {
  const std::string path = AutostartPath("C:\\GR\xDCN\\", "REMINDER.EXE");
  const std::string stored = "c:\\gr\xFCn\\Reminder.exe";
  EXPECT_TRUE(RunEntryNamesPath(stored.c_str(), stored.size() + 1, path));
  // A value without its terminating zero ends with the bytes returned.
  EXPECT_TRUE(RunEntryNamesPath(stored.data(), stored.size(), path));
}

TEST(RunEntryNamesPath, EndsAtTheFirstZeroOrTheBytesReturnedAndComparesWhole) {
  const std::string path = "C:\\ZELTO\\REMINDER.EXE";
  const std::string withTail = std::string("C:\\ZELTO\\REMINDER.EXE\0junk", 26);
  EXPECT_TRUE(RunEntryNamesPath(withTail.data(), withTail.size(), path));
  // Only part of the path returned: it does not match, even though the bytes follow.
  EXPECT_FALSE(RunEntryNamesPath(withTail.data(), 10, path));
  EXPECT_FALSE(RunEntryNamesPath(nullptr, 0, path));
  const std::string other = "C:\\OTHER\\REMINDER.EXE /min";
  EXPECT_FALSE(RunEntryNamesPath(other.c_str(), other.size() + 1, path));
}

TEST(RunEntryErrors, NameTheErrorCodeInDecimal) {
  EXPECT_EQ(RunEntryWriteErrorText(5),
            "Wert konnte nicht in die Registrierung eingefügt werden. Fehlercode: 5");
  EXPECT_EQ(RunEntryDeleteErrorText(1018),
            "Eintrag konnte nicht aus der Registrierung gelöscht werden. Fehlercode: 1018");
}

TEST(SyncSettings, AnEnabledSyncNeedsAServerAUserAndACalendar) {
  TSyncSettings settings;
  EXPECT_EQ(SyncSettingsProblem(settings), "");
  settings.Server = "ftp://example.org/";
  EXPECT_EQ(SyncSettingsProblem(settings),
            "Die Serveradresse muss mit http:// oder https:// beginnen und einen Rechnernamen "
            "enthalten.");
  settings.Server = "https://kalender.example.org/dav/";
  settings.Enabled = true;
  EXPECT_EQ(SyncSettingsProblem(settings), "Bitte geben Sie den Benutzernamen an.");
  settings.User = "anna";
  EXPECT_EQ(SyncSettingsProblem(settings),
            "Bitte wählen Sie einen Kalender (\"Kalender suchen\").");
  settings.CalendarUrl = "https://kalender.example.org/dav/anna/erinnerungen/";
  EXPECT_EQ(SyncSettingsProblem(settings), "");
}

TEST(SyncSettings, ThePasswordsSealedBytesComeBackFromTheirTextWhateverTheyAre) {
  std::mt19937 random(29);
  for (int round = 0; round < 200; ++round) {
    std::vector<uint8_t> bytes(random() % 300);
    for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
    const std::string text = HexOfBytes(bytes);
    std::vector<uint8_t> back = {1, 2, 3};
    ASSERT_TRUE(BytesOfHex(text, back));
    EXPECT_EQ(back, bytes);
  }
  std::vector<uint8_t> kept = {7};
  EXPECT_FALSE(BytesOfHex("ABC", kept));
  EXPECT_FALSE(BytesOfHex("0G", kept));
  EXPECT_EQ(kept, std::vector<uint8_t>{7});
}

TEST(SyncStatus, SaysWhenItLastSucceededOrWhyItFailed) {
  const TFormatSettings fs = GermanFormatSettings();
  EXPECT_EQ(SyncSucceededText(EncodeDate(2026, 12, 8) + EncodeTime(14, 5, 9, 0), fs),
            "Synchronisation: zuletzt erfolgreich am 08.12.2026 14:05:09");
  EXPECT_EQ(SyncFailedText("Der Server http://x ist nicht erreichbar (Zeitüberschreitung)."),
            "Synchronisation fehlgeschlagen: Der Server http://x ist nicht erreichbar "
            "(Zeitüberschreitung).");
}

TEST(SyncSchedule, BacksOffAfterFailuresUpToAnHourAndWaitsTheIntervalAfterASuccess) {
  const int32_t expected[] = {1, 2, 4, 8, 16, 32, 60, 60, 60};
  for (int failures = 1; failures <= 9; ++failures) {
    EXPECT_EQ(SyncBackoffMinutes(failures), expected[failures - 1]) << failures;
  }
  EXPECT_EQ(SyncBackoffMinutes(1000), 60);
  const double minute = 1.0 / (24 * 60);
  const TDateTime start = EncodeDate(2026, 12, 8);
  TSyncSchedule schedule;
  EXPECT_TRUE(schedule.Due(start));
  schedule.Failed(start);
  schedule.Failed(start + 1 * minute);
  EXPECT_FALSE(schedule.Due(start + 2.9 * minute));
  // A change made during the delay waits for its end, not for the next failure.
  schedule.ChangeMade(start + 2 * minute);
  EXPECT_FALSE(schedule.Due(start + 2.9 * minute));
  EXPECT_TRUE(schedule.Due(start + 3.01 * minute));
  schedule.Succeeded(start + 4 * minute, 90);
  EXPECT_EQ(schedule.Failures(), 0);
  EXPECT_FALSE(schedule.Due(start + 5 * minute));
  EXPECT_TRUE(schedule.Due(start + 5.6 * minute));
  // After a success a change syncs at once.
  schedule.ChangeMade(start + 4.5 * minute);
  EXPECT_TRUE(schedule.Due(start + 4.5 * minute));
}

}  // namespace
}  // namespace reminder
