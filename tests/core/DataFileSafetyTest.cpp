// The data file on a real file system shared by several writers: the writers' lock, a
// damaged or unreadable file that must not be written over, read-only files and the
// leftovers of interrupted saves.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/Fakes.h"
#include "core/LocalTimeFake.h"
#include "core/TestDates.h"
#include "core/cli/ReminderCtl.h"
#include "core/store/DataFileFormat.h"
#include "core/store/IOUnit.h"
#include "core/store/ReservedBlock.h"
#include "core/store/ReminderClassUnit.h"

namespace reminder {
namespace {

namespace fs = std::filesystem;
using namespace reminder::testing;

std::string ReadAll(const fs::path& path) {
  TStdDataFile file;
  TFileBytes bytes;
  return file.Read(path.string(), bytes) ? std::string(bytes.View()) : std::string();
}

std::set<std::string> Texts(const std::string& bytes) {
  std::vector<TNotifyInfo> records;
  DecodeRecords(bytes, [&]() -> TNotifyInfo& { return records.emplace_back(); });
  std::set<std::string> texts;
  for (const TNotifyInfo& r : records) texts.insert(r.NotifyText);
  return texts;
}

class DataFileSafety : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("reminder-safety-" + std::to_string(getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  int Ctl(std::vector<std::string> args) {
    args.push_back("--file");
    args.push_back(DataFile());
    std::ostringstream out;
    std::ostringstream errStream;
    const int code = RunReminderCtl(args, out, errStream, env);
    err = errStream.str();
    return code;
  }
  int Add(const std::string& text, bool force = false) {
    std::vector<std::string> args = {"add", "--text", text, "--trigger", "never"};
    if (force) args.push_back("--force");
    return Ctl(args);
  }
  std::string DataFile() const { return (dir / "Reminder.dat").string(); }

  fs::path dir;
  TStdDataFile files;
  FakeClock clock{At(2025, 7, 24, 8, 50)};
  FixedOffsetTime zone;
  TCtlEnvironment env{clock,          files,
                      zone,           [](const std::string& path) { return fs::exists(path); },
                      "Reminder.dat", TTerminalCharset::Utf8};
  std::string err;
};

// Two processes add at the same time; each add reads, changes and writes the whole file.
TEST_F(DataFileSafety, ConcurrentWritersLoseNothing) {
  constexpr int kEach = 150;
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  const std::string who = child == 0 ? "Kind-" : "Eltern-";
  int failures = 0;
  for (int i = 0; i < kEach; ++i) failures += Add(who + std::to_string(i)) != kExitOk;
  if (child == 0) _exit(failures == 0 ? 0 : 1);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(failures, 0);
  const std::set<std::string> texts = Texts(ReadAll(DataFile()));
  EXPECT_EQ(texts.size(), 2u * kEach);
  EXPECT_TRUE(texts.count("Kind-0") && texts.count("Eltern-149"));
}

TEST_F(DataFileSafety, ALockHeldElsewhereMakesAWriterGiveUpWithoutChange) {
  ASSERT_EQ(Add("eins"), kExitOk);
  const std::string before = ReadAll(DataFile());
  TStdDataFile other(0);
  const auto hold = other.LockForUpdate(DataFile());
  ASSERT_NE(hold, nullptr);
  TStdDataFile impatient(50);
  TCtlEnvironment impatientEnv{clock,          impatient,      zone,
                               env.FileExists, "Reminder.dat", TTerminalCharset::Utf8};
  std::ostringstream out;
  std::ostringstream errStream;
  EXPECT_EQ(RunReminderCtl({"add", "--text", "zwei", "--trigger", "never", "--file", DataFile()},
                           out, errStream, impatientEnv),
            kExitFailure);
  EXPECT_NE(errStream.str().find("wird gerade von einem anderen Programm geschrieben"),
            std::string::npos);
  EXPECT_EQ(ReadAll(DataFile()), before);
}

// One flipped bit in a text's length costs that record; the records after it stay. Every
// damaged original is kept under a name of its own.
TEST_F(DataFileSafety, ADamagedFileIsKeptByteForByteBeforeItIsWrittenAnew) {
  for (int i = 0; i < 3; ++i) ASSERT_EQ(Add("Erinnerung " + std::to_string(i)), kExitOk);
  std::string damaged = ReadAll(DataFile());
  damaged[11] ^= 0x01;  // high byte of the first text's length
  {
    TStdDataFile raw;
    ASSERT_TRUE(raw.Replace(DataFile(), damaged));
  }

  EXPECT_EQ(Add("neu"), kExitFailure);
  EXPECT_NE(err.find("ist besch"), std::string::npos) << err;
  EXPECT_NE(err.find("Gelesen: 2 Erinnerungen; nicht oder nur zum Teil lesbar: etwa 1 Erinnerung."),
            std::string::npos)
      << err;
  EXPECT_NE(err.find("--force"), std::string::npos);
  EXPECT_EQ(ReadAll(DataFile()), damaged);

  EXPECT_EQ(Add("neu", true), kExitOk);
  std::vector<fs::path> kept;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().filename().string().rfind("Reminder.dat.beschaedigt-", 0) == 0) {
      kept.push_back(entry.path());
    }
  }
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(ReadAll(kept[0]), damaged);
  EXPECT_NE(err.find(kept[0].filename().string()), std::string::npos) << err;
  const std::set<std::string> kept1 = {"Erinnerung 1", "Erinnerung 2", "neu"};
  EXPECT_EQ(Texts(ReadAll(DataFile())), kept1);
  // Written anew, the file is whole again: the next change keeps no further copy.
  EXPECT_EQ(Add("danach"), kExitOk);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 3);  // data, copy, lock

