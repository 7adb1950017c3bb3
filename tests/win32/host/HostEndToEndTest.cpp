// The module as a host meets it: ReminderHost.exe loads Reminder.dll from its own
// directory, a scratch copy with its own "Reminder.dat"; the test drives the host and the
// module's main window by messages from outside.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Version.h"
#include "core/store/DataFileFormat.h"
#include "win32/host/ProcessDriver.h"
#include "win32/host/RegistryRemover.h"
#include "win32/support/TempDirectory.h"
#include "win32/ui/AddNotifyEventDlgUnit.h"
#include "win32/ui/MainUnit.h"

namespace reminder {
namespace {

using testing::ChildOfClass;
using testing::ChildProcess;
using testing::ChildWithId;
using testing::TempDirectory;
using testing::WaitFor;
using testing::WindowText;

constexpr WPARAM kHostCreate = 101;
constexpr WPARAM kHostClose = 102;
const char kPositionKey[] = "Software\\Orvandel Software\\Reminder\\WindowPosition";

int Occurrences(const std::string& text, const std::string& part) {
  int count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

bool CopyProgram(const std::string& name, const TempDirectory& to) {
  return CopyFileA((testing::BuildDirectory() + name).c_str(), to.File(name).c_str(), FALSE);
}

bool KeyExists(const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

TNotifyInfo Record(const std::string& text, double date) {
  TNotifyInfo record;
  record.NotifyKind = nkNever;  // stored only, so no alert opens during the test
  record.NotifyDate = date;
  record.NotifyText = text;
  record.ActionKind = akNothing;
  record.RepeatKind = rkNever;
  return record;
}

class HostEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteRegistryTree(HKEY_CURRENT_USER, kRegistryArea);
    ASSERT_TRUE(CopyProgram("ReminderHost.exe", dir_));
    ASSERT_TRUE(CopyProgram("Reminder.dll", dir_));
  }
  void TearDown() override { DeleteRegistryTree(HKEY_CURRENT_USER, kRegistryArea); }

  // Starts the host, which opens the module at once, and waits for the main window.
  void StartHost() {
    host_ = std::make_unique<ChildProcess>(dir_.Path(), "ReminderHost.exe");
    ASSERT_TRUE(host_->Started());
    ASSERT_TRUE(WaitFor([&] { return host_->Window("TMain") != nullptr; }));
    hostWindow_ = host_->Window("ReminderHost");
    ASSERT_NE(hostWindow_, nullptr);
  }
  std::string Log() const { return WindowText(ChildOfClass(hostWindow_, "Edit")); }
  size_t MainWindows() const { return host_->Windows("TMain").size(); }
  // Posted messages are handled in order: once the host has logged the close call this
  // command makes, everything posted before it has been handled too.
  void SettleWithClose(int expectedCloses) {
    PostMessageA(hostWindow_, WM_COMMAND, kHostClose, 0);
    ASSERT_TRUE(WaitFor(
        [&] { return Occurrences(Log(), "ZeltoReminderClose aufgerufen.") == expectedCloses; }));
  }

  TempDirectory dir_;
  std::unique_ptr<ChildProcess> host_;
  HWND hostWindow_ = nullptr;
};

TEST_F(HostEndToEnd, CreateMakesAHiddenMainWindowWithTrayIconAndTheDataFilesRows) {
  std::string bytes;
  EncodeRecord(bytes, Record("Zahnarzt anrufen", 45000.5));
  EncodeRecord(bytes, Record("Steuererklärung", 45100.0));
  ASSERT_TRUE(testing::WriteWholeFile(dir_.File("Reminder.dat"), bytes));
  StartHost();

  EXPECT_EQ(Occurrences(Log(), "ZeltoReminderCreate: 1"), 1);
  HWND main = host_->Window("TMain");
  EXPECT_FALSE(IsWindowVisible(main));
  EXPECT_EQ(MainWindows(), 1u);
  EXPECT_NE(host_->Window("ReminderTrayIcon"), nullptr);

  const auto rows = testing::ListViewRows(*host_, ChildOfClass(main, "SysListView32"), 4);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][1], "Zahnarzt anrufen");
  EXPECT_EQ(rows[1][1], "Steuererklärung");
  EXPECT_EQ(rows[0][2], ActionName(akNothing));
  EXPECT_FALSE(rows[0][0].empty());
}

