// The control wrappers against the real controls; what they write is read back with the
// controls' own messages.
#include <gtest/gtest.h>
#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/common/DateTime.h"
#include "win32/ToolkitTestSupport.h"
#include "win32/support/MsgBoxCatcher.h"
#include "win32/toolkit/CommonControls.h"
#include "win32/toolkit/Controls.h"
#include "win32/toolkit/Form.h"
#include "win32/toolkit/ImageList.h"
#include "win32/toolkit/ListView.h"
#include "win32/toolkit/ToolBar.h"

namespace reminder {
namespace {

class ParentForm : public TForm {
 public:
  ParentForm() {
    TFormParams params;
    params.Caption = "Steuerelemente";
    params.ClientWidth = 500;
    params.ClientHeight = 400;
    Create(params);
  }
  std::vector<int> commands;

 protected:
  void OnCommand(int id, int, HWND) override { commands.push_back(id); }
};

// Straight from the control, not through the wrapper.
std::string RawItemText(HWND list, int item, int column) {
  char buffer[512] = {};
  LVITEMA request = {};
  request.iSubItem = column;
  request.pszText = buffer;
  request.cchTextMax = sizeof buffer;
  SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item),
               reinterpret_cast<LPARAM>(&request));
  return buffer;
}

std::vector<LPARAM> RowData(const TListView& list) {
  std::vector<LPARAM> data;
  for (int i = 0; i < list.Count(); ++i) data.push_back(list.ItemData(i));
  return data;
}

class ToolkitControlsTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::InitializeToolkit(); }
  void TearDown() override { testing::FlushEvents(); }
};

