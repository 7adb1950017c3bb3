#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "win32/DialogDriver.h"
#include "win32/ToolkitTestSupport.h"
#include "win32/settings/SyncSettingsStore.h"
#include "win32/support/KeyboardCheck.h"
#include "win32/support/LayoutCheck.h"
#include "win32/support/MsgBoxCatcher.h"
#include "win32/support/RecordingActions.h"
#include "win32/support/RegistryScratch.h"
#include "win32/support/TempDirectory.h"
#include "win32/support/TestServices.h"
#include "win32/system/ModuleMode.h"
#include "win32/ui/CfgDlgUnit.h"
#include "win32/ui/MainUnit.h"

namespace reminder {
namespace {

using testing::FlushEvents;

constexpr char kProgram[] = "C:\\Programme\\Zelto\\Reminder.exe";

// The main window's settings command around the real dialog, with the Run entry in a
// scratch key of the current user.
class CfgDlgTest : public ::testing::Test {
 protected:
  CfgDlgTest() : registry_(::testing::UnitTest::GetInstance()->current_test_info()->name()) {}
  void SetUp() override {
    testing::InitializeToolkit();
    SetLibraryMode(false);
  }
  void TearDown() override {
    main_.reset();
    SetLibraryMode(false);
    FlushEvents();
  }
  TMain& Create() {
    TMainServices services =
        testing::TestServices(dir_.File("Reminder.dat"), "\\" + registry_.Path(), actions_);
    services.RunEntryPlace = {{HKEY_CURRENT_USER, registry_.PathOf("Run")},
                              {HKEY_CURRENT_USER, registry_.PathOf("UserRun")},
                              kProgram};
    main_ = std::make_unique<TMain>(std::move(services));
    main_->CreateMain();
    return *main_;
  }
  void Configure(std::function<void(TCfgDlg&)> steps) {
    bool shown = false;
    testing::WhenDialogShows([&] {
      auto* dialog = testing::FindDialog<TCfgDlg>("ReminderCfgDlg");
      ASSERT_NE(dialog, nullptr);
      shown = true;
      steps(*dialog);
    });
    main_->Einstellungen1Click();
    EXPECT_TRUE(shown);
  }
  testing::RawValue Option(const char* name) const { return registry_.Get("Options", name); }
  // The settings as the main window reads them at its start.
  TTheRegIniFile& Settings() {
    ini_.SetArea("\\" + registry_.Path());
    ini_.SetSection("Options");
    return ini_;
  }
  testing::RawValue RunValue() const { return registry_.Get("Run", "Zelto - Reminder"); }

