// The alert window against real windows: its countdown driven by timer messages, its link,
// postponing and closing, with the machine's actions recorded instead of carried out.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/Fakes.h"
#include "core/TestDates.h"
#include "core/common/FormatDateTime.h"
#include "core/store/ActionTarget.h"
#include "core/store/Snooze.h"
#include "win32/ToolkitTestSupport.h"
#include "win32/support/KeyboardCheck.h"
#include "win32/support/LayoutCheck.h"
#include "win32/support/MsgBoxCatcher.h"
#include "win32/support/RecordingActions.h"
#include "win32/support/TestWindow.h"
#include "win32/system/Win32MsgBox.h"
#include "win32/ui/AlertActions.h"
#include "win32/ui/RemindFormUnit.h"

namespace reminder {
namespace {

using namespace reminder::testing;

class RemindFormTest : public ::testing::Test {
 protected:
  void SetUp() override { InitializeToolkit(); }
  void TearDown() override {
    for (HWND window : opened_) {
      if (IsWindow(window)) DestroyWindow(window);
    }
    FlushEvents();
  }

  TNotifyInfo* Add(uint8_t action, uint8_t repeat, TDateTime date, const std::string& param = "") {
    TNotifyInfo values;
    values.NotifyKind = nkAtDate;
    values.NotifyDate = date;
    values.NotifyText = "Zahnarzt\num neun";
    values.ActionKind = action;
    values.ActionParam = param;
    values.RepeatKind = repeat;
    TNotifyInfo* record = store.Add(values);
    // As the scheduler leaves it when it fires.
    if (repeat == rkOnce) record->Notified = 1;
    if (repeat != rkOnce) record->LastNotified = clock.now;
    return record;
  }

  TRemindForm* Open(TNotifyInfo* record) {
    TRemindFormContext context;
    context.Store = &store;
    context.Actions = &actions;
    context.MsgBox = alertBox;
    context.Clock = &clock;
    context.Format = GermanFormatSettings();
    context.OnUpdateImage = [this](TNotifyInfo* r) { updated.push_back(r); };
    context.OnRescheduled = [this] { ++rescheduled; };
    // Ticks come from the test alone.
    context.CountdownIntervalMs = USER_TIMER_MAXIMUM;
    TRemindForm* form = ShowReminder(context, *record);
    opened_.push_back(form->Handle());
    return form;
  }

  static void Tick(HWND window, int times = 1) {
    for (int i = 0; i < times; ++i) {
      SendMessageA(window, WM_TIMER, TRemindForm::kCountdownTimer, 0);
    }
  }

