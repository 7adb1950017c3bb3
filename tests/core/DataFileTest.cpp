#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "core/Fakes.h"
#include "core/store/DataFileFormat.h"
#include "core/store/DueRules.h"
#include "core/store/IOUnit.h"
#include "core/store/NotifyInfo.h"
#include "core/store/Snooze.h"

namespace reminder {
namespace {

using testing::CountingIdentities;
using testing::FakeMsgBox;
using testing::MemoryDataFile;

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

TNotifyInfo WorkedExample() {
  TNotifyInfo r;
  r.NotifyKind = nkAtDate;
  r.NotifyDate = EncodeDate(2000, 7, 24) + EncodeTime(9, 30, 0, 0);
  r.NotifyText = "abc";
  r.ActionKind = akWarning;
  r.RepeatKind = rkOnce;
  r.DaysBefore = 3;
  return r;
}

std::vector<std::unique_ptr<TNotifyInfo>> Decode(const std::string& bytes) {
  std::vector<std::unique_ptr<TNotifyInfo>> records;
  DecodeRecords(bytes, [&]() -> TNotifyInfo& {
    records.push_back(std::make_unique<TNotifyInfo>());
    return *records.back();
  });
  return records;
}

TEST(DataFileFormat, WorkedExampleByteForByte) {
  std::string out;
  EncodeRecord(out, WorkedExample());
  const std::string expected =
      Bytes({0x00, 0x02, 0xAB, 0xAA, 0xAA, 0xAA, 0x6C, 0xEF, 0xE1, 0x40, 0x03,
             0x00, 'a',  'b',  'c',  0x01, 0x00, 0x00, 0x01, 0,    0,    0,
             0,    0,    0,    0,    0,    0x03, 0x00, 0x00, 0x00}) +
      std::string(54, '\0');
  ASSERT_EQ(out.size(), 85u);
  EXPECT_EQ(out, expected);
  const auto back = Decode(out);
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(*back[0], WorkedExample());
}

TEST(DataFileFormat, EveryFieldSurvivesARoundTrip) {
  TNotifyInfo a = WorkedExample();
  a.Notified = 1;
  a.LastNotified = 40000.25;
  a.DaysBefore = -123456;
  a.ActionParam = "C:\\Programme\\Zähler.exe";
  a.Reserved1 = 0xFE;
  a.Reserved2 = 7;
  for (size_t i = 0; i < a.ReservedBlock.size(); ++i) a.ReservedBlock[i] = static_cast<uint8_t>(i);
  TNotifyInfo b;  // all defaults, both strings empty
  TNotifyInfo c = WorkedExample();
  c.NotifyKind = 200;  // values outside the tables stay as they are
  c.ActionKind = 99;
  c.RepeatKind = 6;
  c.NotifyDate = std::nan("");
  std::string out;
  for (const TNotifyInfo* r : {&a, &b, &c}) EncodeRecord(out, *r);
  const auto back = Decode(out);
  ASSERT_EQ(back.size(), 3u);
  EXPECT_EQ(*back[0], a);
  EXPECT_EQ(*back[1], b);
  EXPECT_EQ(*back[2], c);
}

TEST(DataFileFormat, EmptyStringsGiveTheFixedRecordSize) {
  std::string out;
  EncodeRecord(out, TNotifyInfo());
  EncodeRecord(out, TNotifyInfo());
  EXPECT_EQ(out.size(), 2 * kRecordFixedSize);
  EXPECT_EQ(Decode(out).size(), 2u);
  EXPECT_TRUE(Decode("").empty());
}

TEST(DataFileFormat, AStringIsCutAtItsFirstZeroByte) {
  TNotifyInfo r = WorkedExample();
  r.NotifyText = std::string("ab\0cd", 5);
  r.ActionParam = std::string("\0x", 2);
  std::string out;
  EncodeRecord(out, r);
  const auto back = Decode(out);
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back[0]->NotifyText, "ab");
  EXPECT_EQ(back[0]->ActionParam, "");
  EXPECT_EQ(back[0]->RepeatKind, rkOnce);  // the fields after the strings stay in place
}

TEST(DataFileFormat, ATextBeyond65535CharactersIsStoredCutToItsLowLength) {
  TNotifyInfo r;
  r.NotifyText = std::string(65537, 'x');
  std::string out;
  EncodeRecord(out, r);
  EXPECT_EQ(out.size(), kRecordFixedSize + 1);
  EXPECT_EQ(Decode(out)[0]->NotifyText, "x");
}

// A file cut anywhere gives the complete records and one more with what could be read.
TEST(DataFileFormat, TruncatedFilesKeepWhatWasRead) {
  std::string full;
  EncodeRecord(full, WorkedExample());
  TNotifyInfo second = WorkedExample();
  second.NotifyText = "zweiter";
  second.DaysBefore = 0x01020304;
  EncodeRecord(full, second);
  const size_t firstSize = 85;
  for (size_t cut = 1; cut < full.size(); ++cut) {
    const auto back = Decode(full.substr(0, cut));
    ASSERT_EQ(back.size(), cut <= firstSize ? 1u : 2u) << cut;
  }
  // Cut inside the second text: the text keeps its first characters, the rest is zero.
  const auto partText = Decode(full.substr(0, firstSize + 12 + 3));
  EXPECT_EQ(partText[1]->NotifyText, "zwe");
  EXPECT_EQ(partText[1]->DaysBefore, 0);
  // Cut inside DaysBefore: the bytes read stay, the missing ones are zero.
  const auto partNumber = Decode(full.substr(0, firstSize + 24 + 7 + 2));
  EXPECT_EQ(partNumber[1]->DaysBefore, 0x0304);
  EXPECT_EQ(partNumber[1]->ActionKind, akWarning);
}

// A file that arrives in parts of any size decodes to the same records as the whole file,
// the record cut short by its end included; also with the strings left out at first and
// decoded from the record's bytes afterwards, texts cut at a zero character and all.
TEST(DataFileFormat, DecodingInPartsGivesTheSameRecords) {
  std::string bytes;
  TNotifyInfo second = WorkedExample();
  second.NotifyText = std::string(300, 'x');
  second.ActionParam = "mailto";
  TNotifyInfo zeros = WorkedExample();
  zeros.NotifyText = std::string("vor\0nach", 8);
  zeros.ActionParam = std::string("\0", 1);
  for (const TNotifyInfo& r : {WorkedExample(), second, TNotifyInfo(), zeros, WorkedExample()}) {
    EncodeRecord(bytes, r);
  }
  bytes.resize(bytes.size() - 7);
  const auto whole = Decode(bytes);
  for (const bool deferred : {false, true}) {
    for (size_t partSize : {1u, 2u, 11u, 13u, 82u, 100u, 4096u}) {
      std::vector<std::unique_ptr<TNotifyInfo>> records;
      TRecordStreamDecoder decoder([&]() -> TNotifyInfo& {
        records.push_back(std::make_unique<TNotifyInfo>());
        return *records.back();
      });
      decoder.SetStringsDeferred(deferred);
      decoder.SetOnRecordBytes([&](std::string_view recordBytes) {
        if (!deferred) return;
        // The first record is complete: its text waits for DecodeRecordStrings.
        if (records.size() == 1) {
          EXPECT_TRUE(records.back()->NotifyText.empty());
        }
        DecodeRecordStrings(recordBytes, *records.back());
      });
      for (size_t at = 0; at < bytes.size(); at += partSize) {
        decoder.Feed(std::string_view(bytes).substr(at, partSize));
      }
      decoder.Finish();
      EXPECT_FALSE(decoder.Exact());
      EXPECT_EQ(decoder.Lost(), 2u);
      ASSERT_EQ(records.size(), whole.size()) << partSize;
      for (size_t i = 0; i < records.size(); ++i) EXPECT_EQ(*records[i], *whole[i]) << partSize;
    }
  }
}

// The command-line tool decodes every record into the same one.
TEST(DataFileFormat, DecodingIntoAUsedRecordSetsEveryField) {
  TNotifyInfo used = WorkedExample();
  used.ActionParam = "alt";
  used.LastNotified = 99;
  used.Reserved2 = 5;
  used.ReservedBlock.fill(0xEE);
  std::string bytes;
  EncodeRecord(bytes, WorkedExample());
  DecodeRecords(bytes.substr(0, 40), [&]() -> TNotifyInfo& { return used; });
  EXPECT_EQ(used.NotifyText, "abc");
  EXPECT_EQ(used.ActionParam, "");
  EXPECT_EQ(used.LastNotified, 0.0);
  EXPECT_EQ(used.Reserved2, 0);
  EXPECT_EQ(used.ReservedBlock, (std::array<uint8_t, kReservedBlockSize>{}));
}

TEST(DataFileFormat, ALengthBeyondTheEndReadsOnlyWhatIsThere) {
  const std::string bytes = Bytes({0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 'h', 'i'});
  const auto back = Decode(bytes);
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back[0]->NotifyText, "hi");
  EXPECT_EQ(back[0]->ActionParam, "");
}

