// The calendar window driven by messages: its day counter and spin buttons, the hour
// counter's messages, the month list, year field and grid in step, and its keys.
#include <gtest/gtest.h>
#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <string>

#include "core/common/DateTime.h"
#include "win32/ToolkitTestSupport.h"
#include "win32/support/KeyboardCheck.h"
#include "win32/support/LayoutCheck.h"
#include "win32/support/MsgBoxCatcher.h"
#include "win32/ui/CalendarWnd.h"

namespace reminder {
namespace {

using testing::FlushEvents;
using testing::MsgBoxCatcher;

class CalendarWndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::InitializeToolkit();
    form = TCalendarForm::Open(nullptr);
    window = form->Handle();
    SetForegroundWindow(window);
    FlushEvents();
  }
  void TearDown() override {
    if (IsWindow(window)) SendMessageA(window, WM_CLOSE, 0, 0);
    FlushEvents();
  }

  HWND Item(int id) const { return GetDlgItem(window, id); }
  std::string Text(int id) const {
    char buffer[256] = {};
    GetWindowTextA(Item(id), buffer, sizeof buffer);
    return buffer;
  }
  void SetText(int id, const std::string& text) { SetWindowTextA(Item(id), text.c_str()); }
  bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
  void Click(int id) { SendMessageA(Item(id), BM_CLICK, 0, 0); }
  // Presses one arrow of a spin button with the mouse.
  void Spin(int id, bool up) {
    RECT rect = {};
    GetClientRect(Item(id), &rect);
    const LPARAM point = MAKELPARAM(rect.right / 2, up ? rect.bottom / 4 : rect.bottom * 3 / 4);
    SendMessageA(Item(id), WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(Item(id), WM_LBUTTONUP, 0, point);
    FlushEvents();
  }
  // Moves the focus from one field to another, as Tab or a click would.
  void Leave(int from, int to) {
    SetFocus(Item(from));
    FlushEvents();
    SetFocus(Item(to));
    FlushEvents();
  }
  void Key(int id, int key) {
    PostMessageA(Item(id), WM_KEYDOWN, static_cast<WPARAM>(key), 1);
    PostMessageA(Item(id), WM_KEYUP, static_cast<WPARAM>(key), 0xC0000001);
    FlushEvents();
  }

  TCalendarForm* form = nullptr;
  HWND window = nullptr;
};

TEST_F(CalendarWndTest, ShowsItsTextsWholeAndNothingBlack) {
  const std::vector<std::string> problems = testing::LayoutProblems(window);
  EXPECT_TRUE(problems.empty()) << testing::Joined(problems);
}

TEST_F(CalendarWndTest, DayCounterCountsBetweenCompleteValidDates) {
  EXPECT_TRUE(Enabled(TCalendarForm::kCalcDateBtn));
  EXPECT_EQ(Text(TCalendarForm::kDayLabel), "0 Tag(e)");

  SetText(TCalendarForm::kDateFromEdit, "01.01.2024");
  SetText(TCalendarForm::kDateToEdit, "31.12.2024");
  Click(TCalendarForm::kCalcDateBtn);
  EXPECT_EQ(Text(TCalendarForm::kDayLabel), "365 Tag(e)");

  SetText(TCalendarForm::kDateFromEdit, "10.03.2024");
  SetText(TCalendarForm::kDateToEdit, "07.03.2024");
  Click(TCalendarForm::kCalcDateBtn);
  EXPECT_EQ(Text(TCalendarForm::kDayLabel), "-3 Tag(e)");

  // An impossible date disables the button without a message; a leap day enables it.
  MsgBoxCatcher boxes;
  SetText(TCalendarForm::kDateToEdit, "29.02.2023");
  EXPECT_FALSE(Enabled(TCalendarForm::kCalcDateBtn));
  SetText(TCalendarForm::kDateToEdit, "29.02.2024");
  EXPECT_TRUE(Enabled(TCalendarForm::kCalcDateBtn));
  FlushEvents();
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(CalendarWndTest, SpinButtonsStepAcrossMonthAndYearEnds) {
  SetText(TCalendarForm::kDateFromEdit, "31.01.2024");
  Spin(TCalendarForm::kFromDateSpinButton, true);
  EXPECT_EQ(Text(TCalendarForm::kDateFromEdit), "01.02.2024");
  Spin(TCalendarForm::kFromDateSpinButton, false);
  Spin(TCalendarForm::kFromDateSpinButton, false);
  EXPECT_EQ(Text(TCalendarForm::kDateFromEdit), "30.01.2024");

  SetText(TCalendarForm::kDateToEdit, "31.12.1999");
  Spin(TCalendarForm::kToDateSpinButton, true);
  EXPECT_EQ(Text(TCalendarForm::kDateToEdit), "01.01.2000");
  Click(TCalendarForm::kCalcDateBtn);
  EXPECT_EQ(Text(TCalendarForm::kDayLabel), "-8795 Tag(e)");

  // Steps do not check the date: 31 February runs on into March.
  SetText(TCalendarForm::kDateToEdit, "31.02.2001");
  Spin(TCalendarForm::kToDateSpinButton, true);
  EXPECT_EQ(Text(TCalendarForm::kDateToEdit), "04.03.2001");
}

TEST_F(CalendarWndTest, IncompleteDateDisablesCountingAndStepping) {
  SetText(TCalendarForm::kDateFromEdit, " 1.03.2024");
  EXPECT_FALSE(Enabled(TCalendarForm::kCalcDateBtn));
  Spin(TCalendarForm::kFromDateSpinButton, true);
  EXPECT_EQ(Text(TCalendarForm::kDateFromEdit), " 1.03.2024");

  SetText(TCalendarForm::kDateFromEdit, "01.03.2024");
  EXPECT_TRUE(Enabled(TCalendarForm::kCalcDateBtn));
}

TEST_F(CalendarWndTest, LeavingABadTimeReportsItUntilCorrected) {
  MsgBoxCatcher boxes;
  SetText(TCalendarForm::kTimeFrom, "24:00:00");
  Leave(TCalendarForm::kTimeFrom, TCalendarForm::kTimeTo);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].caption, "Fehler");
  EXPECT_EQ(boxes.Boxes()[0].text, "Die Uhrzeit im Feld \"von\" ist fehlerhaft!");
  EXPECT_FALSE(Enabled(TCalendarForm::kCalcTimeBtn));

