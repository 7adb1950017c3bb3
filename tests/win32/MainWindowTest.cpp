#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Fakes.h"
#include "core/common/DateTime.h"
#include "core/common/FormatDateTime.h"
#include "core/store/IOUnit.h"
#include "core/store/ReservedBlock.h"
#include "core/store/Snooze.h"
#include "core/ui/ReminderRows.h"
#include "win32/ToolkitTestSupport.h"
#include "win32/store/Win32DataFile.h"
#include "win32/support/LayoutCheck.h"
#include "win32/support/MsgBoxCatcher.h"
#include "win32/support/RecordingActions.h"
#include "win32/support/RegistryScratch.h"
#include "win32/support/TempDirectory.h"
#include "win32/support/TestServices.h"
#include "win32/system/LocaleFormat.h"
#include "win32/system/ModuleMode.h"
#include "win32/system/Win32MsgBox.h"
#include "win32/ui/MainUnit.h"
#include "win32/ui/RemindFormUnit.h"

namespace reminder {
namespace {

using testing::FlushEvents;

struct Prepared {
  TDateTime date;
  const char* text;
  uint8_t action;
  uint8_t repeat;
  bool done;
};

// A main window over a scratch data file and registry area; the tray icon's records are
// kept instead of reaching the shell, and sounds are counted instead of played.
class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() : registry_(::testing::UnitTest::GetInstance()->current_test_info()->name()) {}

  void SetUp() override { testing::InitializeToolkit(); }

  void TearDown() override {
    main_.reset();
    FlushEvents();
  }

  void Prepare(const std::vector<Prepared>& records) {
    TWin32DataFile file;
    TWin32MsgBox box;
    TFileIO io(DataFile(), file, box);
    for (const Prepared& p : records) {
      TNotifyInfo values;
      values.NotifyKind = nkAtDate;
      values.NotifyDate = p.date;
      values.NotifyText = p.text;
      values.ActionKind = p.action;
      values.RepeatKind = p.repeat;
      TNotifyInfo* stored = io.Add(values);
      stored->Notified = p.done ? 1 : 0;
    }
    io.Save();
  }

  std::string DataFile() const { return dir_.File("Reminder.dat"); }
  std::string Area() const { return "\\" + registry_.Path(); }

  TMain& Create() {
    TMainServices services = testing::TestServices(DataFile(), Area(), actions_);
    services.ShellNotify = [this](DWORD message, TNotifyIconRecord&) {
      shellMessages_.push_back(message);
      return true;
    };
    services.PlaySoundAlias = [this](const char* alias) { sounds_.push_back(alias); };
    if (clock_) services.Clock = clock_;
    services.ShellBalloon = [this](const NOTIFYICONDATAA& record) {
      balloons_.push_back(std::string(record.szInfoTitle) + "|" + record.szInfo);
      return true;
    };
    main_ = std::make_unique<TMain>(std::move(services));
    main_->CreateMain();
    return *main_;
  }

  HWND List() const { return main_->LV().Handle(); }
  std::string Status() const { return main_->StatusBar().PartText(); }
  void Select(int index, bool on = true) {
    ListView_SetItemState(List(), index, on ? LVIS_SELECTED : 0, LVIS_SELECTED);
  }
  std::string Cell(int row, int column) const { return main_->LV().ItemText(row, column); }
  void ClickColumn(int column) {
    NMLISTVIEW info = {};
    info.hdr.hwndFrom = List();
    info.hdr.idFrom = GetDlgCtrlID(List());
    info.hdr.code = LVN_COLUMNCLICK;
    info.iItem = -1;
    info.iSubItem = column;
    SendMessageA(main_->Handle(), WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
  }
  void Key(HWND window, WPARAM key) {
    PostMessageA(window, WM_KEYDOWN, key, 0);
    FlushEvents();
  }
  static BOOL CALLBACK CountNote(HWND window, LPARAM counter) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) == TRemindForm::kClassName && IsWindowVisible(window)) {
      ++*reinterpret_cast<int*>(counter);
    }
    return TRUE;
  }
  static BOOL CALLBACK FindNote(HWND window, LPARAM found) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) != TRemindForm::kClassName || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  static HWND AnyNote() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindNote, reinterpret_cast<LPARAM>(&found));
    return found;
  }
  static int CountNotes() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountNote, reinterpret_cast<LPARAM>(&count));
    return count;
  }

  testing::TempDirectory dir_;
  testing::RegistryScratch registry_;
  testing::RecordingActions actions_;  // outlives the main window and its alerts
  std::unique_ptr<TMain> main_;
  std::vector<DWORD> shellMessages_;
  std::vector<std::string> sounds_;
  std::vector<std::string> balloons_;
  IClock* clock_ = nullptr;  // the machine's clock unless a test sets one
};