  testing::TempDirectory dir_;
  testing::RegistryScratch registry_;
  TTheRegIniFile ini_;
  testing::RecordingActions actions_;
  std::unique_ptr<TMain> main_;
};

TEST_F(CfgDlgTest, OKAppliesTheIntervalAtOnceAndWritesTheValuesAndTheRunEntry) {
  TMain& main = Create();
  registry_.Set("Run", "Other", REG_SZ, "C:\\OTHER.EXE");
  Configure([](TCfgDlg& d) {
    EXPECT_EQ(d.Caption(), "Konfiguration");
    EXPECT_EQ(d.WinStartUpChkBox.Text(), " Bei jedem &Windowsstart öffnen");
    EXPECT_FALSE(d.WinStartUpChkBox.Checked());
    EXPECT_EQ(d.IntervalEdit.Text(), "60");
    EXPECT_TRUE(GetWindowLongA(d.IntervalEdit.Handle(), GWL_STYLE) & ES_RIGHT);
    d.WinStartUpChkBox.SetChecked(true);
    d.AnimateIconChkBox.SetChecked(false);
    EXPECT_TRUE(d.NotificationChkBox.Checked());
    d.NotificationChkBox.SetChecked(false);
    d.IntervalEdit.SetText("30");
    d.OKBtn.Click();
  });
  EXPECT_FALSE(Settings().ReadBool("Notification", true));
  EXPECT_EQ(main.RefreshInterval(), 30);
  EXPECT_EQ(main.Scheduler().Interval(), 30);
  EXPECT_EQ(main.TrayIcon().Interval(), 30000);
  EXPECT_FALSE(main.TrayIcon().Animate());
  EXPECT_EQ(Settings().ReadInteger("RefreshInterval", 0), 30);
  EXPECT_TRUE(Option("AnimateIcon").exists);
  EXPECT_FALSE(Settings().ReadBool("AnimateIcon", true));
  EXPECT_TRUE(Settings().ReadBool("Autostart", false));
  EXPECT_EQ(RunValue().data, std::string("C:\\PROGRAMME\\ZELTO\\REMINDER.EXE") + '\0');

  // Unchecking removes this program's entry and nothing else.
  Configure([](TCfgDlg& d) {
    EXPECT_TRUE(d.WinStartUpChkBox.Checked());
    d.WinStartUpChkBox.SetChecked(false);
    d.OKBtn.Click();
  });
  EXPECT_FALSE(RunValue().exists);
  EXPECT_TRUE(registry_.Get("Run", "Other").exists);
}

TEST_F(CfgDlgTest, CancelWritesNothing) {
  TMain& main = Create();
  const testing::RawValue interval = Option("RefreshInterval");
  std::vector<std::string> problems;
  Configure([&](TCfgDlg& d) {
    problems = testing::LayoutProblems(d.Handle());
    // The sync page, as laid out at this DPI.
    d.ShowPage(1);
    for (const std::string& problem : testing::LayoutProblems(d.Handle())) {
      problems.push_back("Synchronisation: " + problem);
    }
    d.ShowPage(0);
    d.WinStartUpChkBox.SetChecked(true);
    d.IntervalEdit.SetText("5");
    d.CancelBtn.Click();
  });
  EXPECT_TRUE(problems.empty()) << testing::Joined(problems);
  EXPECT_EQ(main.Scheduler().Interval(), 60);
  EXPECT_EQ(Option("RefreshInterval").data, interval.data);
  EXPECT_FALSE(Option("Autostart").exists);
  EXPECT_FALSE(RunValue().exists);
}

TEST_F(CfgDlgTest, LibraryModeKeepsToTheAutostartValueAndNeverTouchesTheRunKey) {
  SetLibraryMode(true);
  Create();
  registry_.Set("Run", "Zelto - Reminder", REG_SZ, kProgram);
  Settings().WriteBool("Autostart", true);
  Configure([](TCfgDlg& d) {
    EXPECT_EQ(d.WinStartUpChkBox.Text(), "Bei jedem &Start von Zelto/Vantrel öffnen.");
    EXPECT_TRUE(d.WinStartUpChkBox.Checked());
    d.WinStartUpChkBox.SetChecked(false);
    d.OKBtn.Click();
  });
  EXPECT_EQ(RunValue().data, std::string(kProgram) + '\0');
  EXPECT_TRUE(Option("Autostart").exists);
  EXPECT_FALSE(Settings().ReadBool("Autostart", true));
}

TEST_F(CfgDlgTest, LeavingTheIntervalFieldCorrectsBadTexts) {
  TCfgDlg dialog(false);
  dialog.CreateFor(nullptr);
  dialog.Show();
  SetForegroundWindow(dialog.Handle());
  const struct {
    const char* typed;
    const char* left;
  } cases[] = {{"500", "240"}, {"0", "1"},   {"-3", "1"},          {"abc", "1"},
               {" 5", "1"},    {"+5", "+5"}, {"99999999999", "1"}, {"17", "17"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    dialog.IntervalEdit.SetFocus();
    dialog.IntervalEdit.SetText(c.typed);
    dialog.AnimateIconChkBox.SetFocus();
    FlushEvents();
    EXPECT_EQ(dialog.IntervalEdit.Text(), c.left);
  }
  // Without a mouse: Tab reaches every control, Alt+I the interval, which Tab leaves
  // corrected; no box is shown.
  testing::MsgBoxCatcher boxes;
  const std::vector<std::string> problems = testing::KeyboardProblems(dialog);
  EXPECT_TRUE(problems.empty()) << testing::Joined(problems);
  testing::PressAlt(dialog, 'i');
  EXPECT_EQ(GetFocus(), dialog.IntervalEdit.Handle());
  dialog.IntervalEdit.SetText("0");
  testing::PressTab(dialog);
  EXPECT_EQ(dialog.IntervalEdit.Text(), "1");
  EXPECT_EQ(GetFocus(), dialog.OKBtn.Handle());
  EXPECT_TRUE(boxes.Boxes().empty());
}

std::string CalDavServer() {
  char url[512] = "";
  const DWORD length = GetEnvironmentVariableA("REMINDER_TEST_CALDAV_URL", url, sizeof url);
  return length > 0 && length < sizeof url ? url : "";
}

// Against the calendar server the test command starts: a new user has no calendar, so the
// search offers to make one; OK keeps the settings in "Sync", the password only sealed.
TEST_F(CfgDlgTest, TheSyncPageFindsOrMakesTheCalendarAndStoresThePasswordSealed) {
  const std::string server = CalDavServer();
  ASSERT_FALSE(server.empty()) << "scripts/test.sh starts a server";
  const std::string user = "cfg" + std::to_string(GetTickCount());
  const std::string password = "Geheimnis-äöß-4711";
  TMain& main = Create();
  Configure([&](TCfgDlg& d) {
    d.ShowPage(1);
    EXPECT_FALSE(IsWindowVisible(d.IntervalEdit.Handle()));
    // Switched on without a calendar, OK says why and the dialog stays.
    d.SyncChkBox.SetChecked(true);
    d.ServerEdit.SetText(server);
    d.OKBtn.Click();
    EXPECT_EQ(d.ModalResult(), 0);
    EXPECT_EQ(d.SyncInfoLabel.Text(), "Bitte geben Sie den Benutzernamen an.");
    d.UserEdit.SetText(user);
    d.PasswordEdit.SetText(password);
    EXPECT_FALSE(d.MakeCalendarBtn.Enabled());
    d.FindCalendarsBtn.Click();
    EXPECT_EQ(d.CalendarCombo.Count(), 0) << d.SyncInfoLabel.Text();
    ASSERT_TRUE(d.MakeCalendarBtn.Enabled()) << d.SyncInfoLabel.Text();
    d.MakeCalendarBtn.Click();
    ASSERT_EQ(d.CalendarCombo.Count(), 1) << d.SyncInfoLabel.Text();
    EXPECT_EQ(d.CalendarCombo.ItemText(0), "Erinnerungen");
    d.FindCalendarsBtn.Click();
    EXPECT_EQ(d.CalendarCombo.Count(), 1) << d.SyncInfoLabel.Text();
    d.OKBtn.Click();
  });
  const TSyncSettings& kept = main.Sync().Settings();
  EXPECT_TRUE(kept.Enabled);
  EXPECT_EQ(kept.User, user);
  EXPECT_EQ(kept.CalendarUrl.rfind(server, 0), 0u) << kept.CalendarUrl;

  const testing::RawValue sealed = registry_.Get("Sync", "Password");
  ASSERT_TRUE(sealed.exists);
  EXPECT_EQ(sealed.data.find(password), std::string::npos);
  EXPECT_EQ(sealed.data.find("Geheimnis"), std::string::npos);
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(BytesOfHex(sealed.data.substr(0, sealed.data.find('\0')), bytes));
  const std::string hexless(bytes.begin(), bytes.end());
  EXPECT_EQ(hexless.find(password), std::string::npos);
  std::string opened;
  ASSERT_TRUE(UnprotectPassword(bytes, opened));
  EXPECT_EQ(opened, password);

  // Confirmed with the sync on, it syncs at once.
  EXPECT_EQ(main.Sync().StatusText(), "Synchronisation läuft...");
  for (int i = 0; i < 1500 && main.Sync().Running(); ++i) {
    FlushEvents();
    Sleep(20);
  }
  EXPECT_EQ(main.Sync().StatusText().rfind("Synchronisation: zuletzt erfolgreich am ", 0), 0u)
      << main.Sync().StatusText();

  // Opened again, the page shows what was stored, the password decrypted; "Jetzt
  // synchronisieren" confirms and starts a sync.
  Configure([&](TCfgDlg& d) {
    EXPECT_TRUE(d.SyncChkBox.Checked());
    EXPECT_EQ(d.PasswordEdit.Text(), password);
    EXPECT_EQ(d.CalendarCombo.ItemText(d.CalendarCombo.ItemIndex()), "Erinnerungen");
    d.SyncNowBtn.Click();
  });
  EXPECT_EQ(main.Sync().StatusText(), "Synchronisation läuft...");
  const TSyncSettings read = ReadSyncSettings(Settings(), "\\" + registry_.Path());
  EXPECT_EQ(read.Password, password);
  EXPECT_EQ(read.CalendarUrl, kept.CalendarUrl);
}

}  // namespace
}  // namespace reminder