  boxes.Clear();
  SetText(TCalendarForm::kTimeFrom, "10:00:00");
  SetText(TCalendarForm::kTimeTo, "08:30:00");
  Leave(TCalendarForm::kTimeFrom, TCalendarForm::kTimeTo);
  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_TRUE(Enabled(TCalendarForm::kCalcTimeBtn));
  Click(TCalendarForm::kCalcTimeBtn);
  EXPECT_EQ(Text(TCalendarForm::kTimeLabel), "-01:30:00 Stunde(n)");

  // An unreadable time on the "bis" side: its own message, and the focus goes back.
  SetText(TCalendarForm::kTimeTo, "1x:00:00");
  Leave(TCalendarForm::kTimeTo, TCalendarForm::kTimeFrom);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, "Die Uhrzeit im Feld \"bis\" ist fehlerhaft!");
  EXPECT_EQ(GetFocus(), Item(TCalendarForm::kTimeTo));

  // The button itself reports a bad time and leaves the result alone.
  boxes.Clear();
  Click(TCalendarForm::kCalcTimeBtn);
  FlushEvents();
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, "Eine der Uhrzeiten ist fehlerhaft!");
  EXPECT_EQ(Text(TCalendarForm::kTimeLabel), "-01:30:00 Stunde(n)");
}