TEST(DataFileFormat, TableTextsFitTheirFieldsAndValuesOutsideShowNothing) {
  for (const char* name : ActionNames) EXPECT_LE(std::string(name).size(), 40u);
  for (const char* name : RepeatNames) EXPECT_LE(std::string(name).size(), 20u);
  // Windows-1252: one byte per umlaut.
  EXPECT_EQ(std::string(ActionName(akHangUp)), "DFÜ-Netzwerk Verbindung trennen");
  EXPECT_EQ(std::string(ActionName(akHangUp)).size(), 31u);
  EXPECT_STREQ(ActionName(9), "");
  EXPECT_STREQ(RepeatName(6), "");
  EXPECT_STREQ(RepeatName(rkYearly), "jährlich");
}

class FileIOTest : public ::testing::Test {
 protected:
  FileIOTest() { store.SetIdentitySource(ids); }
  const std::string path = "C:\\Host\\Reminder.dat";
  MemoryDataFile file;
  FakeMsgBox box;
  CountingIdentities ids;
  TFileIO store{path, file, box};
};

TEST_F(FileIOTest, MissingOrEmptyFileGivesAnEmptyList) {
  store.Load();
  EXPECT_EQ(store.Count(), 0u);
  file.files[path] = "";
  store.Load();
  EXPECT_EQ(store.Count(), 0u);
  EXPECT_TRUE(box.shown.empty());
}