TEST_F(ToolkitControlsTest, ListViewRowsCarryTextsImagesAndData) {
  ParentForm form;
  TListView list;
  list.Create(form.Handle(), 1, {0, 0, 480, 300});
  for (const char* caption : {"Termin", "Erinnern an...", "Aktion", "Wie oft?"}) {
    list.AddColumn(caption, 80);
  }
  EXPECT_EQ(list.ColumnCount(), 4);

  EXPECT_EQ(list.AddItem("01.02.2024 10:00:00", 0, 100), 0);
  EXPECT_EQ(list.AddItem("02.02.2024", 1, 200), 1);
  EXPECT_EQ(list.InsertItem(0, "31.01.2024", 0, 50), 0);
  list.SetItemText(1, 1, "Zahnarzt");
  list.SetItemText(1, 2, "Programm ausführen");
  list.SetItemText(1, 3, " nur einmal");
  const std::string longText(1000, 'x');
  list.SetItemText(2, 1, longText);
  list.AutoSizeColumns();

  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(RawItemText(list.Handle(), 1, 0), "01.02.2024 10:00:00");
  EXPECT_EQ(RawItemText(list.Handle(), 1, 1), "Zahnarzt");
  EXPECT_EQ(RawItemText(list.Handle(), 1, 2), "Programm ausführen");
  EXPECT_EQ(list.ItemText(1, 3), " nur einmal");
  EXPECT_EQ(list.ItemText(2, 1), longText) << "longer than the first buffer";
  EXPECT_EQ(RowData(list), (std::vector<LPARAM>{50, 100, 200}));
  list.SetItemImage(2, 0);
  EXPECT_EQ(list.ItemImage(2), 0);
  EXPECT_EQ(list.FindData(200), 2);
  EXPECT_EQ(list.FindData(999), -1);

  list.DeleteItem(0);
  EXPECT_EQ(list.ItemText(0, 1), "Zahnarzt");
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(ToolkitControlsTest, ListViewAnswersSelectionQueries) {
  ParentForm form;
  TListView list;
  list.Create(form.Handle(), 1, {0, 0, 480, 300});
  list.AddColumn("Termin", 100);
  for (int i = 0; i < 4; ++i) list.AddItem("Zeile " + std::to_string(i), 0, i);

  EXPECT_EQ(list.FirstSelected(), -1);
  EXPECT_EQ(list.SelectedCount(), 0);
  list.SetSelected(1, true);
  list.SetSelected(3, true);
  EXPECT_EQ(list.SelectedCount(), 2);
  EXPECT_EQ(list.FirstSelected(), 1);
  EXPECT_EQ(list.NextSelected(1), 3);
  EXPECT_EQ(list.NextSelected(3), -1);
  EXPECT_TRUE(list.IsSelected(3));
  EXPECT_FALSE(list.IsSelected(2));
  list.SetSelected(1, false);
  EXPECT_EQ(list.FirstSelected(), 3);
}

TEST_F(ToolkitControlsTest, ListViewSortsRowsByTheCompareFunction) {
  ParentForm form;
  TListView list;
  list.Create(form.Handle(), 1, {0, 0, 480, 300});
  list.AddColumn("Termin", 100);
  list.AddColumn("Text", 100);
  const std::vector<int> values = {3, 1, 4, 2};
  for (int value : values) {
    const int row = list.AddItem("Zeile " + std::to_string(value), 0, value);
    list.SetItemText(row, 1, "Text " + std::to_string(value));
  }

  list.Sort([](LPARAM a, LPARAM b) { return static_cast<int>(b - a); });
  EXPECT_EQ(RowData(list), (std::vector<LPARAM>{4, 3, 2, 1}));
  EXPECT_EQ(RawItemText(list.Handle(), 0, 1), "Text 4") << "the texts move with their rows";
  list.Sort([](LPARAM a, LPARAM b) { return static_cast<int>(a - b); });
  EXPECT_EQ(RowData(list), (std::vector<LPARAM>{1, 2, 3, 4}));

  EXPECT_THROW(list.Sort([](LPARAM, LPARAM) -> int { throw std::runtime_error("Vergleich"); }),
               std::runtime_error);
  EXPECT_EQ(list.Count(), 4);
}

TEST_F(ToolkitControlsTest, ToolBarButtonsHaveStatesAndHints) {
  ParentForm form;
  TImageList images;
  images.AddIcon(LoadIconA(nullptr, IDI_APPLICATION));
  TToolBar bar;
  bar.Create(form.Handle(), 2);
  bar.SetImageList(images.Handle());
  bar.AddButton(10, 0, "Beenden");
  bar.AddSeparator();
  bar.AddButton(11, 0, "Erinnerung hinzufügen");
  bar.AddButton(12, 0, "");
  bar.AutoSize();
  EXPECT_EQ(bar.ButtonCount(), 4);
  EXPECT_GT(bar.Height(), 0);

  EXPECT_TRUE(bar.ButtonEnabled(11));
  bar.SetButtonEnabled(11, false);
  EXPECT_FALSE(bar.ButtonEnabled(11));

  // Asked as a button's tool tip asks the bar when the mouse rests on the button; the bar
  // asks the form, which answers from the bar's string pool.
  const auto tip = [&](int id) {
    NMTTDISPINFOW request = {};
    request.hdr = {reinterpret_cast<HWND>(bar.Send(TB_GETTOOLTIPS)), static_cast<UINT_PTR>(id),
                   TTN_GETDISPINFOW};
    request.lpszText = request.szText;
    SendMessageW(bar.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
    return std::wstring(request.lpszText);
  };
  EXPECT_EQ(tip(11), L"Erinnerung hinzuf\u00fcgen");
  EXPECT_EQ(tip(10), L"Beenden");
  EXPECT_EQ(tip(12), L"");

  // The button itself shows no text.
  EXPECT_EQ(SendMessageA(bar.Handle(), TB_GETBUTTONTEXTA, 11, 0), -1);
}

TEST_F(ToolkitControlsTest, ButtonCommandsReachTheParentAndUpDownShowsPlainNumbers) {
  ParentForm form;
  TButton push;
  push.Create(form.Handle(), 20, "Schließen", {10, 10, 80, 25});
  push.Click();
  EXPECT_EQ(form.commands, std::vector<int>{20});

  TEdit year;
  year.Create(form.Handle(), 23, {10, 100, 60, 21});
  TUpDown upDown;
  upDown.Create(form.Handle(), 24, year.Handle());
  upDown.SetRange(1000, 5000);
  upDown.SetPosition(2024);
  EXPECT_EQ(upDown.Position(), 2024);
  EXPECT_EQ(year.Text(), "2024") << "no thousands separator in a year";
}

TEST_F(ToolkitControlsTest, DateControlsTakeAndGiveDateTimes) {
  const TDateTime leapDay = EncodeDate(2024, 2, 29) + EncodeTime(10, 30, 15, 0);
  const SYSTEMTIME system = ToSystemTime(leapDay);
  EXPECT_EQ(system.wDayOfWeek, 4) << "a Thursday";
  EXPECT_EQ(system.wHour, 10);
  EXPECT_DOUBLE_EQ(FromSystemTime(system), leapDay);

  ParentForm form;
  TDateTimePicker date;
  date.Create(form.Handle(), 30, {10, 10, 120, 21});
  date.SetFormat("dd.MM.yyyy");
  date.SetValue(leapDay);
  EXPECT_NEAR(date.Value(), leapDay, 1e-8);
  EXPECT_EQ(date.Text(), "29.02.2024");

  TMonthCalendar calendar;
  calendar.Create(form.Handle(), 32, {150, 10, 250, 200});
  calendar.SetFirstDayOfWeek(0);
  calendar.SetDate(leapDay);
  EXPECT_DOUBLE_EQ(calendar.Date(), EncodeDate(2024, 2, 29)) << "the day without its time";
  EXPECT_EQ(LOWORD(calendar.Send(MCM_GETFIRSTDAYOFWEEK)), 0);
  EXPECT_GT(calendar.MinimumSize().cx, 0);
}

TEST_F(ToolkitControlsTest, StatusBarAndTabsKeepTheirParts) {
  ParentForm form;
  TStatusBar status;
  status.Create(form.Handle(), 40);
  status.SetParts({50, -1});
  status.SetPartText("Bereit.");
  status.SetPartText("Erinnerung durchgeführt.", 1);
  EXPECT_EQ(status.Send(SB_GETPARTS), 2);
  EXPECT_EQ(status.PartText(), "Bereit.");
  EXPECT_EQ(status.PartText(1), "Erinnerung durchgeführt.");
  form.SetClientSize(400, 300);
  status.Resize();
  EXPECT_EQ(status.Bounds().Y + status.Height(), 300) << "along the bottom";

  TTabControl tabs;
  tabs.Create(form.Handle(), 41, {10, 10, 300, 200});
  for (const char* caption : {"Erinnerung", "Aktion", "Wiederholung"}) tabs.AddTab(caption);
  EXPECT_EQ(tabs.Count(), 3);
  EXPECT_EQ(tabs.Selected(), 0);
  tabs.SetSelected(2);
  EXPECT_EQ(tabs.Selected(), 2);
  const TBounds page = tabs.PageBounds();
  EXPECT_GT(page.Y, 10) << "below the tabs";
  EXPECT_LT(page.Y + page.Height, 210);
  EXPECT_GT(page.Width, 0);
}

}  // namespace
}  // namespace reminder