const TDateTime kFuture = EncodeDate(2099, 5, 17) + EncodeTime(10, 30, 0, 0);

TEST_F(MainWindowTest, StartsHiddenWithItsTrayIconAndAnEmptyList) {
  TMain& main = Create();
  char name[32] = {};
  GetClassNameA(main.Handle(), name, sizeof name);
  EXPECT_STREQ(name, "TMain");
  EXPECT_EQ(main.Caption(), "Zelto - Reminder");
  EXPECT_FALSE(IsWindowVisible(main.Handle()));
  EXPECT_TRUE(main.TrayIcon().Active());
  EXPECT_EQ(main.TrayIcon().ToolTip(), "Zelto - Reminder");
  EXPECT_EQ(main.TrayIcon().IconID(), 57);
  ASSERT_FALSE(shellMessages_.empty());
  EXPECT_EQ(shellMessages_.front(), static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(main.LV().Count(), 0);
  EXPECT_EQ(Status(), "Bereit.");
  EXPECT_FALSE(main.ToolBar().ButtonEnabled(cmChange));
  EXPECT_FALSE(main.ToolBar().ButtonEnabled(cmDelete));
  EXPECT_TRUE(main.Scheduler().Enabled());
  // Without stored settings: animation on, the default interval.
  EXPECT_TRUE(main.AnimateIcon());
  EXPECT_EQ(main.RefreshInterval(), 60);
  EXPECT_TRUE(registry_.Get("Options", "ProgramPath").exists);
}

TEST_F(MainWindowTest, AStoredIntervalBelowOneSecondCountsAsTheDefault) {
  registry_.Set("Options", "RefreshInterval", REG_SZ, std::string("0\0", 2));
  registry_.Set("Options", "AnimateIcon", REG_SZ, std::string("0\0", 2));
  TMain& main = Create();
  EXPECT_EQ(main.RefreshInterval(), 60);
  EXPECT_EQ(main.Scheduler().Interval(), 60);
  EXPECT_FALSE(main.AnimateIcon());
}

TEST_F(MainWindowTest, ShowsThePreparedRowsWithTheirImagesAndStatusTexts) {
  Prepare({{kFuture, "Zahnarzt", akWebsite, rkOnce, false},
           {EncodeDate(2099, 1, 2), "Steuer", akNothing, rkYearly, true}});
  TMain& main = Create();
  ASSERT_EQ(main.LV().Count(), 2);
  const TFormatSettings fs = LocaleFormatSettings();
  EXPECT_EQ(Cell(0, 0), FormatDateTime("c", kFuture, fs));
  EXPECT_EQ(Cell(0, 1), "Zahnarzt");
  EXPECT_EQ(Cell(0, 2), "Webseite öffnen");
  EXPECT_EQ(Cell(1, 0), FormatDateTime("ddddd", EncodeDate(2099, 1, 2), fs));  // midnight
  EXPECT_EQ(main.LV().ItemImage(0), 0);
  EXPECT_EQ(main.LV().ItemImage(1), 1);

  Select(1);
  EXPECT_EQ(Status(), "Erinnerung durchgeführt.");
  EXPECT_TRUE(main.ToolBar().ButtonEnabled(cmDelete));
  main.LVPopupMenuPopup();
  EXPECT_TRUE(MenuCommandEnabled(main.ListMenu(), cmChange));
  Select(1, false);
  Select(0);
  EXPECT_EQ(Status(), "Noch keine Erinnerung durchgeführt!");
  Select(0, false);
  EXPECT_EQ(Status(), "Noch keine Erinnerung durchgeführt!");  // nothing selected: kept
  EXPECT_FALSE(main.ToolBar().ButtonEnabled(cmChange));
  main.LVPopupMenuPopup();
  EXPECT_FALSE(MenuCommandEnabled(main.ListMenu(), cmDelete));
  EXPECT_TRUE(MenuCommandEnabled(main.ListMenu(), cmAdd));

  main.TrayIconDblClick();
  const std::vector<std::string> problems = testing::LayoutProblems(main.Handle());
  EXPECT_TRUE(problems.empty()) << testing::Joined(problems);
}

TEST_F(MainWindowTest, DeleteKeyRemovesEverySelectedRecordAndRewritesTheFile) {
  Prepare({{kFuture, "eins", 0, 1, false},
           {kFuture + 1, "zwei", 0, 1, false},
           {kFuture + 2, "drei", 0, 1, false},
           {kFuture + 3, "vier", 0, 1, false},
           {kFuture + 4, "fünf", 0, 1, false}});
  TMain& main = Create();
  Select(1);
  Select(2);
  Select(3);
  Key(List(), VK_DELETE);
  ASSERT_EQ(main.LV().Count(), 2);
  EXPECT_EQ(Cell(0, 1), "eins");
  EXPECT_EQ(Cell(1, 1), "fünf");
  EXPECT_EQ(main.Scheduler().Count(), 2u);
  EXPECT_TRUE(main.Scheduler().Enabled());

  TWin32DataFile file;
  TWin32MsgBox box;
  TFileIO reread(DataFile(), file, box);
  reread.Load();
  ASSERT_EQ(reread.Count(), 2u);
  EXPECT_EQ(reread.Item(1).NotifyText, "fünf");
}

TEST_F(MainWindowTest, DeletingABigSelectionKeepsExactlyTheOtherRowsUnselected) {
  std::vector<std::string> texts;
  for (int i = 0; i < 300; ++i) texts.push_back("Nr. " + std::to_string(1000 + i));
  std::vector<Prepared> records;
  for (int i = 0; i < 300; ++i) records.push_back({kFuture + i, texts[i].c_str(), 0, 1, false});
  Prepare(records);
  TMain& main = Create();
  for (int i = 0; i < 300; i += 2) Select(i);  // more than the list clears row by row
  Key(List(), VK_DELETE);
  TWin32DataFile file;
  TWin32MsgBox box;
  TFileIO reread(DataFile(), file, box);
  reread.Load();
  ASSERT_EQ(main.LV().Count(), 150);
  ASSERT_EQ(reread.Count(), 150u);
  for (int i = 0; i < 150; ++i) {
    EXPECT_EQ(Cell(i, 1), texts[2 * i + 1]);
    EXPECT_EQ(reread.Item(i).NotifyText, texts[2 * i + 1]);
  }
  // No selection of the deleted rows lingers on those that took their places.
  EXPECT_EQ(main.LV().SelectedCount(), 0);
  Select(0);
  EXPECT_EQ(main.LV().SelectedCount(), 1);

  Select(-1);
  Key(List(), VK_DELETE);
  EXPECT_EQ(main.LV().Count(), 0);
  reread.Load();
  EXPECT_EQ(reread.Count(), 0u);
}

TEST_F(MainWindowTest, ColumnClicksAlternateDescendingAndAscending) {
  Prepare({{EncodeDate(2099, 1, 1), "b", 0, 1, false},
           {EncodeDate(2099, 12, 1), "c", 0, 1, false},
           {EncodeDate(2098, 6, 1), "a", 0, 1, false}});
  TMain& main = Create();
  Select(0);  // "b" stays selected wherever it moves
  ClickColumn(0);
  EXPECT_EQ(Cell(0, 1), "c");
  EXPECT_EQ(Cell(1, 1), "b");
  EXPECT_EQ(Cell(2, 1), "a");
  EXPECT_TRUE(main.LV().IsSelected(1));
  EXPECT_FALSE(main.LV().IsSelected(0));
  ClickColumn(1);
  EXPECT_EQ(Cell(0, 1), "a");
  EXPECT_EQ(Cell(2, 1), "c");
  main.RefillList();
  ClickColumn(1);  // a refill starts descending again
  EXPECT_EQ(Cell(0, 1), "c");
  // The header shows the order with one arrow, at its column.
  const HWND header = ListView_GetHeader(List());
  const auto format = [&](int column) {
    HDITEMA item = {};
    item.mask = HDI_FORMAT;
    SendMessageA(header, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item));
    return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
  };
  EXPECT_EQ(format(1), HDF_SORTDOWN);
  EXPECT_EQ(format(0) | format(2) | format(3), 0);
  // The action column shows its longest name whole.
  const char* longest = "DFÜ-Netzwerk Verbindung trennen";
  EXPECT_GT(ListView_GetColumnWidth(List(), 2),
            ListView_GetStringWidth(List(), const_cast<char*>(longest)));
}

