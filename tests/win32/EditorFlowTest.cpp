// The main window's add and change commands around the real modal editor, and the tray's
// commands while it is open.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/common/DateTime.h"
#include "core/store/IOUnit.h"
#include "core/store/RepeatRule.h"
#include "core/store/ReservedBlock.h"
#include "win32/DialogDriver.h"
#include "win32/ToolkitTestSupport.h"
#include "win32/store/Win32DataFile.h"
#include "win32/support/MsgBoxCatcher.h"
#include "win32/support/RecordingActions.h"
#include "win32/support/RegistryScratch.h"
#include "win32/support/TempDirectory.h"
#include "win32/support/TestServices.h"
#include "win32/system/Win32MsgBox.h"
#include "win32/ui/AddNotifyEventDlgUnit.h"
#include "win32/ui/MainBars.h"
#include "win32/ui/MainUnit.h"

namespace reminder {
namespace {

using testing::FlushEvents;

// As typing: replaces the whole text and reports the change.
void Type(TEdit& edit, const std::string& text) {
  edit.Send(EM_SETSEL, 0, -1);
  edit.Send(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

class EditorFlowTest : public ::testing::Test {
 protected:
  EditorFlowTest() : registry_(::testing::UnitTest::GetInstance()->current_test_info()->name()) {}
  void SetUp() override { testing::InitializeToolkit(); }
  void TearDown() override {
    main_.reset();
    FlushEvents();
  }
  TMain& Create() {
    main_ = std::make_unique<TMain>(
        testing::TestServices(dir_.File("Reminder.dat"), "\\" + registry_.Path(), actions_));
    main_->CreateMain();
    return *main_;
  }
  std::vector<TNotifyInfo> Stored() {
    TWin32DataFile file;
    TWin32MsgBox box;
    TFileIO io(dir_.File("Reminder.dat"), file, box);
    io.Load();
    std::vector<TNotifyInfo> records;
    for (size_t i = 0; i < io.Count(); ++i) records.push_back(io.Item(i));
    return records;
  }
  // Runs a command of the main window while steps fill the editor and end it.
  void WithEditor(void (TMain::*command)(), std::function<void(TAddNotifyEventDlg&)> steps) {
    bool schedulerOff = false;
    bool shown = false;
    testing::WhenDialogShows([&] {
      auto* dialog = testing::FindDialog<TAddNotifyEventDlg>("ReminderAddNotifyEventDlg");
      ASSERT_NE(dialog, nullptr);
      shown = true;
      schedulerOff = !main_->Scheduler().Enabled();
      steps(*dialog);
    });
    (main_.get()->*command)();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(schedulerOff);
    EXPECT_TRUE(main_->Scheduler().Enabled());
  }

  testing::TempDirectory dir_;
  testing::RegistryScratch registry_;
  testing::RecordingActions actions_;
  std::unique_ptr<TMain> main_;
};

TEST_F(EditorFlowTest, AddingAppendsOneRecordAndOneRowAndCancelWritesNothing) {
  TMain& main = Create();
  WithEditor(&TMain::Hinzufgen1Click, [](TAddNotifyEventDlg& d) {
    Type(d.notText, "Steuer");
    d.notRB1.Click();
    d.OKBtn.Click();
  });
  std::vector<TNotifyInfo> stored = Stored();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].NotifyText, "Steuer");
  EXPECT_EQ(stored[0].NotifyKind, nkNever);
  EXPECT_EQ(stored[0].RepeatKind, rkOnce);
  ASSERT_EQ(main.LV().Count(), 1);
  EXPECT_EQ(main.LV().ItemText(0, 1), "Steuer");

  WithEditor(&TMain::Hinzufgen1Click, [](TAddNotifyEventDlg& d) {
    Type(d.notText, "Verworfen");
    d.CancelBtn.Click();
  });
  EXPECT_EQ(Stored().size(), 1u);
  EXPECT_EQ(main.LV().Count(), 1);
}

TEST_F(EditorFlowTest, TheTraysAddBringsTheOpenEditorToTheFront) {
  TMain& main = Create();
  WithEditor(&TMain::Hinzufgen1Click, [&main](TAddNotifyEventDlg& d) {
    SetForegroundWindow(d.Handle());
    FlushEvents();
    // The tray's menu makes the disabled main window the foreground window.
    SetForegroundWindow(main.Handle());
    FlushEvents();
    SendMessageA(main.Handle(), WM_COMMAND, cmAdd, 0);
    FlushEvents();
    EXPECT_EQ(GetForegroundWindow(), d.Handle());
    EXPECT_EQ(FindWindowExA(nullptr, d.Handle(), "ReminderAddNotifyEventDlg", nullptr), nullptr);
    d.CancelBtn.Click();
  });
}

TEST_F(EditorFlowTest, ChangingAFiredReminderMakesItPendingInPlace) {
  {
    TWin32DataFile file;
    TWin32MsgBox box;
    TFileIO io(dir_.File("Reminder.dat"), file, box);
    TNotifyInfo values;
    values.NotifyKind = nkAtDate;
    values.NotifyDate = EncodeDate(2001, 1, 1);
    values.NotifyText = "Alt";
    values.RepeatKind = rkDaily;
    TNotifyInfo* stored = io.Add(values);
    stored->Notified = 1;
    stored->LastNotified = EncodeDate(2001, 1, 2);
    io.Save();
  }
  TMain& main = Create();
  ASSERT_EQ(main.LV().Count(), 1);
  ListView_SetItemState(main.LV().Handle(), 0, LVIS_SELECTED, LVIS_SELECTED);
  TNotifyInfo* record = main.Rows().Row(0).Data;
  WithEditor(&TMain::ndern1Click, [](TAddNotifyEventDlg& d) {
    EXPECT_EQ(d.notText.Text(), "Alt");
    EXPECT_TRUE(d.repOncePerDay.Checked());
    Type(d.notText, "Neu");
    d.OKBtn.Click();
  });
  EXPECT_EQ(main.Rows().Row(0).Data, record);
  EXPECT_EQ(record->Notified, 0);
  EXPECT_EQ(record->LastNotified, 0);
  EXPECT_EQ(main.Rows().Row(0).ImageIndex, 0);
  EXPECT_EQ(main.StatusBar().PartText(), "Noch keine Erinnerung durchgeführt!");
  const std::vector<TNotifyInfo> stored = Stored();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].NotifyText, "Neu");
  EXPECT_EQ(stored[0].Notified, 0);
}