  // Damaged again within the same second: the first copy stays as it was.
  std::string again = ReadAll(DataFile());
  again[11] ^= 0x01;
  ASSERT_TRUE(TStdDataFile().Replace(DataFile(), again));
  EXPECT_EQ(Add("zweimal", true), kExitOk);
  EXPECT_EQ(ReadAll(kept[0]), damaged);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 4);
}

TEST_F(DataFileSafety, AReadOnlyFileOrADirectoryIsNotWritten) {
  ASSERT_EQ(Add("eins"), kExitOk);
  const std::string before = ReadAll(DataFile());
  fs::permissions(DataFile(), fs::perms::owner_read | fs::perms::group_read);
  EXPECT_EQ(Add("zwei"), kExitFailure);
  EXPECT_NE(err.find("ist schreibgesch"), std::string::npos) << err;
  EXPECT_EQ(ReadAll(DataFile()), before);

  fs::remove(DataFile());
  fs::create_directories(fs::path(DataFile()) / "inhalt");
  EXPECT_EQ(Add("drei"), kExitFailure);
  EXPECT_NE(err.find("ist ein Verzeichnis"), std::string::npos) << err;

  // Where not even the lock file can be made, the message says so rather than blaming
  // another writer.
  std::ostringstream out;
  std::ostringstream errStream;
  const std::string missing = (dir / "fehlt" / "Reminder.dat").string();
  EXPECT_EQ(RunReminderCtl({"add", "--text", "vier", "--file", missing}, out, errStream, env),
            kExitFailure);
  EXPECT_NE(errStream.str().find("kann nicht geschrieben werden: Die Sperrdatei"),
            std::string::npos)
      << errStream.str();
}

TEST_F(DataFileSafety, TheNextSaveRemovesLeftoversOfAnInterruptedOne) {
  ASSERT_EQ(Add("eins"), kExitOk);
  const fs::path leftover = dir / "Reminder.dat.tmp12345";
  const fs::path foreign = dir / "Reminder.dat.sicherung";
  TStdDataFile raw;
  ASSERT_TRUE(raw.Replace(leftover.string(), "halb"));
  ASSERT_TRUE(raw.Replace(foreign.string(), "fremd"));
  fs::last_write_time(leftover, fs::last_write_time(leftover) - std::chrono::hours(1));
  ASSERT_EQ(Add("zwei"), kExitOk);
  EXPECT_FALSE(fs::exists(leftover));
  EXPECT_TRUE(fs::exists(foreign));
}

