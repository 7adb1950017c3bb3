#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/common/DateTime.h"
#include "core/store/ActionTarget.h"
#include "core/store/RepeatRule.h"
#include "core/store/RuleText.h"
#include "win32/ToolkitTestSupport.h"
#include "win32/support/KeyboardCheck.h"
#include "win32/support/LayoutCheck.h"
#include "win32/support/MsgBoxCatcher.h"
#include "win32/system/Win32MsgBox.h"
#include "win32/ui/AddNotifyEventDlgUnit.h"

namespace reminder {
namespace {

using testing::FlushEvents;

class FixedClock : public IClock {
 public:
  explicit FixedClock(TDateTime now) : now_(now) {}
  TDateTime Now() override { return now_; }

 private:
  TDateTime now_;
};

// As typing: replaces the whole text and reports the change, as a multi-line edit does only
// for typed text.
void Type(TEdit& edit, const std::string& text) {
  edit.Send(EM_SETSEL, 0, -1);
  edit.Send(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

const TDateTime kNow = EncodeDate(2030, 3, 9) + EncodeTime(23, 50, 0, 0);

class AddNotifyEventDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::InitializeToolkit();
    dialog_ = std::make_unique<TAddNotifyEventDlg>(clock_, box_);
    dialog_->CreateFor(nullptr);
  }
  void TearDown() override {
    dialog_.reset();
    FlushEvents();
  }
  void Choose(int action) {
    dialog_->ActionCB.SetItemIndex(action);
    SendMessageA(dialog_->Handle(), WM_COMMAND,
                 MAKEWPARAM(TAddNotifyEventDlg::kActionCB, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(dialog_->ActionCB.Handle()));
  }
  // The date field's answer to a typed text.
  TDateTime TypeDate(const std::string& text) {
    NMDATETIMESTRINGA info = {};
    info.nmhdr.hwndFrom = dialog_->DatePicker.Handle();
    info.nmhdr.idFrom = TAddNotifyEventDlg::kDatePicker;
    info.nmhdr.code = DTN_USERSTRINGA;
    info.pszUserString = text.c_str();
    SendMessageA(dialog_->Handle(), WM_NOTIFY, info.nmhdr.idFrom, reinterpret_cast<LPARAM>(&info));
    return std::floor(FromSystemTime(info.st));
  }

  FixedClock clock_{kNow};
  TWin32MsgBox box_;
  std::unique_ptr<TAddNotifyEventDlg> dialog_;
};

TEST_F(AddNotifyEventDlgTest, StartsTwentyMinutesAheadWithTheDateTriggerAndOKOff) {
  TAddNotifyEventDlg& d = *dialog_;
  EXPECT_EQ(d.Caption(), "Erinnerung hinzufügen");
  EXPECT_TRUE(d.notRB3.Checked());
  EXPECT_TRUE(d.repOnce.Checked());
  EXPECT_DOUBLE_EQ(std::floor(d.DatePicker.Value()), EncodeDate(2030, 3, 10));
  const TDateTime time = d.TimePicker.Value();
  EXPECT_NEAR(time - std::floor(time), EncodeTime(0, 10, 0, 0), 1e-6);
  ASSERT_EQ(d.ActionCB.Count(), 9);
  EXPECT_EQ(d.ActionCB.ItemText(8), "DFÜ-Netzwerk Verbindung trennen");
  EXPECT_EQ(d.ActionCB.ItemIndex(), 0);
  EXPECT_EQ(d.DaysEdit.Text(), "3");
  d.Show();
  EXPECT_FALSE(d.OKBtn.Enabled());
  EXPECT_EQ(d.notText.Send(EM_GETLIMITTEXT), 65535);
  EXPECT_EQ(d.ProgramEdit.Send(EM_GETLIMITTEXT), 65535);
}

TEST_F(AddNotifyEventDlgTest, OKFollowsTheTextAndTheChosenActionsParameter) {
  TAddNotifyEventDlg& d = *dialog_;
  d.Show();
  Type(d.notText, "Zahnarzt");
  EXPECT_TRUE(d.OKBtn.Enabled());
  Choose(akEmail);
  EXPECT_EQ(d.ActionPage(), npEMail);
  EXPECT_EQ(GetFocus(), d.EmailEdit.Handle());
  EXPECT_FALSE(d.OKBtn.Enabled());
  Type(d.EmailEdit, "a");
  EXPECT_TRUE(d.OKBtn.Enabled());
  Choose(akRestart);
  EXPECT_EQ(d.ActionPage(), npNoAction);
  EXPECT_TRUE(d.OKBtn.Enabled());
  Type(d.notText, "");
  EXPECT_FALSE(d.OKBtn.Enabled());
}

TEST_F(AddNotifyEventDlgTest, TheNextDatesFollowTheFields) {
  TAddNotifyEventDlg& d = *dialog_;
  d.Show();
  EXPECT_EQ(d.NextDates.Text(), "nie (die Aktion „Nichts tun“ löst nie aus)");
  Choose(akEmail);
  d.ShowPage(2);
  d.repOncePerDay.Click();
  // Daily from 10.03.2030 00:10 on, in the locale's short date.
  EXPECT_EQ(d.NextDates.Text().substr(0, 38), "10.3.2030\u00A000:10:00, 11.3.2030\u00A000:10:00");
  d.notRB2.Click();
  EXPECT_EQ(d.NextDates.Text(), "nie (erst beim Aufbau der nächsten DFÜ-Netzwerk Verbindung)");

  // A reminder with an extended rule, every second day, checks "alle" and shows its dates;
  // the plain daily repetition leaves the rule unused, "alle" takes it up again.
  TNotifyInfo ruled = d.ToNotifyInfo();
  ruled.NotifyKind = nkAtDate;
  std::string error;
  ASSERT_TRUE(SetRule(ruled, ParseRRule("FREQ=DAILY;INTERVAL=2", ruled.NotifyDate, error)));
  d.Fill(ruled);
  const std::string everySecondDay = "10.3.2030\u00A000:10:00, 12.3.2030\u00A000:10:00";
  EXPECT_TRUE(d.Rule.ruleRB.Checked());
  EXPECT_EQ(d.NextDates.Text().substr(0, 38), everySecondDay);
  d.repOncePerDay.Click();
  EXPECT_EQ(d.NextDates.Text().substr(0, 38), "10.3.2030\u00A000:10:00, 11.3.2030\u00A000:10:00");
  EXPECT_FALSE(d.Rule.IntervalEdit.Enabled());
  d.Rule.ruleRB.Click();
  EXPECT_EQ(d.NextDates.Text().substr(0, 38), everySecondDay);
}

TEST_F(AddNotifyEventDlgTest, DialUpTriggerAllowsOnlyOneReminderAndDisablesTheDate) {
  TAddNotifyEventDlg& d = *dialog_;
  d.Show();
  d.repOncePerWeek.Click();
  d.notRB2.Click();
  EXPECT_TRUE(d.repOnce.Checked());
  EXPECT_FALSE(d.repOncePerWeek.Checked());
  for (TControl* c : std::vector<TControl*>{&d.DatePicker, &d.TimePicker, &d.DaysEdit,
                                            &d.repOncePerDay, &d.repOncePerYear, &d.Rule.ruleRB}) {
    EXPECT_FALSE(c->Enabled());
  }
  d.notRB3.Click();
  EXPECT_TRUE(d.DatePicker.Enabled());
  EXPECT_TRUE(d.repOncePerYear.Enabled());
  EXPECT_TRUE(d.repOnce.Checked());
}

TEST_F(AddNotifyEventDlgTest, FillAndReadBackGiveAPendingReminderOfTheChosenAction) {
  TNotifyInfo record;
  record.Notified = 1;
  record.LastNotified = kNow;
  record.NotifyKind = nkDialUp;
  record.NotifyDate = EncodeDate(2031, 1, 2) + EncodeTime(8, 15, 0, 0);
  record.NotifyText = "Rechnung";
  record.ActionKind = akProgram;
  record.ActionParam = "C:\\x.exe";
  record.RepeatKind = 0;
  record.DaysBefore = 7;
  dialog_->Fill(record);
  EXPECT_TRUE(dialog_->notRB2.Checked());
  EXPECT_EQ(dialog_->ActionPage(), npExecProgram);
  EXPECT_FALSE(dialog_->repOnce.Checked());
  // The typed program stays when another action is chosen; only the chosen one is read.
  Choose(akWebsite);
  dialog_->WebsiteEdit.SetText("www.x.example");
  Choose(akProgram);
  const TNotifyInfo read = dialog_->ToNotifyInfo();
  EXPECT_EQ(read.Notified, 0);
  EXPECT_EQ(read.LastNotified, 0);
  EXPECT_EQ(read.NotifyKind, nkDialUp);
  EXPECT_NEAR(read.NotifyDate, record.NotifyDate, 1e-6);
  EXPECT_EQ(read.NotifyText, "Rechnung");
  EXPECT_EQ(read.ActionParam, "C:\\x.exe");
  EXPECT_EQ(read.RepeatKind, rkYearly);
  EXPECT_EQ(read.DaysBefore, 7);
  dialog_->DaysEdit.SetText("45");
  EXPECT_EQ(dialog_->ToNotifyInfo().DaysBefore, 30);
}

TEST_F(AddNotifyEventDlgTest, LeavingABadFieldShowsItsMessageAndKeepsTheFocusThere) {
  TAddNotifyEventDlg& d = *dialog_;
  d.Show();
  SetForegroundWindow(d.Handle());
  d.ShowPage(1);
  testing::MsgBoxCatcher catcher;
  struct Case {
    int action;
    TEdit* edit;
    const char* text;
    const char* message;  // none: the field passes
  };
  const Case cases[] = {
      {akEmail, &d.EmailEdit, "kein.at", "Bitte geben Sie die E-Mail Adresse korrekt an!"},
      {akEmail, &d.EmailEdit, "anna@example.org", nullptr},
      {akWebsite, &d.WebsiteEdit, "C:\\Users\\Public\\x.bat", kWebsiteInvalidText},
      {akProgram, &d.ProgramEdit, "C:\\fehlt\\nicht.exe",
       "Das angegebene Programm existiert nicht!"},
      {akProgram, &d.ProgramEdit, "", nullptr},
      {akDocument, &d.DocumentEdit, "C:\\fehlt.txt", "Das angegebene Dokument existiert nicht!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    catcher.Clear();
    Choose(c.action);
    c.edit->SetText(c.text);
    c.edit->SetFocus();
    d.ActionCB.SetFocus();
    FlushEvents();
    if (c.message) {
      ASSERT_EQ(catcher.Boxes().size(), 1u);
      EXPECT_EQ(catcher.Boxes()[0].caption, "Fehler");
      EXPECT_EQ(catcher.Boxes()[0].text, c.message);
      EXPECT_EQ(GetFocus(), c.edit->Handle());
      EXPECT_EQ(c.edit->Text(), c.text);
    } else {
      EXPECT_TRUE(catcher.Boxes().empty());
      EXPECT_EQ(GetFocus(), d.ActionCB.Handle());
    }
  }
  // OK, also pressed by Enter without leaving the field, checks it and stays open.
  Type(d.notText, "Zahnarzt");
  Choose(akWebsite);
  d.WebsiteEdit.SetText("file:///C:/x.bat");
  d.ShowPage(0);
  catcher.Clear();
  SendMessageA(d.Handle(), WM_COMMAND, MAKEWPARAM(TAddNotifyEventDlg::kOKBtn, BN_CLICKED),
               reinterpret_cast<LPARAM>(d.OKBtn.Handle()));
  FlushEvents();
  ASSERT_EQ(catcher.Boxes().size(), 1u);
  EXPECT_EQ(catcher.Boxes()[0].text, kWebsiteInvalidText);
  EXPECT_EQ(d.ModalResult(), 0);
  EXPECT_EQ(d.PageIndex(), 1);
  EXPECT_EQ(GetFocus(), d.WebsiteEdit.Handle());

  // The browse button is in the tab order; moving to it leaves the field unchecked.
  Choose(akProgram);
  d.ProgramEdit.SetText("C:\\fehlt\\halb");
  d.ProgramEdit.SetFocus();
  catcher.Clear();
  EXPECT_TRUE(GetWindowLongA(d.BrowseBtn.Handle(), GWL_STYLE) & WS_TABSTOP);
  EXPECT_EQ(GetNextDlgTabItem(d.Handle(), d.ProgramEdit.Handle(), FALSE), d.BrowseBtn.Handle());
  d.BrowseBtn.SetFocus();
  FlushEvents();
  EXPECT_TRUE(catcher.Boxes().empty());
}

TEST_F(AddNotifyEventDlgTest, EnterInATriggerButtonMovesOnAndTheDateFieldRefusesNoDates) {
  TAddNotifyEventDlg& d = *dialog_;
  d.Show();
  SetForegroundWindow(d.Handle());
  d.notRB3.SetFocus();
  MSG enter = {d.notRB3.Handle(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  EXPECT_TRUE(d.PreTranslateMessage(enter));
  FlushEvents();
  EXPECT_EQ(GetFocus(), d.DatePicker.Handle());
  EXPECT_TRUE(d.notRB3.Checked());

  const TDateTime before = std::floor(d.DatePicker.Value());
  EXPECT_DOUBLE_EQ(TypeDate("31.02.2031"), before);
  EXPECT_DOUBLE_EQ(TypeDate("abc"), before);
  EXPECT_DOUBLE_EQ(TypeDate("24.12.2031"), EncodeDate(2031, 12, 24));
}

TEST_F(AddNotifyEventDlgTest, CtrlTabSwitchesThePagesBothWays) {
  TAddNotifyEventDlg& d = *dialog_;
  d.Show();
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  const auto press = [&](bool shift) {
    keys[VK_CONTROL] = 0x80;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    MSG tab = {d.notText.Handle(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_TRUE(d.PreTranslateMessage(tab));
  };
  press(false);
  EXPECT_EQ(d.PageIndex(), 1);
  // The text went with its page: the focus moves to the new page's first control.
  EXPECT_EQ(GetFocus(), d.ActionCB.Handle());
  press(false);
  press(false);
  EXPECT_EQ(d.PageIndex(), 0);
  press(true);
  EXPECT_EQ(d.PageIndex(), 2);
  keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
}

TEST_F(AddNotifyEventDlgTest, TheTabsComeFirstAndAccessKeysReachTheirFields) {
  TAddNotifyEventDlg& d = *dialog_;
  d.Show();
  EXPECT_EQ(GetNextDlgTabItem(d.Handle(), nullptr, FALSE), d.PC.Handle());
  // Alt+K, the key of "Erinnern an (Kurzbeschreibung):", moves to the text below it.
  SetFocus(d.notRB1.Handle());
  MSG altK = {d.notRB1.Handle(), WM_SYSCHAR, 'k', 1 << 29, 0, {}};
  EXPECT_TRUE(d.PreTranslateMessage(altK));
  EXPECT_EQ(GetFocus(), d.notText.Handle());
  // A click on a page's control reaches it through the tab control lying under it.
  RECT place = {};
  GetWindowRect(d.notText.Handle(), &place);
  EXPECT_EQ(WindowFromPoint({place.left + 4, place.top + 4}), d.notText.Handle());
}

TEST_F(AddNotifyEventDlgTest, TheKeyboardReachesEveryControlAndErrorBoxesGiveTheFocusBack) {
  TAddNotifyEventDlg& d = *dialog_;
  d.Show();
  SetForegroundWindow(d.Handle());
  Type(d.notText, "Zahnarzt");
  d.EmailEdit.SetText("anna@example.org");
  d.WebsiteEdit.SetText("www.example.org");
  for (int page = 0; page < 3; ++page) {
    d.ShowPage(page);
    for (int action : page == 1
                          ? std::vector<int>{akWarning, akEmail, akWebsite, akProgram, akDocument}
                          : std::vector<int>{akNothing}) {
      if (page == 1) Choose(action);
      const std::vector<std::string> problems = testing::KeyboardProblems(d);
      EXPECT_TRUE(problems.empty()) << "page " << page << ", action " << action << ":\n"
                                    << testing::Joined(problems);
    }
  }

  // The rule's controls as they are enabled for weeks, and for months on a weekday.
  d.ShowPage(2);
  d.Rule.ruleRB.Click();
  for (int unit : {ruWeeks, ruMonths}) {
    d.Rule.UnitCB.SetItemIndex(unit);
    SendMessageA(d.Handle(), WM_COMMAND, MAKEWPARAM(TRepeatRuleControls::kUnitCB, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(d.Rule.UnitCB.Handle()));
    d.Rule.OrdinalRB.Click();
    d.Rule.UntilRB.Click();
    EXPECT_EQ(d.Rule.WeekdayCB.Enabled(), unit == ruMonths);
    const std::vector<std::string> problems = testing::KeyboardProblems(d);
    EXPECT_TRUE(problems.empty()) << "unit " << unit << ":\n" << testing::Joined(problems);
  }

  testing::MsgBoxCatcher catcher;
  // Leaving a bad field by an access key, or by Tab towards OK, brings its box; then the
  // focus is back in the field.
  d.ShowPage(1);
  Choose(akEmail);
  Type(d.EmailEdit, "a");
  testing::PressAlt(d, 'd');
  ASSERT_EQ(catcher.Boxes().size(), 1u);
  EXPECT_EQ(GetFocus(), d.EmailEdit.Handle());
  testing::PressTab(d);
  EXPECT_EQ(catcher.Boxes().size(), 2u);
  EXPECT_EQ(GetFocus(), d.EmailEdit.Handle());
  // A path is checked when the focus leaves it and its browse button.
  for (TEdit* edit : {&d.ProgramEdit, &d.DocumentEdit}) {
    Choose(edit == &d.ProgramEdit ? akProgram : akDocument);
    Type(*edit, "C:\\fehlt\\nicht.exe");
    catcher.Clear();
    testing::PressTab(d);
    EXPECT_TRUE(catcher.Boxes().empty());
    testing::PressTab(d);
    ASSERT_EQ(catcher.Boxes().size(), 1u);
    EXPECT_EQ(GetFocus(), edit->Handle());
    Type(*edit, "");
  }
}

TEST_F(AddNotifyEventDlgTest, EveryPageShowsItsTextsWholeAndNothingBlack) {
  TAddNotifyEventDlg& d = *dialog_;
  d.Show();
  for (int page = 0; page < 3; ++page) {
    d.ShowPage(page);
    for (int action = 0; action < (page == 1 ? kActionCount : 1); ++action) {
      if (page == 1) Choose(action);
      const std::vector<std::string> problems = testing::LayoutProblems(d.Handle());
      EXPECT_TRUE(problems.empty()) << "page " << page << ", action " << action << ":\n"
                                    << testing::Joined(problems);
    }
  }
}

TEST_F(AddNotifyEventDlgTest, BrowseOffersTheFilterOfItsFieldAndFillsIt) {
  std::vector<std::string> filters;
  dialog_->SetFileChooser([&](HWND, const std::string& filter, std::string& name) {
    filters.push_back(filter);
    name = "C:\\Windows\\notepad.exe";
    return true;
  });
  dialog_->ProgramEdit.SetText("alt.exe");
  SendMessageA(dialog_->Handle(), WM_COMMAND,
               MAKEWPARAM(TAddNotifyEventDlg::kBrowseBtn, BN_CLICKED), 0);
  SendMessageA(dialog_->Handle(), WM_COMMAND,
               MAKEWPARAM(TAddNotifyEventDlg::kDocumentBrowseBtn, BN_CLICKED), 0);
  ASSERT_EQ(filters.size(), 2u);
  EXPECT_EQ(filters[0], "Anwendungen|*.exe|Alle Dateien|*.*");
  EXPECT_EQ(filters[1], "Dokumente|*.doc;*.txt;*.htm;*.html|Alle Dateien|*.*");
  EXPECT_EQ(dialog_->ProgramEdit.Text(), "C:\\Windows\\notepad.exe");
  EXPECT_EQ(dialog_->DocumentEdit.Text(), "C:\\Windows\\notepad.exe");
}

}  // namespace
}  // namespace reminder
