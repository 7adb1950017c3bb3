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

// Records as other programs and older versions leave them: without identity, with another
// program's reserved bytes, an old snooze, a snooze or a rule but no identity yet.
std::string MixedFile(std::mt19937& random, int count) {
  const auto pick = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  std::vector<TNotifyInfo> records;
  for (int i = 0; i < count; ++i) {
    TNotifyInfo r;
    r.Notified = static_cast<uint8_t>(pick(0, 1));
    r.NotifyKind = static_cast<uint8_t>(pick(0, 2));
    r.NotifyDate = At(2025, 7, 1) + pick(0, 60 * 1440) / 1440.0;
    r.NotifyText = std::string(static_cast<size_t>(pick(0, 300)), static_cast<char>(pick(1, 255)));
    r.ActionKind = static_cast<uint8_t>(pick(0, kActionCount - 1));
    r.ActionParam = std::string(static_cast<size_t>(pick(0, 40)), 'p');
    r.RepeatKind = static_cast<uint8_t>(pick(0, kRepeatCount - 1));
    r.DaysBefore = pick(0, 30);
    switch (pick(0, 5)) {
      case 0:
        break;
      case 1:
        for (uint8_t& b : r.ReservedBlock) b = static_cast<uint8_t>(pick(0, 255));
        break;
      case 2:
        WriteOldSnooze(r, At(2025, 8, 1, 10));
        break;
      case 3:
        SetSnooze(r, At(2025, 8, 2, 11));
        break;
      case 4:
        SetRule(r, RandomRule(random));
        break;
      default:
        SetIdentity(r, CountingIdentities::Number(static_cast<uint32_t>(1000 + i)));
    }
    records.push_back(r);
  }
  std::string bytes = Encoded(records);
  // Now and then a flipped bit or a file cut short, which --force writes anew.
  if (!bytes.empty() && pick(0, 3) == 0) {
    bytes[static_cast<size_t>(pick(0, static_cast<int>(bytes.size()) - 1))] ^=
        static_cast<char>(1 << pick(0, 7));
  } else if (!bytes.empty() && pick(0, 5) == 0) {
    bytes.resize(static_cast<size_t>(pick(0, static_cast<int>(bytes.size()) - 1)));
  }
  return bytes;
}

// The copy a write over a damaged file kept, or "" when it kept none.
std::string KeptCopy(const MemoryDataFile& file) {
  for (const auto& [path, bytes] : file.files) {
    if (path.rfind("Reminder.dat.beschaedigt-", 0) == 0) return bytes;
  }
  return "";
}

// A data file that hands out its bytes in small pieces and takes the new file part by part,
// as the files on disk do, and tells each read and write as it happens.
class PieceDataFile : public MemoryDataFile {
 public:
  bool ReadPieces(const std::string& path, const TPieceSink& piece) override {
    const auto it = files.find(path);
    if (it == files.end()) return false;
    const std::string bytes = it->second;
    for (size_t at = 0; at < bytes.size(); at += 4096) {
      events += 'r';
      if (onPiece) onPiece();
      if (!piece(std::string_view(bytes).substr(at, 4096))) break;
    }
    return true;
  }
  bool ReplaceFrom(const std::string& path, const TPartProducer& produce) override {
    std::string made;
    if (!produce([&](std::string_view part) {
          events += 'w';
          made += part;
        })) {
      return false;
    }
    return Replace(path, made);
  }
  bool Stamp(const std::string& path, TFileStamp& stamp) override {
    const auto it = files.find(path);
    if (it == files.end()) return false;
    stamp.Size = it->second.size();
    stamp.Written = changes;
    return true;
  }
  std::string events;
  std::function<void()> onPiece;
  int changes = 0;
};

}  // namespace

// Random files, each changed by add, snooze or delete, once by the store as the module saves
// and once by the command: the same bytes, the same identities given in the same order.
TEST_F(ReminderCtl, SingleRecordWritesGiveTheBytesOfTheStoresSave) {
  std::mt19937 random(26);
  for (int round = 0; round < 60; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const std::string data = MixedFile(random, std::uniform_int_distribution<int>(0, 40)(random));
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
    EXPECT_EQ(KeptCopy(files), damaged ? data : "");
    EXPECT_EQ(KeptCopy(storeFile), damaged ? data : "");
  }
}

// The new file is written while the old one is still being read; a file that another
// program changed meanwhile is not written over.
TEST_F(ReminderCtl, SingleRecordWritesStreamAndNeverSaveOverWhatTheyDidNotRead) {
  std::vector<TNotifyInfo> many(4000, CountingIdentities::With(Reminder("Erinnerung"), 1));
  const std::string data = Encoded(many);
  PieceDataFile pieces;
  pieces.files["Reminder.dat"] = data;
  TCtlEnvironment pieceEnv{clock,          pieces,         zone,
                           env.FileExists, "Reminder.dat", TTerminalCharset::Utf8};
  pieceEnv.Identities = &ids;
  std::ostringstream out1, err1;
  ASSERT_EQ(RunReminderCtl({"snooze", "4000", "--minutes", "5"}, out1, err1, pieceEnv), kExitOk)
      << err1.str();
  const size_t firstWrite = pieces.events.find('w');
  ASSERT_NE(firstWrite, std::string::npos);
  EXPECT_LT(firstWrite, pieces.events.rfind('r')) << pieces.events;
  EXPECT_EQ(pieces.files["Reminder.dat"].size(), data.size());

  const std::string written = pieces.files["Reminder.dat"];
  pieces.writes = 0;
  pieces.events.clear();
  pieces.onPiece = [&] {
    if (pieces.events.size() == 50) {
      pieces.files["Reminder.dat"] = data;
      ++pieces.changes;
    }
  };
  std::ostringstream out2, err2;
  EXPECT_EQ(RunReminderCtl({"add", "--text", "x"}, out2, err2, pieceEnv), kExitFailure);
  EXPECT_EQ(err2.str(),
            "reminderctl: Die Datei \"Reminder.dat\" wurde beim Lesen von einem anderen Programm "
            "ge\xC3\xA4ndert; nichts ge\xC3\xA4ndert.\n");
  EXPECT_EQ(out2.str(), "");
  EXPECT_EQ(pieces.writes, 0);
  EXPECT_EQ(pieces.files["Reminder.dat"], data);
  EXPECT_NE(written, data);
}

}  // namespace testing
}  // namespace reminder
