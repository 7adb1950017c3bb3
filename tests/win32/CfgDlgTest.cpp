#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "win32/DialogDriver.h"
#include "win32/ToolkitTestSupport.h"
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

}  // namespace
}  // namespace reminder
