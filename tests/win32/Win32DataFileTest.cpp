// The data file on the real file system: whole-file reads, and saves that put the new
// content in place in one step or leave the old file as it was.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "core/store/DataFileFormat.h"
#include "core/store/IOUnit.h"
#include "win32/store/Win32DataFile.h"
#include "win32/support/MsgBoxCatcher.h"
#include "win32/support/TempDirectory.h"
#include "win32/system/Win32MsgBox.h"

namespace reminder {
namespace {

using testing::BoxIcon;
using testing::MsgBoxCatcher;
using testing::ReadWholeFile;
using testing::TempDirectory;
using testing::WriteWholeFile;

const std::vector<std::string> kOnlyDataFile = {"Reminder.dat"};
// After a save: the data file and the writers' lock file.
const std::vector<std::string> kDataAndLockFile = {"Reminder.dat", "Reminder.dat.lock"};

// Opens the file the way another program reading it would, without letting it be
// deleted or replaced while open.
HANDLE HoldOpen(const std::string& path) {
  return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

TNotifyInfo Record(const std::string& text) {
  TNotifyInfo record;
  record.NotifyKind = nkAtDate;
  record.NotifyDate = EncodeDateTime({2030, 5, 17}, {10, 0, 0, 0});
  record.NotifyText = text;
  record.ActionKind = akWarning;
  record.RepeatKind = rkOnce;
  record.DaysBefore = 3;
  return record;
}

TEST(Win32DataFileTest, ReplaceCreatesAndOverwritesAndReadGivesEveryByte) {
  TempDirectory dir;
  const std::string path = dir.File("Reminder.dat");
  TWin32DataFile file;
  TFileBytes bytes;
  bytes.size = 5;
  EXPECT_FALSE(file.Read(path, bytes));
  EXPECT_EQ(bytes.size, 0u);

  std::string content(70000, '\0');
  for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7);
  ASSERT_TRUE(file.Replace(path, content));
  ASSERT_TRUE(file.Read(path, bytes));
  EXPECT_EQ(bytes.View(), content);

  ASSERT_TRUE(file.Replace(path, "kurz"));
  ASSERT_TRUE(file.Read(path, bytes));
  EXPECT_EQ(bytes.View(), "kurz");
  ASSERT_TRUE(file.Replace(path, ""));
  EXPECT_TRUE(file.Read(path, bytes));
  EXPECT_EQ(bytes.size, 0u);
  EXPECT_EQ(dir.FileNames(), kOnlyDataFile);
}

// The store hands its records over in parts; each is written after the one before.
TEST(Win32DataFileTest, ReplaceInPartsWritesThePartsInOrder) {
  TempDirectory dir;
  const std::string path = dir.File("Reminder.dat");
  TWin32DataFile file;
  const std::vector<std::string> parts = {"eins", std::string(70000, 'z'), "drei"};
  size_t next = 0;
  ASSERT_TRUE(file.ReplaceInParts(path, [&]() -> std::string_view {
    return next < parts.size() ? std::string_view(parts[next++]) : std::string_view();
  }));
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  EXPECT_EQ(bytes, parts[0] + parts[1] + parts[2]);
  EXPECT_EQ(dir.FileNames(), kOnlyDataFile);
}

// A file read in parts comes whole and in order, and a reader that has enough stops it; a
// new content whose maker gives up replaces nothing.
TEST(Win32DataFileTest, ReadPiecesAndAReplaceWhoseMakerGivesUp) {
  TempDirectory dir;
  const std::string path = dir.File("Reminder.dat");
  std::string content(3 * (1 << 20) + 5, '\0');
  for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7 + i / 4096);
  ASSERT_TRUE(WriteWholeFile(path, content));
  TWin32DataFile file;
  std::string read;
  ASSERT_TRUE(file.ReadPieces(path, [&](std::string_view part) { return read += part, true; }));
  EXPECT_EQ(read, content);
  int pieces = 0;
  ASSERT_TRUE(file.ReadPieces(path, [&](std::string_view) { return ++pieces < 2; }));
  EXPECT_EQ(pieces, 2);
  EXPECT_FALSE(file.ReplaceFrom(path, [](const TPartWrite& write) { return write("neu"), false; }));
  ASSERT_TRUE(ReadWholeFile(path, read));
  EXPECT_EQ(read, content);
  EXPECT_EQ(dir.FileNames(), kOnlyDataFile);
}

TEST(Win32DataFileTest, SaveWaitsForAReaderThatClosesTheFileWithinTheRetryTime) {
  TempDirectory dir;
  const std::string path = dir.File("Reminder.dat");
  ASSERT_TRUE(WriteWholeFile(path, "alt"));
  HANDLE holder = HoldOpen(path);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);