TEST_F(FileIOTest, AddStartsPendingNeverFiredAndWritesTheFile) {
  TNotifyInfo values = WorkedExample();
  values.Notified = 1;
  values.LastNotified = 12345;
  values.Reserved1 = 9;
  values.ReservedBlock[3] = 1;
  TNotifyInfo* record = store.Add(values);
  ASSERT_EQ(store.Count(), 1u);
  EXPECT_EQ(&store.Item(0), record);
  EXPECT_EQ(*record, CountingIdentities::With(WorkedExample(), 1));
  std::string expected;
  EncodeRecord(expected, CountingIdentities::With(WorkedExample(), 1));
  EXPECT_EQ(file.files[path], expected);
}

TEST_F(FileIOTest, SaveAndLoadKeepOrderAndEveryField) {
  TNotifyInfo first = WorkedExample();
  TNotifyInfo second = WorkedExample();
  second.NotifyText = "zwei";
  store.Add(first);
  store.Add(second);
  store.Item(1).LastNotified = 777.5;
  store.Item(1).Reserved2 = 4;
  store.Save();
  TFileIO other(path, file, box);
  other.Load();
  ASSERT_EQ(other.Count(), 2u);
  EXPECT_EQ(other.Item(0), store.Item(0));
  EXPECT_EQ(other.Item(1), store.Item(1));
}

TEST_F(FileIOTest, AddAllAppendsEditableCopiesAndWritesOnce) {
  store.Add(WorkedExample());
  TNotifyInfo fired = WorkedExample();
  fired.Notified = 1;
  fired.LastNotified = 5;
  fired.NotifyText = "zwei";
  const int writes = file.writes;
  store.AddAll({fired, WorkedExample()});
  EXPECT_EQ(file.writes, writes + 1);
  ASSERT_EQ(store.Count(), 3u);
  EXPECT_EQ(store.Item(1), CountingIdentities::With(EditableCopy(fired), 2));
  TFileIO other(path, file, box);
  other.Load();
  EXPECT_EQ(other.Count(), 3u);
}

TEST_F(FileIOTest, DeleteOfAForeignReferenceChangesNothing) {
  store.Add(WorkedExample());
  const int writes = file.writes;
  TNotifyInfo stranger;
  store.Delete(&stranger);
  store.Delete(nullptr);
  EXPECT_EQ(store.Count(), 1u);
  EXPECT_EQ(file.writes, writes);
  store.Delete(&store.Item(0));
  EXPECT_EQ(store.Count(), 0u);
  EXPECT_EQ(file.writes, writes + 1);
  EXPECT_EQ(file.files[path], "");
}

