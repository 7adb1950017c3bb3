// Remote access against the stand-in libraries beside the test program, which the loader
// finds before the system's: the number of listed connections comes from
// FAKE_RAS_CONNECTIONS, refused hang-ups from FAKE_RAS_HANGUP_ERROR.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core/Fakes.h"
#include "core/store/ReminderClassUnit.h"
#include "win32/dialup/RASAPI32.h"
#include "win32/store/Win32DataFile.h"
#include "win32/support/MsgBoxCatcher.h"
#include "win32/support/TestWindow.h"
#include "win32/system/Win32MsgBox.h"
#include "win32/toolkit/WindowTimer.h"

namespace reminder {
namespace {

using testing::ActiveTestWindow;
using testing::BoxIcon;
using testing::FakeClock;
using testing::MemoryDataFile;
using testing::MsgBoxCatcher;

using TFakeRasHungUp = DWORD(WINAPI*)(DWORD index, DWORD* handle);

std::string DirectoryOf(const std::string& path) {
  return path.substr(0, path.find_last_of('\\') + 1);
}

std::string ModulePath(const char* name) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(GetModuleHandleA(name), path, sizeof path);
  return path;
}

// The hang-ups the loaded stand-in has recorded, in order.
std::vector<DWORD> HungUp() {
  auto fakeHungUp = reinterpret_cast<TFakeRasHungUp>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("RASAPI32.dll"), "FakeRasHungUp")));
  std::vector<DWORD> handles;
  if (!fakeHungUp) return handles;
  DWORD handle = 0;
  const DWORD count = fakeHungUp(0, &handle);
  for (DWORD i = 0; i < count; ++i) {
    fakeHungUp(i, &handle);
    handles.push_back(handle);
  }
  return handles;
}

class FakeRasTest : public ::testing::Test {
 protected:
  ~FakeRasTest() override {
    SetEnvironmentVariableA("FAKE_RAS_CONNECTIONS", nullptr);
    SetEnvironmentVariableA("FAKE_RAS_HANGUP_ERROR", nullptr);
  }
  static void SetConnections(int count) {
    SetEnvironmentVariableA("FAKE_RAS_CONNECTIONS", std::to_string(count).c_str());
  }

  void ExpectOneStopBox(const MsgBoxCatcher& catcher, const char* text) {
    ASSERT_EQ(catcher.Boxes().size(), 1u);
    const auto& box = catcher.Boxes()[0];
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, "Reminder Trennung einer DFÜ-Netzwerk Verbindung");
    EXPECT_EQ(box.icon, BoxIcon::Stop);
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
  }

  TRasApi32 api_;
  TRasService ras_{api_};
  TWin32MsgBox box_;
  TDialUpControl dialUp_{ras_, box_};
};

TEST_F(FakeRasTest, StandInsBesideTheProgramAreLoadedWithEveryEntryPoint) {
  const std::string programDirectory = DirectoryOf(ExecutablePath());
  ASSERT_NE(GetModuleHandleA("RASAPI32.dll"), nullptr);
  EXPECT_EQ(_stricmp(DirectoryOf(ModulePath("RASAPI32.dll")).c_str(), programDirectory.c_str()), 0)
      << ModulePath("RASAPI32.dll");
  EXPECT_NE(GetProcAddress(GetModuleHandleA("RASAPI32.dll"), "FakeRasHungUp"), nullptr);

  EXPECT_TRUE(api_.RasAvailable());
  EXPECT_NE(api_.RasDialA, nullptr);
  EXPECT_NE(api_.RasEnumEntriesA, nullptr);
  EXPECT_NE(api_.RasGetEntryDialParamsA, nullptr);
  // The stand-in lacks the phonebook-entry functions; they come from "RNAPH.dll".
  EXPECT_TRUE(api_.RasEntriesAvailable());
  EXPECT_TRUE(api_.UsesFallbackLibrary());
  ASSERT_NE(GetModuleHandleA("RNAPH.dll"), nullptr);
  EXPECT_EQ(_stricmp(DirectoryOf(ModulePath("RNAPH.dll")).c_str(), programDirectory.c_str()), 0);
  EXPECT_EQ(api_.RasRenameEntryA, GetProcAddress(GetModuleHandleA("RNAPH.dll"), "RasRenameEntryA"));
  EXPECT_EQ(api_.RasSetEntryPropertiesA,
            GetProcAddress(GetModuleHandleA("RNAPH.dll"), "RasSetEntryPropertiesA"));
}