  // Without retrying the open file blocks the replace: so the save below had to wait.
  TWin32DataFile impatient(0);
  ASSERT_FALSE(impatient.Replace(path, "zu früh"));

  std::thread reader([holder] {
    Sleep(200);
    CloseHandle(holder);
  });
  TWin32DataFile file(10000);
  const bool replaced = file.Replace(path, "neu");
  reader.join();
  EXPECT_TRUE(replaced);
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  EXPECT_EQ(bytes, "neu");
  EXPECT_EQ(dir.FileNames(), kOnlyDataFile);
}

// The content of save number n: its number, then a body whose length and filling depend
// on n, so that a read of a mixture or of a part of it is recognised.
std::string Generation(int n) {
  char head[16];
  snprintf(head, sizeof head, "%06d|", n);
  return head + std::string(1000 + (n * 7919) % 60000, static_cast<char>('A' + n % 26)) + "|Ende";
}

int GenerationOf(std::string_view bytes) {
  const int n = atoi(std::string(bytes.substr(0, 6)).c_str());
  return bytes == Generation(n) ? n : -1;
}

TEST(Win32DataFileTest, ConcurrentReaderSeesOnlyWholeOldOrNewContent) {
  TempDirectory dir;
  const std::string path = dir.File("Reminder.dat");
  constexpr int kSaves = 80;
  ASSERT_TRUE(WriteWholeFile(path, Generation(0)));

  std::atomic<bool> saving{true};
  int reads = 0, missing = 0, mixed = 0, older = 0;
  std::thread reader([&] {
    TWin32DataFile readerFile;
    TFileBytes bytes;
    int last = 0;
    while (saving) {
      ++reads;
      if (!readerFile.Read(path, bytes)) {
        ++missing;
        continue;
      }
      const int n = GenerationOf(bytes.View());
      if (n < 0) {
        ++mixed;
      } else if (n < last) {
        ++older;
      } else {
        last = n;
      }
      Sleep(0);
    }
  });
  TWin32DataFile file;
  int saved = 0;
  for (int n = 1; n <= kSaves; ++n) saved += file.Replace(path, Generation(n)) ? 1 : 0;
  saving = false;
  reader.join();

  EXPECT_EQ(saved, kSaves);
  EXPECT_GT(reads, 0);
  EXPECT_EQ(missing, 0);
  EXPECT_EQ(mixed, 0);
  EXPECT_EQ(older, 0);
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  EXPECT_EQ(GenerationOf(bytes), kSaves);
  EXPECT_EQ(dir.FileNames(), kOnlyDataFile);
}

void ExpectWriteErrorBox(const MsgBoxCatcher& catcher) {
  ASSERT_EQ(catcher.Boxes().size(), 1u);
  const auto& box = catcher.Boxes()[0];
  EXPECT_EQ(box.text, "Beim Schreiben der Informationen trat ein Fehler auf!");
  EXPECT_EQ(box.caption, "Fehler");
  EXPECT_EQ(box.icon, BoxIcon::Exclamation);
  EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
}

TEST(Win32DataFileTest, FileHeldOpenPastTheRetryTimeKeepsItsContentAndSaveReports) {
  TempDirectory dir;
  const std::string path = dir.File("Reminder.dat");
  TWin32DataFile file(150);
  TWin32MsgBox box;
  TFileIO store(path, file, box);
  store.Add(Record("erste"));
  std::string before;
  ASSERT_TRUE(ReadWholeFile(path, before));
  ASSERT_FALSE(before.empty());

  HANDLE holder = HoldOpen(path);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  {
    MsgBoxCatcher catcher;
    store.Add(Record("zweite"));
    ExpectWriteErrorBox(catcher);
  }
  std::string after;
  ASSERT_TRUE(ReadWholeFile(path, after));
  EXPECT_EQ(after, before);
  EXPECT_EQ(dir.FileNames(), kDataAndLockFile);
  EXPECT_EQ(store.Count(), 2u);

  // Once the file is free, the next save writes the whole list kept in memory.
  CloseHandle(holder);
  MsgBoxCatcher catcher;
  EXPECT_TRUE(store.Save());
  EXPECT_TRUE(catcher.Boxes().empty());
  TFileIO reloaded(path, file, box);
  reloaded.Load();
  ASSERT_EQ(reloaded.Count(), 2u);
  EXPECT_EQ(reloaded.Item(1).NotifyText, "zweite");
}