TEST_F(HostEndToEnd, BeendenAsksTheHostOnceAndItsCloseReleasesTheWindowAndSavesThePosition) {
  StartHost();
  ASSERT_FALSE(KeyExists(kPositionKey));
  PostMessageA(host_->Window("TMain"), WM_COMMAND, cmExit, 0);
  ASSERT_TRUE(WaitFor([&] { return MainWindows() == 0; }));
  // A second close call finds nothing to close.
  SettleWithClose(2);
  const std::string log = Log();
  EXPECT_EQ(Occurrences(log, "WM_REMINDERCLOSE erhalten."), 1) << log;
  EXPECT_LT(log.find("WM_REMINDERCLOSE erhalten."), log.find("ZeltoReminderClose aufgerufen."));
  EXPECT_TRUE(KeyExists(kPositionKey));
  EXPECT_FALSE(host_->Ended());
  EXPECT_EQ(host_->Window("ReminderTrayIcon"), nullptr);
}

TEST_F(HostEndToEnd, ASecondCreateKeepsTheWindowAndACreateAfterCloseMakesAFreshOne) {
  StartHost();
  HWND first = host_->Window("TMain");
  PostMessageA(hostWindow_, WM_COMMAND, kHostCreate, 0);
  ASSERT_TRUE(WaitFor([&] { return Occurrences(Log(), "ZeltoReminderCreate: 1") == 2; }));
  EXPECT_EQ(host_->Windows("TMain"), std::vector<HWND>{first});
  EXPECT_EQ(host_->Windows("ReminderTrayIcon").size(), 1u);

  SettleWithClose(1);
  ASSERT_TRUE(WaitFor([&] { return MainWindows() == 0; }));
  PostMessageA(hostWindow_, WM_COMMAND, kHostCreate, 0);
  ASSERT_TRUE(WaitFor([&] { return Occurrences(Log(), "ZeltoReminderCreate: 1") == 3; }));
  EXPECT_EQ(MainWindows(), 1u);

  // The fresh window asks the same host to close it.
  PostMessageA(host_->Window("TMain"), WM_COMMAND, cmExit, 0);
  ASSERT_TRUE(WaitFor([&] { return MainWindows() == 0; }));
  EXPECT_EQ(Occurrences(Log(), "WM_REMINDERCLOSE erhalten."), 1);
}

// The tray menu works while the editor is open; its "Beenden" makes the host close the
// module from inside the editor's loop.
TEST_F(HostEndToEnd, BeendenWhileTheEditorIsOpenCancelsItAndClosesTheModuleOnce) {
  StartHost();
  HWND main = host_->Window("TMain");
  PostMessageA(main, WM_COMMAND, cmAdd, 0);
  ASSERT_TRUE(WaitFor([&] { return host_->Window("ReminderAddNotifyEventDlg") != nullptr; }));
  // A second "Erinnerung hinzufügen..." from the tray opens no second editor.
  PostMessageA(main, WM_COMMAND, cmAdd, 0);
  PostMessageA(main, WM_COMMAND, cmExit, 0);
  ASSERT_TRUE(WaitFor([&] { return MainWindows() == 0; }));
  SettleWithClose(2);
  const std::string log = Log();
  EXPECT_EQ(Occurrences(log, "WM_REMINDERCLOSE erhalten."), 1) << log;
  EXPECT_FALSE(host_->Ended());
  EXPECT_EQ(host_->Window("ReminderAddNotifyEventDlg"), nullptr);
  EXPECT_EQ(host_->Window("ReminderTrayIcon"), nullptr);

  // The module is whole: it opens again.
  PostMessageA(hostWindow_, WM_COMMAND, kHostCreate, 0);
  ASSERT_TRUE(WaitFor([&] { return MainWindows() == 1; }));
}