TEST_F(MainWindowTest, CloseEscapeAndMinimiseHideToTheTrayAndSaveThePlace) {
  TMain& main = Create();
  main.TrayIconDblClick();
  ASSERT_TRUE(IsWindowVisible(main.Handle()));
  EXPECT_FALSE(MenuCommandEnabled(main.TrayMenu(), cmRestore));
  SetWindowPos(main.Handle(), nullptr, 40, 50, 640, 300, SWP_NOZORDER);

  SendMessageA(main.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  FlushEvents();
  EXPECT_TRUE(IsWindow(main.Handle()));
  EXPECT_FALSE(IsWindowVisible(main.Handle()));
  EXPECT_EQ(sounds_, std::vector<std::string>{"Minimize"});
  EXPECT_TRUE(MenuCommandEnabled(main.TrayMenu(), cmRestore));
  EXPECT_FALSE(MenuCommandEnabled(main.TrayMenu(), cmMinimize));
  EXPECT_EQ(registry_.Get("WindowPosition", "Left").data.c_str(), std::string("40"));
  EXPECT_EQ(registry_.Get("WindowPosition", "Width").data.c_str(), std::string("640"));

  main.mnuRestoreClick();
  ASSERT_TRUE(IsWindowVisible(main.Handle()));
  Key(main.Handle(), VK_ESCAPE);
  EXPECT_FALSE(IsWindowVisible(main.Handle()));
  main.TrayIconDblClick();
  Key(List(), VK_ESCAPE);
  EXPECT_FALSE(IsWindowVisible(main.Handle()));
  main.TrayIconDblClick();
  SendMessageA(main.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_FALSE(IsWindowVisible(main.Handle()));
  EXPECT_FALSE(IsIconic(main.Handle()));
  EXPECT_EQ(sounds_.size(), 4u);
}

TEST_F(MainWindowTest, ASecondWindowStartsAtTheSavedPlace) {
  TMain& first = Create();
  first.TrayIconDblClick();
  SetWindowPos(first.Handle(), nullptr, 70, 80, 600, 280, SWP_NOZORDER);
  first.mnuMinimizeClick();
  main_.reset();
  TMain& second = Create();
  second.TrayIconDblClick();
  RECT rect = {};
  GetWindowRect(second.Handle(), &rect);
  EXPECT_EQ(rect.left, 70);
  EXPECT_EQ(rect.top, 80);
  EXPECT_EQ(rect.right - rect.left, 600);
}

// Counts the close requests that reach it.
LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_REMINDERCLOSE) {
    ++*reinterpret_cast<int*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(MainWindowTest, ExitInLibraryModeAsksTheHostExactlyOnce) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = HostProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "MainWindowTestHost";
  RegisterClassA(&windowClass);
  HWND host = CreateWindowA("MainWindowTestHost", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            windowClass.hInstance, nullptr);
  int requests = 0;
  SetWindowLongPtrA(host, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&requests));

  const bool wasLibrary = LibraryMode();
  SetLibraryMode(true);
  TMain& main = Create();
  main.SetHostWindow(host);
  SendMessageA(main.Handle(), WM_COMMAND, cmExit, 0);
  EXPECT_EQ(requests, 0);  // the window's own request comes first
  FlushEvents();
  SetLibraryMode(wasLibrary);
  EXPECT_EQ(requests, 1);
  EXPECT_TRUE(IsWindow(main.Handle()));  // only the host's close call ends it
  DestroyWindow(host);
}