TEST_F(FileIOTest, DeleteAllKeepsTheOrderOfTheRestAndWritesOnce) {
  std::vector<TNotifyInfo> values(7, WorkedExample());
  for (size_t i = 0; i < values.size(); ++i) values[i].NotifyText = std::to_string(i);
  store.AddAll(values);
  const int writes = file.writes;
  TNotifyInfo stranger;
  // In any order, twice over and with a stranger among them.
  store.DeleteAll({&store.Item(5), &stranger, &store.Item(0), &store.Item(3), &store.Item(5)});
  EXPECT_EQ(file.writes, writes + 1);
  TFileIO other(path, file, box);
  other.Load();
  std::string texts;
  for (size_t i = 0; i < other.Count(); ++i) texts += other.Item(i).NotifyText;
  EXPECT_EQ(texts, "1246");
  store.DeleteAll({&stranger});
  EXPECT_EQ(file.writes, writes + 1);
}

TEST_F(FileIOTest, AFailedWriteReportsOnceAndKeepsTheOldFileAndTheListInMemory) {
  store.Add(WorkedExample());
  const std::string before = file.files[path];
  file.failWrites = true;
  store.Item(0).NotifyText = "geändert";
  EXPECT_FALSE(store.Save());
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text, "Beim Schreiben der Informationen trat ein Fehler auf!");
  EXPECT_EQ(box.shown[0].caption, "Fehler");
  EXPECT_EQ(box.shown[0].style, MsgBoxStyle(mkError, mbOK));
  EXPECT_EQ(file.files[path], before);
  EXPECT_EQ(store.Item(0).NotifyText, "geändert");
  file.failWrites = false;
  EXPECT_TRUE(store.Save());
  TFileIO other(path, file, box);
  other.Load();
  EXPECT_EQ(other.Item(0).NotifyText, "geändert");
}

TEST_F(FileIOTest, LoadReplacesTheListAndClearLeavesTheFileAlone) {
  store.Add(WorkedExample());
  store.Add(WorkedExample());
  store.Clear();
  EXPECT_EQ(store.Count(), 0u);
  EXPECT_EQ(file.files[path].size(), 170u);
  store.Load();
  store.Load();
  EXPECT_EQ(store.Count(), 2u);
}

TEST(DataFileLocation, TheFileLiesBesideTheExecutable) {
  EXPECT_EQ(DataFileBeside("C:\\Programme\\Zelto\\Host.exe"), "C:\\Programme\\Zelto\\Reminder.dat");
  EXPECT_EQ(DataFileBeside("/opt/zelto/reminderctl"), "/opt/zelto/Reminder.dat");
  EXPECT_EQ(DataFileBeside("C:Host.exe"), "C:Reminder.dat");
  EXPECT_EQ(DataFileBeside("Host.exe"), "Reminder.dat");
}

class StdDataFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("reminder-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
           "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  size_t FilesInDir() {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
  }
  std::filesystem::path dir;
  TStdDataFile file;
};

TEST_F(StdDataFileTest, ReplaceWritesTheWholeContentAndLeavesNoTemporaryFile) {
  const std::string path = (dir / "Reminder.dat").string();
  TFileBytes bytes;
  EXPECT_FALSE(file.Read(path, bytes));
  const std::string content("\0\1binary\xFF", 10);
  ASSERT_TRUE(file.Replace(path, content));
  ASSERT_TRUE(file.Replace(path, content + content));
  ASSERT_TRUE(file.Read(path, bytes));
  EXPECT_EQ(bytes.View(), content + content);
  EXPECT_EQ(FilesInDir(), 1u);
}

// The store writes and reads a large file in parts; records of the longest texts cross
// the parts' borders.
TEST_F(StdDataFileTest, ALargeListSavesAndLoadsWhole) {
  const std::string path = (dir / "Reminder.dat").string();
  FakeMsgBox box;
  TFileIO store(path, file, box);
  CountingIdentities ids;
  store.SetIdentitySource(ids);
  std::vector<TNotifyInfo> values;
  std::string expected;
  for (int i = 0; i < 40; ++i) {
    TNotifyInfo r = WorkedExample();
    r.NotifyText = std::string(i % 3 == 0 ? 0xFFFF : 1000 + i, static_cast<char>('a' + i % 26));
    r.ActionParam = std::string(i % 4 == 0 ? 0xFFFF : i, 'p');
    r = CountingIdentities::With(r, i + 1);
    values.push_back(r);
    EncodeRecord(expected, r);
  }
  store.AddAll(values);
  ASSERT_GT(expected.size(), 1u << 20);
  TFileBytes bytes;
  ASSERT_TRUE(file.Read(path, bytes));
  EXPECT_TRUE(bytes.View() == expected);
  TFileIO other(path, file, box);
  other.Load();
  ASSERT_EQ(other.Count(), values.size());
  for (size_t i = 0; i < values.size(); ++i) EXPECT_EQ(other.Item(i), values[i]) << i;
  EXPECT_TRUE(box.shown.empty());
}