TEST(Win32DataFileTest, SaveIntoAMissingDirectoryReportsAndCreatesNothing) {
  TempDirectory dir;
  const std::string missing = dir.File("fehlt");
  TWin32DataFile file(150);
  TWin32MsgBox box;
  TFileIO store(missing + "\\Reminder.dat", file, box);
  MsgBoxCatcher catcher;
  EXPECT_FALSE(store.Save());
  // The lock file beside it is the first thing that cannot be made, and the box says so.
  ASSERT_EQ(catcher.Boxes().size(), 1u);
  EXPECT_NE(catcher.Boxes()[0].text.find("kann nicht geschrieben werden: Die Sperrdatei"),
            std::string::npos)
      << catcher.Boxes()[0].text;
  EXPECT_EQ(GetFileAttributesA(missing.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(dir.FileNames().empty());
}

// Threads stand in for the other processes (reminderctl.exe, a second module): the lock is
// a named mutex, which only one thread of any process holds.
TEST(Win32DataFileTest, OneWriterAtATimeReadOnlyFilesStayAndLeftoversGo) {
  TempDirectory dir;
  const std::string path = dir.File("Reminder.dat");
  const auto lockFromAnotherThread = [](const std::string& at) {
    bool got = false;
    std::thread([&] { got = TWin32DataFile(2000, 100).LockForUpdate(at) != nullptr; }).join();
    return got;
  };
  {
    TWin32DataFile holder(2000, 0);
    const auto hold = holder.LockForUpdate(path);
    ASSERT_NE(hold, nullptr);
    EXPECT_FALSE(lockFromAnotherThread(path));
    std::string otherSpelling = path;
    CharLowerBuffA(&otherSpelling[0], static_cast<DWORD>(otherSpelling.size()));
    EXPECT_FALSE(lockFromAnotherThread(otherSpelling));
    EXPECT_TRUE(lockFromAnotherThread(dir.File("Anderes.dat")));
  }
  EXPECT_TRUE(lockFromAnotherThread(path));

  std::string before;
  EncodeRecord(before, Record("alt"));
  ASSERT_TRUE(WriteWholeFile(path, before));
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  TWin32DataFile file(150);
  TWin32MsgBox box;
  TFileIO store(path, file, box);
  {
    MsgBoxCatcher catcher;
    EXPECT_FALSE(store.Save());
    ASSERT_EQ(catcher.Boxes().size(), 1u);
    EXPECT_NE(catcher.Boxes()[0].text.find("schreibgeschützt"), std::string::npos);
  }
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  EXPECT_EQ(bytes, before);

  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL));
  const std::string leftover = path + ".tmp4711-1";
  ASSERT_TRUE(WriteWholeFile(leftover, "halb"));
  HANDLE old =
      CreateFileA(leftover.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  const FILETIME longAgo = {0, 0x01000000};
  SetFileTime(old, nullptr, nullptr, &longAgo);
  CloseHandle(old);
  EXPECT_TRUE(store.Save());
  const std::vector<std::string> left = {"Anderes.dat.lock", "Reminder.dat", "Reminder.dat.lock"};
  EXPECT_EQ(dir.FileNames(), left);
}

// Counts what a store would show the user.
class CountingMsgBox : public IMsgBox {
 public:
  int Show(const std::string& text, const std::string&, uint32_t, TMsgOwner) override {
    texts.push_back(text);
    return IDOK;
  }
  std::vector<std::string> texts;
};

// The Linux path of a directory, where Wine tells it.
bool UnixPathOf(const std::string& windowsPath, std::string& unixPath) {
  using UnixName = char*(CDECL*)(LPCWSTR);
  const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return false;
  const std::wstring wide(windowsPath.begin(), windowsPath.end());
  char* name = unixName(wide.c_str());
  if (!name) return false;
  unixPath = name;
  HeapFree(GetProcessHeap(), 0, name);
  return true;
}

// The module's store and the native reminderctl (started through Wine, which runs Linux
// programs too) add to one file at the same time, each as its lock allows: nothing either
// of them reported as saved is lost. REMINDER_NATIVE_CTL names the native program; the test
// command sets it.
TEST(Win32DataFileTest, TheModuleAndTheNativeReminderctlNeverLoseEachOthersAdds) {
  const char* native = std::getenv("REMINDER_NATIVE_CTL");
  TempDirectory dir;
  std::string unixDir;
  if (!native || !*native || !UnixPathOf(dir.Path(), unixDir)) {
    GTEST_SKIP() << "needs Wine and REMINDER_NATIVE_CTL";
  }
  constexpr int kNativeAdds = 300;
  ASSERT_TRUE(WriteWholeFile(dir.File("adds.sh"),
                             "i=0\n"
                             "while [ $i -lt " +
                                 std::to_string(kNativeAdds) +
                                 " ]; do\n"
                                 "  i=$((i+1))\n"
                                 "  \"$1\" add --text nativ-$i --trigger never --file "
                                 "\"$2/Reminder.dat\" >/dev/null 2>>\"$2/nativ.err\" &&\n"
                                 "    echo nativ-$i >>\"$2/nativ.ok\"\n"
                                 "done\n"
                                 "touch \"$2/nativ.fertig\"\n"));
  std::string command =
      "/bin/sh \"" + unixDir + "/adds.sh\" \"" + native + "\" \"" + unixDir + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process));
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  const auto nativeDone = [&] {
    return GetFileAttributesA(dir.File("nativ.fertig").c_str()) != INVALID_FILE_ATTRIBUTES;
  };

  TWin32DataFile file;
  CountingMsgBox box;
  TFileIO store(dir.File("Reminder.dat"), file, box);
  store.Load();
  // The module saves as long as the other writes, a few hundred times at least.
  std::vector<std::string> saved;
  const DWORD start = GetTickCount();
  for (int i = 0; (i < 300 || !nativeDone()) && GetTickCount() - start < 300000; ++i) {
    const std::string text = "modul-" + std::to_string(i);
    store.Add(Record(text));
    if (!store.SaveFailed()) saved.push_back(text);
  }
  ASSERT_TRUE(nativeDone());
  EXPECT_EQ(box.texts, std::vector<std::string>());
  std::string nativeOk;
  ASSERT_TRUE(ReadWholeFile(dir.File("nativ.ok"), nativeOk));
  for (size_t at = 0, end; (end = nativeOk.find('\n', at)) != std::string::npos; at = end + 1) {
    saved.push_back(nativeOk.substr(at, end - at));
  }
  EXPECT_GE(saved.size(), 300u + kNativeAdds);

  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(dir.File("Reminder.dat"), bytes));
  std::set<std::string> texts;
  std::vector<TNotifyInfo> records;
  DecodeRecords(bytes, [&]() -> TNotifyInfo& { return records.emplace_back(); });
  for (const TNotifyInfo& record : records) texts.insert(record.NotifyText);
  std::vector<std::string> lost;
  for (const std::string& text : saved) {
    if (!texts.count(text)) lost.push_back(text);
  }
  EXPECT_EQ(lost, std::vector<std::string>());
}

TEST(Win32DataFileTest, DataFileLiesBesideTheRunningProgram) {
  const std::string program = ExecutablePath();
  ASSERT_GT(program.size(), 3u);
  EXPECT_EQ(program.substr(1, 2), ":\\") << program;
  const DWORD attributes = GetFileAttributesA(program.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << program;
  EXPECT_EQ(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);

  const size_t separator = program.find_last_of('\\');
  const std::string name = program.substr(separator + 1);
  EXPECT_EQ(_stricmp(name.c_str(), "win32_tests.exe"), 0) << name;
  EXPECT_EQ(DataFileBeside(program), program.substr(0, separator + 1) + "Reminder.dat");
}

}  // namespace
}  // namespace reminder