TEST_F(MainWindowTest, DueRemindersOpenAWindowEachAtStartAndAfterAClockChange) {
  Prepare({{EncodeDate(2000, 1, 1), "alt", akEmail, rkOnce, false}});
  TMain& main = Create();
  FlushEvents();
  EXPECT_EQ(CountNotes(), 1);
  EXPECT_EQ(balloons_, std::vector<std::string>{"Erinnerung: E-Mail schreiben|alt"});
  EXPECT_EQ(main.Scheduler().Item(0).Notified, 1);
  EXPECT_EQ(main.LV().ItemImage(0), 0);  // changed only when the alert closes
  main.UpdateReminderImage(&main.Scheduler().Item(0));
  EXPECT_EQ(main.LV().ItemImage(0), 1);

  TNotifyInfo due;
  due.NotifyKind = nkAtDate;
  due.NotifyDate = EncodeDate(2000, 2, 2);
  due.RepeatKind = rkOnce;
  due.ActionKind = akEmail;
  due.NotifyText = "neu";
  main.Scheduler().SetEnabled(false);
  main.AddReminder(due);
  EXPECT_EQ(main.LV().Count(), 2);
  EXPECT_EQ(main.LV().ItemImage(1), 0);
  main.Scheduler().SetEnabled(true);  // runs a check at once
  FlushEvents();
  EXPECT_EQ(CountNotes(), 2);
  const std::optional<TIdentity> identity = IdentityOf(main.Scheduler().Item(1));
  ASSERT_TRUE(identity.has_value());
  main.ChangeReminder(main.Scheduler().Item(1), due);
  EXPECT_EQ(main.Scheduler().Item(1).Notified, 0);
  EXPECT_EQ(IdentityOf(main.Scheduler().Item(1)), identity);  // a change keeps the identity

  SendMessageA(main.Handle(), WM_TIMECHANGE, 0, 0);
  FlushEvents();
  EXPECT_EQ(CountNotes(), 3);
  EXPECT_EQ(balloons_.size(), 3u);

  // A click on the balloon brings its alert to the front.
  SetForegroundWindow(main.Handle());
  SendMessageA(main.TrayIcon().Handle(), WM_TRAYICONNOTIFY, 0, NIN_BALLOONUSERCLICK);
  char name[64] = {};
  GetClassNameA(GetForegroundWindow(), name, sizeof name);
  EXPECT_STREQ(name, TRemindForm::kClassName);
}

