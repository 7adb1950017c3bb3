// The commands that change single records write the data file anew as they read it: the
// same bytes as the store's save, with the file never held whole.
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/RandomRule.h"
#include "core/ReminderCtlFixture.h"
#include "core/store/IOUnit.h"
#include "core/store/RepeatRule.h"
#include "core/store/Snooze.h"

namespace reminder {
namespace testing {

namespace {

// Records as other programs and older versions leave them (without identity, with another
// program's reserved bytes, an old snooze, a snooze or a rule but no identity yet), now and
// then with a flipped bit or cut short.
std::string MixedFile(std::mt19937& random) {
  const auto pick = [&](int high) { return std::uniform_int_distribution<int>(0, high)(random); };
  const auto byte = [&](int high) { return static_cast<uint8_t>(pick(high)); };
  std::vector<TNotifyInfo> records(static_cast<size_t>(pick(40)));
  for (TNotifyInfo& r : records) {
    r.NotifyDate = At(2025, 7, 1) + pick(86400) / 1440.0;
    r.NotifyText = std::string(byte(255), static_cast<char>(1 + pick(254)));
    r.ActionParam = std::string(byte(40), 'p');
    r.DaysBefore = pick(30);
    r.Notified = byte(1);
    r.NotifyKind = byte(2);
    r.ActionKind = byte(kActionCount - 1);
    r.RepeatKind = byte(kRepeatCount - 1);
    const int block = pick(5);
    if (block == 1)
      for (uint8_t& b : r.ReservedBlock) b = byte(255);
    if (block == 2) WriteOldSnooze(r, At(2025, 8, 1, 10));
    if (block == 3) SetSnooze(r, At(2025, 8, 2, 11));
    if (block == 4) SetRule(r, RandomRule(random));
    if (block == 5) SetIdentity(r, CountingIdentities::Number(1000 + byte(255)));
  }
  std::string bytes = Encoded(records);
  if (bytes.empty()) return bytes;
  const int damage = pick(7);
  const size_t at = static_cast<size_t>(pick(static_cast<int>(bytes.size()) - 1));
  if (damage == 0) bytes[at] = static_cast<char>(bytes[at] ^ (1 << pick(7)));
  if (damage == 1) bytes.resize(at);
  return bytes;
}

// A data file on disk as the commands meet it: read in small pieces, written part by part,
// with a stamp that another program's write changes. Each read and write is told in events.
class PieceDataFile : public MemoryDataFile {
 public:
  bool ReadPieces(const std::string& path, const TPieceSink& piece) override {
    const std::string bytes = files[path];
    for (size_t at = 0; at < bytes.size() && piece(std::string_view(bytes).substr(at, 4096));
         at += 4096) {
      events += 'r';
      if (events.size() == otherWriterAt) ++changes;
    }
    return true;
  }
  bool ReplaceFrom(const std::string& path, const TPartProducer& produce) override {
    std::string made;
    return !noTemporaryFile &&
           produce([&](std::string_view part) { events += 'w', made += part; }) &&
           Replace(path, made);
  }
  bool Stamp(const std::string&, TFileStamp& stamp) override {
    stamp.Written = changes;
    return true;
  }
  std::string events;
  size_t otherWriterAt = 0;
  bool noTemporaryFile = false;
  int changes = 0;
};

}  // namespace

// Random files, each changed by add, snooze or delete, once by the store as the module saves
// and once by the command: the same bytes, the same identities given in the same order.
TEST_F(ReminderCtl, SingleRecordWritesGiveTheBytesOfTheStoresSave) {
  std::mt19937 random(26);
  for (int round = 0; round < 60; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const std::string data = MixedFile(random);
    MemoryDataFile storeFile;
    storeFile.files["Reminder.dat"] = data;
    FakeMsgBox box;
    CountingIdentities storeIds;
    TFileIO store("Reminder.dat", storeFile, box);
    store.SetIdentitySource(storeIds);
    store.Load();
    const bool damaged = store.LoadState() == TLoadState::Damaged;
    const int count = static_cast<int>(store.Count());
    const int command = count == 0 ? 0 : std::uniform_int_distribution<int>(0, 2)(random);
    const auto number = [&] { return std::uniform_int_distribution<int>(1, count)(random); };
    std::vector<std::string> args;
    if (command == 0) {
      args = {"add",   "--text",   "neu",   "--date", "2025-08-01", "--time",
              "07:05", "--repeat", "daily", "--days", "3"};
      TNotifyInfo added = Reminder("neu", rkDaily);
      added.NotifyDate = At(2025, 8, 1, 7, 5);
      added.DaysBefore = 3;
      store.AddRecords({added});
    } else if (command == 1) {
      const int n = number();
      args = {"snooze", std::to_string(n), "--minutes", "90"};
      SetSnooze(store.Item(static_cast<size_t>(n - 1)), clock.now + EncodeTime(0, 90, 0, 0));
      store.Save();
    } else {
      args = {"delete"};
      std::vector<const TNotifyInfo*> doomed;
      for (int k = 0; k < 3; ++k) {
        const int n = number();
        args.push_back(std::to_string(n));
        doomed.push_back(&store.Item(static_cast<size_t>(n - 1)));
      }
      store.DeleteAll(doomed);
    }
    if (damaged) args.push_back("--force");

    files.files = {{"Reminder.dat", data}};
    ids.issued = 0;
    ASSERT_EQ(Run(args), kExitOk) << err;
    EXPECT_EQ(files.files["Reminder.dat"], storeFile.files["Reminder.dat"]);
    EXPECT_EQ(ids.issued, storeIds.issued);
    // A damaged original was kept beside it, by both alike.
    EXPECT_EQ(files.files.size(), damaged ? 2u : 1u);
    EXPECT_EQ(storeFile.files.size(), files.files.size());
  }
}

// The new file is written while the old one is still being read; a file that another
// program changed meanwhile is not written over.
TEST_F(ReminderCtl, SingleRecordWritesStreamAndNeverSaveOverWhatTheyDidNotRead) {
  const std::string data =
      Encoded(std::vector<TNotifyInfo>(4000, CountingIdentities::With(Reminder("x"), 1)));
  PieceDataFile pieces;
  pieces.files["Reminder.dat"] = data;
  TCtlEnvironment pieceEnv{clock, pieces, zone, env.FileExists, "Reminder.dat"};
  std::ostringstream out1, err1, out2, err2;
  ASSERT_EQ(RunReminderCtl({"snooze", "4000", "--minutes", "5"}, out1, err1, pieceEnv), kExitOk);
  EXPECT_LT(pieces.events.find('w'), pieces.events.rfind('r')) << pieces.events;
  EXPECT_NE(pieces.files["Reminder.dat"], data);

  pieces.files["Reminder.dat"] = data;
  pieces.writes = 0;
  pieces.events.clear();
  pieces.otherWriterAt = 50;
  EXPECT_EQ(RunReminderCtl({"add", "--text", "x"}, out2, err2, pieceEnv), kExitFailure);
  EXPECT_EQ(err2.str(),
            "reminderctl: Die Datei \"Reminder.dat\" wurde beim Lesen von einem anderen Programm "
            "ge\xC3\xA4ndert; nichts ge\xC3\xA4ndert.\n");
  EXPECT_EQ(pieces.files["Reminder.dat"], data);
  EXPECT_EQ(pieces.writes, 0);

  // Where not even the temporary file can be made, the write error is told.
  pieces.noTemporaryFile = true;
  std::ostringstream out3, err3;
  EXPECT_EQ(RunReminderCtl({"delete", "1"}, out3, err3, pieceEnv), kExitFailure);
  EXPECT_EQ(err3.str(), "reminderctl: Beim Schreiben der Informationen trat ein Fehler auf!\n");
  EXPECT_EQ(pieces.files["Reminder.dat"], data);
}

}  // namespace testing
}  // namespace reminder