TEST_F(EditorFlowTest, ARuleSetOnThePageIsStoredAndChangedThere) {
  Create();
  WithEditor(&TMain::Hinzufgen1Click, [](TAddNotifyEventDlg& d) {
    Type(d.notText, "Tabletten");
    d.ShowPage(2);
    d.Rule.ruleRB.Click();
    // The weekdays belong to weeks; the day of the month waits for months.
    EXPECT_TRUE(d.Rule.Weekdays[0].Enabled());
    EXPECT_FALSE(d.Rule.LastDayRB.Enabled());
    Type(d.Rule.IntervalEdit, "2");
    d.Rule.Weekdays[0].Click();
    d.Rule.Weekdays[2].Click();
    d.Rule.CountRB.Click();
    EXPECT_TRUE(d.Rule.CountEdit.Enabled());
    Type(d.Rule.CountEdit, "5");
    d.OKBtn.Click();
  });
  std::vector<TNotifyInfo> stored = Stored();
  ASSERT_EQ(stored.size(), 1u);
  std::optional<TRepeatRule> rule = RuleOf(stored[0]);
  ASSERT_TRUE(rule);
  EXPECT_EQ(rule->Freq, TRuleFreq::Weekly);
  EXPECT_EQ(rule->Interval, 2);
  EXPECT_EQ(rule->Weekdays, 0x05);
  EXPECT_EQ(rule->Count, 5);
  const std::optional<TIdentity> identity = IdentityOf(stored[0]);

  ListView_SetItemState(main_->LV().Handle(), 0, LVIS_SELECTED, LVIS_SELECTED);
  WithEditor(&TMain::ndern1Click, [](TAddNotifyEventDlg& d) {
    EXPECT_TRUE(d.Rule.ruleRB.Checked());
    EXPECT_EQ(d.Rule.IntervalEdit.Text(), "2");
    EXPECT_TRUE(d.Rule.Weekdays[2].Checked());
    d.Rule.UnitCB.SetItemIndex(ruMonths);
    SendMessageA(d.Handle(), WM_COMMAND, MAKEWPARAM(TRepeatRuleControls::kUnitCB, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(d.Rule.UnitCB.Handle()));
    EXPECT_FALSE(d.Rule.Weekdays[0].Enabled());
    d.Rule.LastDayRB.Click();
    d.OKBtn.Click();
  });
  stored = Stored();
  ASSERT_EQ(stored.size(), 1u);
  rule = RuleOf(stored[0]);
  ASSERT_TRUE(rule);
  EXPECT_EQ(rule->Freq, TRuleFreq::Monthly);
  EXPECT_TRUE(rule->LastDayOfMonth);
  EXPECT_EQ(rule->Weekdays, 0);
  EXPECT_EQ(rule->Count, 5);
  EXPECT_EQ(stored[0].RepeatKind, rkMonthly);
  EXPECT_EQ(IdentityOf(stored[0]), identity);
}

}  // namespace
}  // namespace reminder