// The module's list and another writer between two of its saves: each keeps the other's
// changes; a change made to a record that the other changed meanwhile is dropped, and said.
TEST_F(DataFileSafety, ASaveKeepsWhatAnotherWriterChangedMeanwhile) {
  for (const char* text : {"eins", "zwei", "drei"}) ASSERT_EQ(Add(text), kExitOk);
  FakeMsgBox box;
  TFileIO module(DataFile(), files, box);
  int reloads = 0;
  module.SetOnReloaded([&] { ++reloads; });
  module.Load();
  TNotifyInfo* three = &module.Item(2);

  ASSERT_EQ(Add("fremd"), kExitOk);
  ASSERT_EQ(Ctl({"delete", "2"}), kExitOk);
  module.Item(0).NotifyText = "eins geändert";
  module.Add(module.Item(0));
  EXPECT_EQ(reloads, 1);
  EXPECT_TRUE(box.shown.empty());
  const std::set<std::string> expected = {"eins geändert", "drei", "fremd", "eins geändert"};
  EXPECT_EQ(Texts(ReadAll(DataFile())), expected);
  ASSERT_EQ(module.Count(), 4u);
  EXPECT_EQ(&module.Item(1), three) << "records still there keep their place in memory";

  {
    TFileIO other(DataFile(), files, box);
    other.Load();
    other.Item(1).NotifyText = "drei von anderswo";
    ASSERT_TRUE(other.Save());
  }
  three->NotifyText = "drei von hier";
  EXPECT_TRUE(module.Save());
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_NE(box.shown[0].text.find("\"drei von hier\""), std::string::npos) << box.shown[0].text;
  EXPECT_EQ(module.SerialOf(three), 0u);
  const std::string onDisk = ReadAll(DataFile());
  EXPECT_TRUE(Texts(onDisk).count("drei von anderswo"));
  EXPECT_FALSE(Texts(onDisk).count("drei von hier"));

  // A file that appears after the start fills the list at the next due check.
  fs::remove(DataFile());
  TimerState timer;
  FakeDialUp dialUp;
  TReminder late(DataFile(), files, box, std::make_unique<FakeTimer>(timer), clock, dialUp);
  int lateReloads = 0;
  late.SetOnReloaded([&] { ++lateReloads; });
  late.Load();
  late.CheckNotifications();
  ASSERT_EQ(Add("spaeter"), kExitOk);
  late.CheckNotifications();
  EXPECT_EQ(lateReloads, 1);
  EXPECT_EQ(late.Count(), 1u);
}

// A data file that is a symbolic link stays one: saves go to the file it points to.
TEST_F(DataFileSafety, SavesAndExportWriteThroughALinkAndExportToStandardOutput) {
  fs::create_directories(dir / "echt");
  fs::create_symlink(fs::path("echt") / "daten.dat", DataFile());
  ASSERT_EQ(Ctl({"add", "--text", "Termin", "--date", "24.07.2025", "--time", "10:00"}), kExitOk);
  ASSERT_EQ(Add("zweiter"), kExitOk);
  EXPECT_TRUE(fs::is_symlink(DataFile()));
  const std::set<std::string> both = {"Termin", "zweiter"};
  EXPECT_EQ(Texts(ReadAll(dir / "echt" / "daten.dat")), both);
  ASSERT_EQ(Ctl({"delete", "2"}), kExitOk);
  const fs::path target = dir / "kalender.ics";
  const fs::path link = dir / "verweis.ics";
  fs::create_symlink(target, link);
  ASSERT_EQ(Ctl({"export", link.string()}), kExitOk);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_NE(ReadAll(target).find("SUMMARY:Termin"), std::string::npos);

  std::ostringstream out;
  std::ostringstream errStream;
  ASSERT_EQ(RunReminderCtl({"export", "--file", DataFile(), "-"}, out, errStream, env), kExitOk);
  EXPECT_EQ(out.str(), ReadAll(target));
  EXPECT_EQ(errStream.str(), "1 Termin exportiert.\n");

  std::istringstream in(out.str());
  env.In = &in;
  ASSERT_EQ(Ctl({"import", "-"}), kExitOk);
  std::vector<TNotifyInfo> records;
  DecodeRecords(ReadAll(DataFile()), [&]() -> TNotifyInfo& { return records.emplace_back(); });
  // The event is the reminder already there, found by its UID.
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].NotifyText, "Termin");
  EXPECT_TRUE(fs::is_symlink(DataFile()));
}

