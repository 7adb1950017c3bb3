#include "win32/support/MainWindowFixture.h"

namespace reminder {
namespace {

using testing::FlushEvents;

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