TEST_F(FakeRasTest, ConnectionListsUpToTheBufferOfTenEntries) {
  std::vector<uint32_t> handles;
  SetConnections(0);
  EXPECT_TRUE(ras_.EnumConnections(handles));
  EXPECT_TRUE(handles.empty());
  EXPECT_FALSE(dialUp_.IsConnected());

  SetConnections(1);
  EXPECT_TRUE(ras_.EnumConnections(handles));
  EXPECT_EQ(handles.size(), 1u);
  EXPECT_TRUE(dialUp_.IsConnected());

  SetConnections(10);
  EXPECT_TRUE(ras_.EnumConnections(handles));
  EXPECT_EQ(handles.size(), 10u);
  EXPECT_TRUE(dialUp_.IsConnected());

  SetConnections(11);
  EXPECT_FALSE(ras_.EnumConnections(handles));
  EXPECT_TRUE(handles.empty());
  EXPECT_FALSE(dialUp_.IsConnected());
}

TEST_F(FakeRasTest, DialUpReminderFiresOnceAtTheFirstCheckDuringAConnection) {
  MemoryDataFile file;
  FakeClock clock(EncodeDateTime({2024, 3, 1}, {12, 0, 0, 0}));
  TReminder scheduler("Reminder.dat", file, box_, std::make_unique<TWindowTimer>(), clock, dialUp_);
  TNotifyInfo values;
  values.NotifyKind = nkDialUp;
  values.NotifyDate = EncodeDateTime({2099, 1, 1}, {0, 0, 0, 0});  // a date never matters
  values.NotifyText = "Mails abholen";
  values.ActionKind = akNothing;
  values.RepeatKind = rkOnce;
  scheduler.Add(values);
  std::vector<std::string> fired;
  scheduler.SetOnNotify(
      [&](TReminder&, TNotifyInfo& record) { fired.push_back(record.NotifyText); });
  MsgBoxCatcher catcher;

  // No connection, or more than the list can hold, fires nothing.
  for (int connections : {0, 11}) {
    SetConnections(connections);
    scheduler.CheckNotifications();
    EXPECT_TRUE(fired.empty()) << connections;
    EXPECT_EQ(scheduler.Item(0).Notified, 0) << connections;
  }
  const int writesBefore = file.writes;

  SetConnections(1);
  scheduler.CheckNotifications();
  EXPECT_EQ(fired, std::vector<std::string>{"Mails abholen"});
  EXPECT_EQ(scheduler.Item(0).Notified, 1);
  EXPECT_EQ(file.writes, writesBefore + 1);
  scheduler.CheckNotifications();
  EXPECT_EQ(fired.size(), 1u);
  EXPECT_TRUE(catcher.Boxes().empty());
}

TEST_F(FakeRasTest, HangUpEndsOnlyTheFirstListedConnection) {
  SetConnections(2);
  std::vector<uint32_t> listed;
  ASSERT_TRUE(ras_.EnumConnections(listed));
  ASSERT_EQ(listed.size(), 2u);
  const std::vector<DWORD> before = HungUp();

  MsgBoxCatcher catcher;
  dialUp_.HangUpConnection();
  EXPECT_TRUE(catcher.Boxes().empty());
  std::vector<DWORD> expected = before;
  expected.push_back(listed[0]);
  EXPECT_EQ(HungUp(), expected);
}

TEST_F(FakeRasTest, NothingToHangUpIsReportedWithoutOwner) {
  ActiveTestWindow window;
  const std::vector<DWORD> before = HungUp();
  for (int connections : {0, 11}) {
    SCOPED_TRACE(connections);
    SetConnections(connections);
    MsgBoxCatcher catcher;
    dialUp_.HangUpConnection();
    ExpectOneStopBox(catcher, "Es besteht derzeit keine DFÜ-Netzwerk Verbindung!");
  }
  EXPECT_EQ(HungUp(), before);
}

TEST_F(FakeRasTest, RefusedHangUpIsReported) {
  SetConnections(1);
  SetEnvironmentVariableA("FAKE_RAS_HANGUP_ERROR", "668");
  MsgBoxCatcher catcher;
  dialUp_.HangUpConnection();
  ExpectOneStopBox(catcher, "Konnte Verbindung nicht trennen!");
}

}  // namespace
}  // namespace reminder