// A thousand varied reminders, some with foreign bytes in their reserved block.
std::vector<TNotifyInfo> VariedRecords(std::mt19937& random) {
  std::vector<TNotifyInfo> records(1000);
  const auto upTo = [&random](int n) { return static_cast<int>(random() % (n + 1)); };
  for (TNotifyInfo& r : records) {
    for (int i = upTo(60); i >= 0; --i) r.NotifyText += static_cast<char>(" aeinrstAEZ"[upTo(10)]);
    r.NotifyKind = static_cast<uint8_t>(upTo(2));
    r.NotifyDate = r.NotifyKind == nkDialUp ? 0.0 : 45000 + upTo(2000) + upTo(1439) / 1440.0;
    r.ActionKind = static_cast<uint8_t>(upTo(kActionCount - 1));
    if (r.ActionKind == akEmail)
      r.ActionParam = "name" + std::to_string(upTo(999)) + "@example.org";
    r.RepeatKind = static_cast<uint8_t>(upTo(kRepeatCount - 1));
    r.Notified = static_cast<uint8_t>(upTo(1));
    r.LastNotified = upTo(1) ? r.NotifyDate + upTo(30) : 0.0;
    r.DaysBefore = upTo(30);
    if (upTo(9) == 0) {
      for (uint8_t& byte : r.ReservedBlock) byte = static_cast<uint8_t>(upTo(255));
    } else {
      // As the store saves them: with an identity of their own.
      TIdentity identity;
      for (uint8_t& byte : identity.Bytes) byte = static_cast<uint8_t>(1 + upTo(254));
      SetIdentity(r, identity);
    }
  }
  return records;
}

bool InTables(const TNotifyInfo& r) {
  return r.Notified <= 1 && r.NotifyKind <= nkAtDate && r.ActionKind < kActionCount &&
         r.RepeatKind < kRepeatCount;
}

// One flipped bit anywhere costs at most the reminders it touches, and a record read from
// damaged bytes is never written with values outside the tables.
TEST(DataFileDamage, AFlippedBitCostsAtMostTwoOfAThousandReminders) {
  std::mt19937 random(23);
  std::string original;
  std::map<std::string, int> originals;
  for (const TNotifyInfo& r : VariedRecords(random)) {
    std::string bytes;
    EncodeRecord(bytes, r);
    ++originals[bytes];
    original += bytes;
  }
  for (int flip = 0; flip < 200; ++flip) {
    const size_t bit = random() % (original.size() * 8);
    MemoryDataFile file;
    file.files["Reminder.dat"] = original;
    file.files["Reminder.dat"][bit / 8] ^= static_cast<char>(1 << (bit % 8));
    FakeMsgBox box;
    TFileIO store("Reminder.dat", file, box);
    store.Load();
    const bool damaged = store.LoadState() == TLoadState::Damaged;
    ASSERT_TRUE(store.Save());
    std::map<std::string, int> left = originals;
    int kept = 0;
    int other = 0;
    std::vector<TNotifyInfo> saved;
    DecodeRecords(file.files["Reminder.dat"],
                  [&]() -> TNotifyInfo& { return saved.emplace_back(); });
    for (const TNotifyInfo& r : saved) {
      std::string bytes;
      EncodeRecord(bytes, r);
      if (left[bytes]-- > 0) {
        ++kept;
      } else {
        ++other;
        EXPECT_TRUE(!damaged || InTables(r)) << "bit " << bit;
      }
    }
    EXPECT_GE(kept, 998) << "bit " << bit;
    EXPECT_LE(other, 1) << "bit " << bit;
    if (damaged) {
      ASSERT_EQ(box.shown.size(), 1u);
      EXPECT_NE(box.shown[0].text.find("Gelesen: " + std::to_string(saved.size())),
                std::string::npos)
          << box.shown[0].text;
    }
  }
}

// The module's store: a file that is there but cannot be read is never saved over.
TEST(DataFileUnreadable, AnEditFailsWithAMessageAndTheFileIsLeftAlone) {
  class Unreadable : public MemoryDataFile {
   public:
    bool Read(const std::string&, TFileBytes&) override { return false; }
    bool Exists(const std::string&) override { return true; }
  } file;
  FakeMsgBox box;
  TFileIO store("Reminder.dat", file, box);
  store.Load();
  EXPECT_EQ(store.LoadState(), TLoadState::Unreadable);
  TNotifyInfo values;
  values.NotifyText = "neu";
  store.Add(values);
  EXPECT_EQ(file.writes, 0);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_NE(box.shown[0].text.find("konnte nicht gelesen werden"), std::string::npos);
}

}  // namespace
}  // namespace reminder