  static void ClickLink(THTTPLabel& label) {
    SendMessageA(label.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(label.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  }

  MemoryDataFile file;
  FakeMsgBox box;
  IMsgBox* alertBox = &box;
  TFileIO store{"Reminder.dat", file, box};
  RecordingActions actions;
  FakeClock clock{At(2024, 5, 10, 8, 0) + EncodeTime(0, 0, 20, 0)};
  std::vector<TNotifyInfo*> updated;
  int rescheduled = 0;

 private:
  std::vector<HWND> opened_;
};

TEST_F(RemindFormTest, ShowsTheReminderOnTopWithTheFocusOnClose) {
  TNotifyInfo* record = Add(akWebsite, rkOnce, At(2024, 5, 10, 8), "http://example.org/");
  TRemindForm* form = Open(record);
  HWND window = form->Handle();

  EXPECT_EQ(form->Caption(), "Zelto - Reminder");
  EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(form->ClientSize().cx, 504);
  EXPECT_EQ(form->ClientSize().cy, 320);
  EXPECT_EQ(form->Panel().Caption(), "Freitag, 10. Mai 2024  ");
  EXPECT_EQ(form->DateLabel().Text(),
            FormatDateTime("c", At(2024, 5, 10, 8), GermanFormatSettings()));
  EXPECT_EQ(form->ActionLabel().Caption(), "Webseite öffnen");
  EXPECT_EQ(form->ActionLabel().Tag(), akWebsite);
  EXPECT_EQ(form->ActionLabel().Url(), "http://example.org/");
  EXPECT_EQ(form->ActionLabel().Hint(), "Webseite: http://example.org/");
  EXPECT_EQ(form->TargetLabel().Text(), "Webseite: http://example.org/");
  EXPECT_TRUE(form->TargetLabel().Visible());
  EXPECT_EQ(form->ActionLabel().Cursor(), form->ActionLabel().HandCursor());
  EXPECT_EQ(form->ReminderText().Text(), "Zahnarzt\r\num neun");
  EXPECT_NEAR(form->DateEdit().Value(), At(2024, 5, 10, 8), 1.0 / 86400);
  // Links that only open something wait for the user.
  EXPECT_FALSE(form->CountdownRunning());
  EXPECT_FALSE(form->Label5().Visible());
  EXPECT_FALSE(form->TimeLabel().Visible());
  EXPECT_FALSE(form->LateLabel().Visible());
  SetForegroundWindow(window);
  FlushEvents();
  EXPECT_EQ(GetFocus(), form->CloseBtn().Handle());
}

TEST_F(RemindFormTest, ProgramCountsDownAndStartsOnceAtTheThirtyFirstTick) {
  TNotifyInfo* record = Add(akProgram, rkOnce, At(2024, 5, 10, 8), "C:\\Tools\\app.exe");
  TRemindForm* form = Open(record);
  HWND window = form->Handle();
  EXPECT_TRUE(form->CountdownRunning());
  EXPECT_TRUE(form->Label5().Visible());
  EXPECT_EQ(form->TimeLabel().Text(), "30 Sekunden");

  Tick(window);
  EXPECT_EQ(form->TimeLabel().Text(), "29 Sekunden");
  Tick(window, 29);
  EXPECT_EQ(form->TimeLabel().Text(), "0 Sekunden");
  EXPECT_TRUE(actions.calls.empty());
  EXPECT_TRUE(form->CountdownRunning());

  Tick(window);
  EXPECT_EQ(actions.calls, std::vector<std::string>{"launch C:\\Tools\\app.exe"});
  EXPECT_EQ(updated, std::vector<TNotifyInfo*>{record});
  Tick(window, 5);  // a tick still queued changes nothing
  FlushEvents();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(actions.calls.size(), 1u);
}

TEST_F(RemindFormTest, ClosingDuringTheCountdownPreventsTheAction) {
  const std::vector<std::string> ways = {"button", "escape", "close box"};
  for (const std::string& way : ways) {
    TNotifyInfo* record = Add(akShutdown, rkOnce, At(2024, 5, 10, 8));
    TRemindForm* form = Open(record);
    HWND window = form->Handle();
    Tick(window, 10);
    if (way == "button") {
      form->CloseBtn().Click();
    } else if (way == "escape") {
      SetForegroundWindow(window);
      FlushEvents();
      PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
      FlushEvents();
    } else {
      SendMessageA(window, WM_CLOSE, 0, 0);
    }
    if (IsWindow(window)) Tick(window, 40);
    FlushEvents();
    EXPECT_FALSE(IsWindow(window)) << way;
    EXPECT_TRUE(actions.calls.empty()) << way;
    EXPECT_EQ(updated.size(), 1u) << way;
    updated.clear();
  }
}

TEST_F(RemindFormTest, ClickingTheLinkCarriesTheActionOutOnce) {
  TNotifyInfo* record = Add(akDocument, rkOnce, At(2024, 5, 10, 8), "C:\\Briefe\\a.txt");
  TRemindForm* form = Open(record);
  // Were the label to open its Url itself as well, the document would open twice.
  form->ActionLabel().UrlOpener = [this](HWND, const std::string& url) {
    actions.calls.push_back("label open " + url);
  };
  ClickLink(form->ActionLabel());
  EXPECT_EQ(actions.calls, std::vector<std::string>{"open C:\\Briefe\\a.txt"});
  EXPECT_TRUE(IsWindow(form->Handle()));

  TRemindForm* mail = Open(Add(akEmail, rkOnce, At(2024, 5, 10, 8), "anna@example.org"));
  actions.calls.clear();
  ClickLink(mail->ActionLabel());
  EXPECT_EQ(actions.calls, std::vector<std::string>{"open mailto:anna@example.org"});
}

TEST_F(RemindFormTest, TheTargetShowsBeforeTheCountdownEndsAndALocalPathNeverOpens) {
  const std::string command =
      "C:\\Users\\Public\\Ein sehr langer Ordnername f\xFCr Werkzeuge\\noch ein Ordner\\"
      "und noch einer\\sicherung.exe --ziel D:\\Sicherung --alles";
  TRemindForm* program = Open(Add(akProgram, rkOnce, At(2024, 5, 10, 8), command));
  // The whole command is in the hint; the line keeps both of its ends in view.
  EXPECT_EQ(program->ActionLabel().Hint(), "Programm: " + command);
  EXPECT_EQ(program->TargetLabel().Text(), "Programm: " + command);
  EXPECT_TRUE(program->TargetLabel().Visible());
  EXPECT_EQ(GetWindowLongA(program->TargetLabel().Handle(), GWL_STYLE) & SS_ELLIPSISMASK,
            SS_PATHELLIPSIS);
  EXPECT_TRUE(program->CountdownRunning());

  TRemindForm* warning = Open(Add(akWarning, rkOnce, At(2024, 5, 10, 8)));
  EXPECT_FALSE(warning->TargetLabel().Visible());
  EXPECT_EQ(warning->ActionLabel().Hint(), "Warnung ausgeben");

  TRemindForm* website =
      Open(Add(akWebsite, rkOnce, At(2024, 5, 10, 8), "C:\\Users\\Public\\x.bat"));
  EXPECT_EQ(website->TargetLabel().Text(),
            "Webseite: C:\\Users\\Public\\x.bat (keine Web-Adresse, wird nicht geöffnet)");
  ClickLink(website->ActionLabel());
  EXPECT_TRUE(actions.calls.empty());
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text, kWebsiteInvalidText);
  EXPECT_TRUE(IsWindow(website->Handle()));
}

TEST_F(RemindFormTest, EveryActionShowsItsTextsWholeAndNothingBlack) {
  for (int action = 0; action < kActionCount; ++action) {
    TRemindForm* form = Open(Add(static_cast<uint8_t>(action), rkOnce, At(2024, 5, 10, 8),
                                 action == akEmail ? "anna@example.org" : "https://example.org"));
    const std::vector<std::string> problems = testing::LayoutProblems(form->Handle());
    EXPECT_TRUE(problems.empty()) << "action " << action << ":\n" << testing::Joined(problems);
  }
}

TEST_F(RemindFormTest, AFailedActionIsReportedAndTheCountdownStillCloses) {
  actions.succeed = false;
  TNotifyInfo* record = Add(akRestart, rkOnce, At(2024, 5, 10, 8));
  TRemindForm* form = Open(record);
  HWND window = form->Handle();
  ClickLink(form->ActionLabel());
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text, "Konnte Windows nicht beenden!");
  EXPECT_EQ(box.shown[0].caption, "Fehler");
  EXPECT_TRUE(IsWindow(window));
  // The click does not stop the countdown.
  Tick(window, 31);
  EXPECT_EQ(actions.calls, (std::vector<std::string>{"exit 2", "exit 2"}));
  EXPECT_EQ(box.shown.size(), 2u);
  FlushEvents();
  EXPECT_FALSE(IsWindow(window));
}

// What the test does from inside the loop of the alert's error box.
struct UnderTheBox {
  HWND alert = nullptr;
  HWND boxOwner = nullptr;
  int boxes = 0;
};
UnderTheBox* underTheBox = nullptr;

BOOL CALLBACK FindBox(HWND window, LPARAM found) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) == "#32770" && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
  }
  return TRUE;
}