// reminderctl.exe adds and deletes while the module runs; the module's next save keeps both.
TEST_F(HostEndToEnd, TheModulesSaveKeepsWhatReminderctlChangedMeanwhile) {
  ASSERT_TRUE(CopyProgram("reminderctl.exe", dir_));
  std::string bytes;
  for (const char* text : {"Eins", "Zwei", "Drei"}) EncodeRecord(bytes, Record(text, 45000));
  ASSERT_TRUE(testing::WriteWholeFile(dir_.File("Reminder.dat"), bytes));
  StartHost();
  HWND main = host_->Window("TMain");

  for (const char* arguments : {"add --text Fremd --trigger never", "delete 2"}) {
    ChildProcess tool(dir_.Path(), "reminderctl.exe", arguments);
    ASSERT_TRUE(tool.WaitForEnd());
    ASSERT_EQ(tool.ExitCode(), 0u) << arguments;
  }

  PostMessageA(main, WM_COMMAND, cmAdd, 0);
  ASSERT_TRUE(WaitFor([&] { return host_->Window("ReminderAddNotifyEventDlg") != nullptr; }));
  HWND editor = host_->Window("ReminderAddNotifyEventDlg");
  SendMessageA(ChildWithId(editor, TAddNotifyEventDlg::kNotText), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>("Neu"));
  PostMessageA(ChildWithId(editor, TAddNotifyEventDlg::kOKBtn), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return host_->Window("ReminderAddNotifyEventDlg") == nullptr; }));

  std::string saved;
  ASSERT_TRUE(testing::ReadWholeFile(dir_.File("Reminder.dat"), saved));
  std::vector<TNotifyInfo> records;
  DecodeRecords(saved, [&]() -> TNotifyInfo& { return records.emplace_back(); });
  std::vector<std::string> texts;
  for (const TNotifyInfo& record : records) texts.push_back(record.NotifyText);
  const std::vector<std::string> expected = {"Eins", "Drei", "Fremd", "Neu"};
  EXPECT_EQ(texts, expected);
  // The list follows the file.
  std::vector<std::string> rows;
  ASSERT_TRUE(WaitFor([&] {
    rows.clear();
    for (const auto& row : testing::ListViewRows(*host_, ChildOfClass(main, "SysListView32"), 4)) {
      rows.push_back(row[1]);
    }
    return rows == expected;
  })) << rows.size();
}

TEST(ModuleImage, ExportsPlainNamesAndLoadingShowsNothing) {
  HMODULE module = LoadLibraryA((testing::BuildDirectory() + "Reminder.dll").c_str());
  ASSERT_NE(module, nullptr);
  EXPECT_NE(GetProcAddress(module, "ZeltoReminderCreate"), nullptr);
  EXPECT_NE(GetProcAddress(module, "ZeltoReminderClose"), nullptr);
  EXPECT_EQ(GetProcAddress(module, "ZeltoReminderCreate@8"), nullptr);
  EXPECT_EQ(GetProcAddress(module, "_ZeltoReminderCreate@8"), nullptr);
  EXPECT_EQ(FindWindowA("TMain", nullptr), nullptr);
  // Closing without a main window does nothing.
  using TClose = void(__stdcall*)();
  reinterpret_cast<TClose>(GetProcAddress(module, "ZeltoReminderClose"))();
  EXPECT_TRUE(FreeLibrary(module));
}

TEST(ModuleImage, TheStandaloneProgramCarriesItsManifestWithTheProjectsVersion) {
  HMODULE image = LoadLibraryExA((testing::BuildDirectory() + "Reminder.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(image, nullptr);
  HRSRC resource = FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_NE(resource, nullptr);
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(image, resource))),
                             SizeofResource(image, resource));
  EXPECT_NE(manifest.find("name=\"Orvandel.Zelto.Reminder\" version=\"" REMINDER_VERSION_TEXT "\""),
            std::string::npos);
  EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(manifest.find("<dpiAware"), std::string::npos);
  FreeLibrary(image);
}

}  // namespace
}  // namespace reminder
