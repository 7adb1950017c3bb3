// The main window's sync against the calendar server the test command starts
// (REMINDER_TEST_CALDAV_URL): a reminder added in the window reaches the server, one put
// on the server reaches the list, and a server out of reach shows only in the status line.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "core/ical/ReminderCalendar.h"
#include "core/store/IOUnit.h"
#include "core/store/ReservedBlock.h"
#include "core/sync/CalDav.h"
#include "win32/ToolkitTestSupport.h"
#include "win32/net/WinHttpClient.h"
#include "win32/settings/SyncSettingsStore.h"
#include "win32/store/Win32DataFile.h"
#include "win32/support/MsgBoxCatcher.h"
#include "win32/support/RecordingActions.h"
#include "win32/support/RegistryScratch.h"
#include "win32/support/TempDirectory.h"
#include "win32/support/TestServices.h"
#include "win32/system/Win32MsgBox.h"
#include "win32/ui/MainUnit.h"

namespace reminder {
namespace {

using testing::FlushEvents;

constexpr char kRunning[] = "Synchronisation läuft...";
constexpr char kSucceeded[] = "Synchronisation: zuletzt erfolgreich am ";

std::string CalDavServer() {
  char url[512] = "";
  const DWORD length = GetEnvironmentVariableA("REMINDER_TEST_CALDAV_URL", url, sizeof url);
  return length > 0 && length < sizeof url ? url : "";
}

bool StartsWith(const std::string& text, const std::string& head) {
  return text.compare(0, head.size(), head) == 0;
}

class MainSyncTest : public ::testing::Test {
 protected:
  MainSyncTest() : registry_(::testing::UnitTest::GetInstance()->current_test_info()->name()) {}
  void SetUp() override { testing::InitializeToolkit(); }
  void TearDown() override {
    main_.reset();
    FlushEvents();
  }

  TMain& Create(const TSyncSettings& settings) {
    TTheRegIniFile ini;
    WriteSyncSettings(ini, "\\" + registry_.Path(), settings);
    main_ = std::make_unique<TMain>(
        testing::TestServices(dir_.File("Reminder.dat"), "\\" + registry_.Path(), actions_));
    main_->CreateMain();
    return *main_;
  }

  // Pumps the window's messages until the run under way has reported; its status line.
  std::string WaitForSync() {
    EXPECT_EQ(main_->Sync().StatusText(), kRunning);
    for (int i = 0; i < 1500 && main_->Sync().StatusText() == kRunning; ++i) {
      FlushEvents();
      Sleep(20);
    }
    return main_->Sync().StatusText();
  }

  TNotifyInfo Reminder(const std::string& text) const {
    TNotifyInfo values;
    values.NotifyKind = nkAtDate;
    values.NotifyDate = EncodeDate(2031, 5, 4) + EncodeTime(9, 30, 0, 0);
    values.RepeatKind = rkOnce;
    values.ActionKind = akWarning;
    values.NotifyText = text;
    return values;
  }

  testing::TempDirectory dir_;
  testing::RegistryScratch registry_;
  testing::RecordingActions actions_;
  std::unique_ptr<TMain> main_;
};

TEST_F(MainSyncTest, AReminderAddedHereReachesTheServerAndOnePutThereReachesTheList) {
  const std::string server = CalDavServer();
  ASSERT_FALSE(server.empty()) << "scripts/test.sh starts a server";
  TSyncSettings settings;
  settings.Enabled = true;
  settings.Server = server;
  settings.User = "main" + std::to_string(GetTickCount());
  settings.Password = "geheim";
  TWinHttpClient http(settings.User, settings.Password, 5000);
  TCalDav dav(http);
  TCalendarInfo calendar;
  ASSERT_TRUE(dav.MakeCalendar(server, "erinnerungen", "Erinnerungen", calendar)) << dav.Error();
  settings.CalendarUrl = calendar.Url;
  testing::MsgBoxCatcher boxes;

  TMain& main = Create(settings);
  // The window's start syncs at once.
  EXPECT_TRUE(StartsWith(WaitForSync(), kSucceeded)) << main.Sync().StatusText();
  main.AddReminder(Reminder("Zahnarzt anrufen"));
  const std::string status = WaitForSync();
  ASSERT_TRUE(StartsWith(status, kSucceeded)) << status;
  EXPECT_EQ(main.StatusBar().PartText(1), status);
  EXPECT_EQ(main.TrayIcon().ToolTip(), status);
  TEventList events;
  ASSERT_TRUE(dav.ListEvents(calendar.Url, true, events)) << dav.Error();
  ASSERT_EQ(events.Events.size(), 1u);
  EXPECT_NE(events.Events[0].CalendarData.find("SUMMARY:Zahnarzt anrufen"), std::string::npos);

  // Another computer's reminder, as it exports it.
  TWin32DataFile files;
  TWin32MsgBox box;
  TFileIO other(dir_.File("Other.dat"), files, box);
  const TNotifyInfo* added = other.Add(Reminder("Blumen gießen"));
  const TExportResult exported = ExportReminders({added}, EncodeDate(2030, 1, 1));
  ASSERT_EQ(exported.Events, 1u);
  const TPutResult put =
      dav.Put(calendar.Url + IdentityOf(*added)->Hex() + ".ics", exported.Calendar, "");
  ASSERT_EQ(put.Outcome, TDavOutcome::Done) << put.Error;
  main.SyncNowClick();
  EXPECT_TRUE(StartsWith(WaitForSync(), kSucceeded)) << main.Sync().StatusText();
  ASSERT_EQ(main.Rows().Count(), 2u);
  EXPECT_EQ(ListView_GetItemCount(main.LV().Handle()), 2);
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(MainSyncTest, AServerOutOfReachShowsOnlyInTheStatusAndTheNextTryWaits) {
  TSyncSettings settings;
  settings.Enabled = true;
  settings.Server = "http://127.0.0.1:9/";
  settings.User = "niemand";
  settings.CalendarUrl = "http://127.0.0.1:9/niemand/erinnerungen/";
  testing::MsgBoxCatcher boxes;
  TMain& main = Create(settings);
  const std::string status = WaitForSync();
  EXPECT_TRUE(StartsWith(status,
                         "Synchronisation fehlgeschlagen: Der Server http://127.0.0.1:9 "
                         "ist nicht erreichbar"))
      << status;
  // A change during the delay waits for its end; an explicit request does not.
  main.AddReminder(Reminder("Bleibt hier"));
  EXPECT_EQ(main.Sync().StatusText(), status);
  EXPECT_FALSE(main.Sync().Running());
  main.SyncNowClick();
  EXPECT_NE(WaitForSync(), kRunning);
  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_EQ(main.Rows().Count(), 1u);
}

TEST_F(MainSyncTest, ClosingWhileASyncRunsWaitsForItAndKeepsTheData) {
  const std::string server = CalDavServer();
  ASSERT_FALSE(server.empty()) << "scripts/test.sh starts a server";
  TSyncSettings settings;
  settings.Enabled = true;
  settings.Server = server;
  settings.User = "close" + std::to_string(GetTickCount());
  settings.CalendarUrl = server + settings.User + "/erinnerungen/";
  Create(settings);
  main_->AddReminder(Reminder("Vor dem Schließen"));
  main_.reset();
  FlushEvents();
  TWin32DataFile files;
  TWin32MsgBox box;
  TFileIO store(dir_.File("Reminder.dat"), files, box);
  store.Load();
  ASSERT_EQ(store.Count(), 1u);
  EXPECT_EQ(store.Item(0).NotifyText, "Vor dem Schließen");
}

}  // namespace
}  // namespace reminder