TEST_F(CalendarWndTest, MonthListYearFieldAndGridStayInStep) {
  const TDateParts today = DecodeDate(form->GridDate());
  const HWND months = Item(TCalendarForm::kMonthsComboBox);
  EXPECT_EQ(SendMessageA(months, CB_GETCOUNT, 0, 0), 12);
  EXPECT_EQ(SendMessageA(months, CB_GETCURSEL, 0, 0), today.Month - 1);
  EXPECT_EQ(Text(TCalendarForm::kYearEdit), std::to_string(today.Year));

  SendMessageA(months, CB_SETCURSEL, 4, 0);
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(TCalendarForm::kMonthsComboBox, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(months));
  EXPECT_EQ(DecodeDate(form->GridDate()).Month, 5);

  SetText(TCalendarForm::kYearEdit, "2030");
  EXPECT_EQ(DecodeDate(form->GridDate()).Year, 2030);
  EXPECT_EQ(SendMessageA(Item(TCalendarForm::kUpDown), UDM_GETPOS32, 0, 0), 2030);

  // Two digits are not a year: leaving the field brings the current year back.
  SetText(TCalendarForm::kYearEdit, "20");
  EXPECT_EQ(DecodeDate(form->GridDate()).Year, 2030);
  Leave(TCalendarForm::kYearEdit, TCalendarForm::kDateFromEdit);
  EXPECT_EQ(Text(TCalendarForm::kYearEdit), std::to_string(today.Year));
  EXPECT_EQ(DecodeDate(form->GridDate()).Year, today.Year);
}

TEST_F(CalendarWndTest, PageKeysStepOnKeyDownAndKeyUpEscapeCloses) {
  const TDateParts start = DecodeDate(form->GridDate());
  Key(TCalendarForm::kCalendar, VK_PRIOR);
  TDateParts now = DecodeDate(form->GridDate());
  EXPECT_EQ(now.Year * 12 + now.Month, start.Year * 12 + start.Month - 2);
  EXPECT_EQ(SendMessageA(Item(TCalendarForm::kMonthsComboBox), CB_GETCURSEL, 0, 0), now.Month - 1);

  // The month list reacts to no key of its own, but passes the window's keys on.
  Key(TCalendarForm::kMonthsComboBox, VK_DOWN);
  EXPECT_EQ(DecodeDate(form->GridDate()).Month, now.Month);
  Key(TCalendarForm::kMonthsComboBox, VK_NEXT);
  now = DecodeDate(form->GridDate());
  EXPECT_EQ(now.Year * 12 + now.Month, start.Year * 12 + start.Month);

  Key(TCalendarForm::kYearEdit, VK_ESCAPE);
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(CalendarWndTest, TheKeyboardReachesEveryFieldAndTheFocusComesBackAfterABox) {
  const std::vector<std::string> problems = testing::KeyboardProblems(*form);
  EXPECT_TRUE(problems.empty()) << testing::Joined(problems);
  // Enter in the month list moves on, as in the year field.
  SetFocus(Item(TCalendarForm::kMonthsComboBox));
  testing::PressKey(*form, VK_RETURN);
  EXPECT_EQ(GetFocus(), Item(TCalendarForm::kYearEdit));
  // A bad time left with Tab: its box, then the focus is back in the field.
  MsgBoxCatcher boxes;
  SetFocus(Item(TCalendarForm::kTimeFrom));
  SetText(TCalendarForm::kTimeFrom, "25:00:00");
  testing::PressTab(*form);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(GetFocus(), Item(TCalendarForm::kTimeFrom));
}

TEST_F(CalendarWndTest, EnterMovesOnAndSeveralWindowsLiveApart) {
  SetFocus(Item(TCalendarForm::kDateFromEdit));
  PostMessageA(Item(TCalendarForm::kDateFromEdit), WM_KEYDOWN, VK_RETURN, 1);
  PostMessageA(Item(TCalendarForm::kDateFromEdit), WM_CHAR, '\r', 1);
  FlushEvents();
  EXPECT_NE(GetFocus(), Item(TCalendarForm::kDateFromEdit));
  EXPECT_TRUE(IsChild(window, GetFocus()));
  EXPECT_EQ(Text(TCalendarForm::kDateFromEdit).size(), 10u);

  TCalendarForm* second = TCalendarForm::Open(nullptr);
  const HWND secondWindow = second->Handle();
  SendMessageA(window, WM_CLOSE, 0, 0);
  FlushEvents();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(IsWindow(secondWindow));
  SendMessageA(secondWindow, WM_CLOSE, 0, 0);
  FlushEvents();
  EXPECT_FALSE(IsWindow(secondWindow));
}

}  // namespace
}  // namespace reminder