TEST_F(MainWindowTest, ASnoozedReminderFiresOnceMoreAfterARestartAndKeepsItsSchedule) {
  const TDateTime due = EncodeDate(2030, 3, 11) + EncodeTime(8, 0, 0, 0);
  const TDateTime minute = EncodeTime(0, 1, 0, 0);
  Prepare({{due, "Tabletten", akWarning, rkDaily, false}});
  testing::FakeClock clock(due);
  clock_ = &clock;
  auto check = [&](TMain& main, TDateTime now) {
    clock.now = now;
    main.Scheduler().SetEnabled(false);
    main.Scheduler().SetEnabled(true);  // checks at once
    FlushEvents();
  };
  Create();
  FlushEvents();
  ASSERT_EQ(CountNotes(), 1);
  SendMessageA(GetDlgItem(AnyNote(), TRemindForm::kSnoozeBtnId), BM_CLICK, 0, 0);  // 5 Minuten
  FlushEvents();
  EXPECT_EQ(CountNotes(), 0);
  EXPECT_EQ(main_->LV().ItemImage(0), kImageSnoozed);
  const std::optional<TIdentity> identity = IdentityOf(main_->Scheduler().Item(0));
  ASSERT_TRUE(identity.has_value());  // given at the first save
  Select(0);
  EXPECT_EQ(Status().rfind("Erinnert erneut: ", 0), 0u) << Status();
  main_.reset();  // the module ends
  FlushEvents();

  TMain& main = Create();
  check(main, due + 4 * minute);
  EXPECT_EQ(CountNotes(), 0);
  check(main, due + 5 * minute);
  EXPECT_EQ(CountNotes(), 1);
  EXPECT_FALSE(SnoozeMoment(main.Scheduler().Item(0)).has_value());
  EXPECT_EQ(IdentityOf(main.Scheduler().Item(0)), identity);  // through snooze and restart
  check(main, due + 6 * minute);
  EXPECT_EQ(CountNotes(), 1);
  // The next day's reminder comes as the repetition has it.
  check(main, due + 1.0);
  EXPECT_EQ(CountNotes(), 2);
}

}  // namespace
}  // namespace reminder