void CALLBACK CloseTheAlertUnderItsBox(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindBox, reinterpret_cast<LPARAM>(&box));
  if (!box) return;
  KillTimer(nullptr, timer);
  ++underTheBox->boxes;
  underTheBox->boxOwner = GetWindow(box, GW_OWNER);
  // As the end of the main window would close it.
  PostMessageA(underTheBox->alert, WM_CLOSE, 0, 0);
}

TEST_F(RemindFormTest, TheCountdownsErrorBoxBelongsToTheAlertWhichMayCloseUnderIt) {
  TWin32MsgBox systemBox;
  alertBox = &systemBox;
  actions.succeed = false;
  TNotifyInfo* record = Add(akProgram, rkOnce, At(2024, 5, 10, 8), "C:\\fehlt.exe");
  HWND window = Open(record)->Handle();
  UnderTheBox inside;
  inside.alert = window;
  underTheBox = &inside;
  SetTimer(nullptr, 0, 20, &CloseTheAlertUnderItsBox);
  // The last tick carries the action out; its box runs a loop inside the tick.
  Tick(window, 31);
  underTheBox = nullptr;
  FlushEvents();
  EXPECT_EQ(inside.boxes, 1);
  EXPECT_EQ(inside.boxOwner, window);
  EXPECT_EQ(actions.calls, std::vector<std::string>{"launch C:\\fehlt.exe"});
  EXPECT_FALSE(IsWindow(window));
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindBox, reinterpret_cast<LPARAM>(&box));
  EXPECT_EQ(box, nullptr);
}