TEST_F(StdDataFileTest, ADirectoryIsNoDataFile) {
  TFileBytes bytes;
  EXPECT_FALSE(file.Read(dir.string(), bytes));
  EXPECT_EQ(bytes.size, 0u);
}

TEST_F(StdDataFileTest, AReplaceThatCannotFinishLeavesTheOldFileWhole) {
  // The target is a directory that is not empty, so the rename cannot put the file there.
  const std::filesystem::path target = dir / "Reminder.dat";
  std::filesystem::create_directories(target / "inside");
  EXPECT_FALSE(file.Replace(target.string(), "new"));
  EXPECT_TRUE(std::filesystem::is_directory(target / "inside"));
  EXPECT_EQ(FilesInDir(), 1u);
  EXPECT_FALSE(file.Replace((dir / "missing" / "Reminder.dat").string(), "new"));
}

// Older files have no identities; the first save gives one to every record that can take
// one, and it stays through the editor, a snooze, a firing and other writers' saves.
TEST_F(StdDataFileTest, EveryRecordKeepsOneIdentityForLife) {
  const std::string path = (dir / "Reminder.dat").string();
  FakeMsgBox box;
  CountingIdentities ids;
  TFileIO store(path, file, box);
  store.SetIdentitySource(ids);
  TNotifyInfo old = WorkedExample();
  TNotifyInfo snoozed = WorkedExample();
  WriteOldSnooze(snoozed, 36735.5);
  TNotifyInfo foreign = WorkedExample();
  foreign.ReservedBlock.fill(0x5A);
  std::string bytes;
  for (const TNotifyInfo* r : {&old, &snoozed, &foreign}) EncodeRecord(bytes, *r);
  ASSERT_TRUE(file.Replace(path, bytes));
  store.Load();
  ASSERT_TRUE(store.Save());
  EXPECT_EQ(IdentityOf(store.Item(0)), CountingIdentities::Number(1));
  EXPECT_EQ(IdentityOf(store.Item(1)), CountingIdentities::Number(2));
  EXPECT_EQ(SnoozeMoment(store.Item(1)), 36735.5);
  EXPECT_EQ(store.Item(2), foreign);

  TNotifyInfo& first = store.Item(0);
  SetSnooze(first, 36740.25);
  MarkFired(first, 36740.25);
  TNotifyInfo edited = WorkedExample();
  edited.NotifyText = "geändert";
  store.Item(1) = ChangedCopy(store.Item(1), edited);
  EXPECT_FALSE(SnoozeMoment(store.Item(1)));
  ASSERT_TRUE(store.Save());

  // Another program adds one and changes one meanwhile; this list then saves its own change.
  TFileIO other(path, file, box);
  CountingIdentities otherIds;
  otherIds.issued = 100;
  other.SetIdentitySource(otherIds);
  other.Load();
  other.Item(2).DaysBefore = 9;
  other.Add(WorkedExample());
  first.NotifyText = "hier geändert";
  ASSERT_TRUE(store.Save());
  TFileIO reread(path, file, box);
  reread.Load();
  ASSERT_EQ(reread.Count(), 4u);
  EXPECT_EQ(reread.Item(0).NotifyText, "hier geändert");
  EXPECT_EQ(IdentityOf(reread.Item(0)), CountingIdentities::Number(1));
  EXPECT_EQ(SnoozeMoment(reread.Item(0)), 36740.25);
  EXPECT_EQ(IdentityOf(reread.Item(1)), CountingIdentities::Number(2));
  EXPECT_EQ(reread.Item(1).NotifyText, "geändert");
  EXPECT_EQ(reread.Item(2).DaysBefore, 9);
  EXPECT_EQ(reread.Item(2).ReservedBlock, foreign.ReservedBlock);
  EXPECT_EQ(IdentityOf(reread.Item(3)), CountingIdentities::Number(101));
  EXPECT_EQ(ids.issued, 2u);
}

}  // namespace
}  // namespace reminder