TEST_F(RemindFormTest, TheKeyboardRunsTheLinkAndMovesInTheOrderSeen) {
  TWin32MsgBox systemBox;
  alertBox = &systemBox;
  actions.succeed = false;
  TNotifyInfo* record = Add(akProgram, rkOnce, At(2024, 5, 10, 8), "C:\\fehlt.exe");
  TRemindForm* form = Open(record);
  SetForegroundWindow(form->Handle());
  FlushEvents();
  const std::vector<std::string> problems = KeyboardProblems(*form);
  EXPECT_TRUE(problems.empty()) << Joined(problems);
  // From the link down the window: the postpone date, then the buttons.
  SetFocus(form->ActionLabel().Handle());
  EXPECT_EQ(TabRound(*form),
            (std::vector<HWND>{form->ActionLabel().Handle(), form->DateEdit().Handle(),
                               form->CloseBtn().Handle(), form->SnoozeChoice().Handle(),
                               form->SnoozeBtn().Handle()}));
  // Enter on the link runs the action; after its error box the focus is back on the link.
  MsgBoxCatcher catcher;
  SetFocus(form->ActionLabel().Handle());
  PressKey(*form, VK_RETURN);
  ASSERT_EQ(catcher.Boxes().size(), 1u);
  EXPECT_EQ(catcher.Boxes()[0].text, "Konnte Programm nicht öffnen!");
  EXPECT_EQ(actions.calls, std::vector<std::string>{"launch C:\\fehlt.exe"});
  EXPECT_EQ(GetFocus(), form->ActionLabel().Handle());
  EXPECT_TRUE(form->Visible());
}

TEST_F(RemindFormTest, ALateShutdownOffersTheLinkWithoutCountdown) {
  clock.now = At(2024, 5, 10, 9, 30);
  TNotifyInfo* record = Add(akShutdown, rkOnce, At(2024, 5, 10, 8));
  TRemindForm* form = Open(record);
  HWND window = form->Handle();
  EXPECT_FALSE(form->CountdownRunning());
  EXPECT_FALSE(form->Label5().Visible());
  EXPECT_FALSE(form->TimeLabel().Visible());
  EXPECT_TRUE(form->LateLabel().Visible());
  EXPECT_EQ(form->LateLabel().Text(), kLateActionText);
  Tick(window, 40);
  EXPECT_TRUE(actions.calls.empty());
  EXPECT_TRUE(IsWindow(window));
  ClickLink(form->ActionLabel());
  EXPECT_EQ(actions.calls, std::vector<std::string>{"exit 9"});
}

TEST_F(RemindFormTest, ARecordDeletedWhileItsAlertIsOpenIsLeftAlone) {
  TNotifyInfo* record = Add(akWarning, rkOnce, At(2024, 5, 10, 8));
  TRemindForm* form = Open(record);
  HWND window = form->Handle();
  // The user picks a new date, then deletes the reminder in the main window.
  NMHDR change = {form->DateEdit().Handle(), 0, DTN_DATETIMECHANGE};
  SendMessageA(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
  EXPECT_TRUE(form->Postponed());
  store.Delete(record);
  // A new reminder takes the freed place; the alert must not take it for its own.
  TNotifyInfo* newcomer = Add(akWarning, rkOnce, At(2030, 1, 1, 9));
  ASSERT_EQ(newcomer, record);
  const int writes = file.writes;
  form->CloseBtn().Click();
  FlushEvents();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(file.writes, writes);
  EXPECT_EQ(newcomer->NotifyDate, At(2030, 1, 1, 9));
  EXPECT_TRUE(updated.empty());
  EXPECT_EQ(rescheduled, 0);
}

TEST_F(RemindFormTest, AOnceOnlyReminderCanBePostponed) {
  TNotifyInfo* record = Add(akProgram, rkOnce, At(2024, 5, 10, 8, 15), "app.exe");
  TRemindForm* form = Open(record);
  HWND window = form->Handle();
  EXPECT_TRUE(form->Label4().Visible());
  EXPECT_TRUE(form->DateEdit().Visible());
  EXPECT_FALSE(form->Postponed());

  form->DateEdit().SetValue(At(2024, 5, 17));
  NMHDR change = {form->DateEdit().Handle(), 0, DTN_DATETIMECHANGE};
  SendMessageA(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
  EXPECT_FALSE(form->CountdownRunning());
  Tick(window, 40);
  EXPECT_TRUE(actions.calls.empty());

  const int writes = file.writes;
  form->CloseBtn().Click();
  FlushEvents();
  EXPECT_EQ(record->NotifyDate, At(2024, 5, 17, 8, 15));
  EXPECT_EQ(record->Notified, 0);
  EXPECT_EQ(file.writes, writes + 1);
  EXPECT_EQ(rescheduled, 1);
  EXPECT_TRUE(updated.empty());
}

TEST_F(RemindFormTest, RepeatingRemindersOfferNoPostponing) {
  TRemindForm* form = Open(Add(akWarning, rkDaily, At(2024, 1, 1, 8)));
  EXPECT_FALSE(form->Label4().Visible());
  EXPECT_FALSE(form->DateEdit().Visible());
  EXPECT_EQ(form->DateLabel().Text(), FormatDateTime("c", clock.now, GermanFormatSettings()));
}

TEST_F(RemindFormTest, EachFiringHasItsOwnAlert) {
  TNotifyInfo* first = Add(akHangUp, rkOnce, At(2024, 5, 10, 8));
  TNotifyInfo* second = Add(akProgram, rkOnce, At(2024, 5, 10, 8), "b.exe");
  TRemindForm* one = Open(first);
  TRemindForm* two = Open(second);
  HWND oneWindow = one->Handle();
  HWND twoWindow = two->Handle();
  EXPECT_NE(oneWindow, twoWindow);
  EXPECT_TRUE(IsWindowVisible(oneWindow) && IsWindowVisible(twoWindow));

  Tick(oneWindow, 31);
  FlushEvents();
  EXPECT_FALSE(IsWindow(oneWindow));
  EXPECT_TRUE(IsWindow(twoWindow));
  EXPECT_EQ(two->TickCount(), 0);
  EXPECT_EQ(actions.calls, std::vector<std::string>{"hangup"});
  EXPECT_EQ(updated, std::vector<TNotifyInfo*>{first});
}

TEST(AlertActionsTest, LaunchProgramTriesTheSearchRulesSecond) {
  // "cmd" alone names no file: only the second attempt, as a command line, finds cmd.exe.
  EXPECT_TRUE(LaunchProgram("cmd", "/c exit 0", SW_HIDE, false));
  EXPECT_FALSE(LaunchProgram("C:\\nirgends\\fehlt.exe", "", SW_HIDE, false));
}

TEST(AlertActionsTest, SetTokenPrivilegeFailsForAnUnknownPrivilege) {
  EXPECT_FALSE(SetTokenPrivilege("SeKeinSolchesPrivileg", true));
  EXPECT_TRUE(SetTokenPrivilege(SE_CHANGE_NOTIFY_NAME, true));
}

TEST_F(RemindFormTest, SnoozeKeepsTheMomentAndAllAlertsCloseTogetherWithoutActions) {
  TNotifyInfo* daily = Add(akProgram, rkDaily, At(2024, 5, 10, 8), "C:\\Tools\\backup.exe");
  HWND first = Open(daily)->Handle();
  HWND secondWindow = Open(Add(akWarning, rkOnce, At(2024, 5, 10, 8)))->Handle();
  FlushEvents();
  auto closeAllShown = [](HWND alert) {
    return IsWindowVisible(GetDlgItem(alert, TRemindForm::kCloseAllBtnId)) != FALSE;
  };
  EXPECT_TRUE(closeAllShown(first));
  EXPECT_TRUE(closeAllShown(secondWindow));

  // "5 Minuten": the countdown stops, the moment is saved, the alert goes.
  const int writes = file.writes;
  SendMessageA(GetDlgItem(first, TRemindForm::kSnoozeBtnId), BM_CLICK, 0, 0);
  FlushEvents();
  EXPECT_FALSE(IsWindow(first));
  ASSERT_TRUE(SnoozeMoment(*daily).has_value());
  EXPECT_NEAR(*SnoozeMoment(*daily), clock.now + 5.0 / (24 * 60), 1e-9);
  EXPECT_EQ(file.writes, writes + 1);
  EXPECT_FALSE(closeAllShown(secondWindow));

  HWND third = Open(Add(akRestart, rkOnce, At(2024, 5, 10, 8)))->Handle();
  FlushEvents();
  ASSERT_TRUE(closeAllShown(third));
  SendMessageA(GetDlgItem(third, TRemindForm::kCloseAllBtnId), BM_CLICK, 0, 0);
  FlushEvents();
  EXPECT_FALSE(IsWindow(secondWindow));
  EXPECT_FALSE(IsWindow(third));
  EXPECT_TRUE(actions.calls.empty());
}

}  // namespace
}  // namespace reminder
