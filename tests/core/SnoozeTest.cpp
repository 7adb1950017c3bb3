#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/Fakes.h"
#include "core/TestDates.h"
#include "core/store/DataFileFormat.h"
#include "core/store/IOUnit.h"
#include "core/store/ReservedBlock.h"
#include "core/store/Snooze.h"
#include "core/ui/ListStatusText.h"
#include "core/ui/ReminderRows.h"

namespace reminder {
namespace {

using namespace reminder::testing;

TEST(Snooze, TravelsInTheReservedBlockThroughSaveAndLoadAndTheEditorCancelsIt) {
  MemoryDataFile file;
  FakeMsgBox box;
  TFileIO store("Reminder.dat", file, box);
  TNotifyInfo values;
  values.NotifyKind = nkAtDate;
  values.NotifyDate = At(2025, 12, 24, 9);
  values.NotifyText = "Geschenke";
  values.ActionKind = akWarning;
  values.RepeatKind = rkYearly;
  TNotifyInfo* record = store.Add(values);
  record->Notified = 1;
  const TNotifyInfo before = *record;
  ASSERT_TRUE(IdentityOf(before));
  const TDateTime moment = At(2025, 12, 24, 10, 20, 37);
  SetSnooze(*record, moment);
  ASSERT_TRUE(store.Save());
  EXPECT_EQ(file.files["Reminder.dat"].size(), kRecordFixedSize + values.NotifyText.size());

  TFileIO reread("Reminder.dat", file, box);
  reread.Load();
  ASSERT_EQ(reread.Count(), 1u);
  TNotifyInfo& loaded = reread.Item(0);
  EXPECT_EQ(SnoozeMoment(loaded), moment);
  EXPECT_EQ(IdentityOf(loaded), IdentityOf(before));
  EXPECT_EQ(RowImage(loaded), kImageSnoozed);
  EXPECT_EQ(ListStatusText(loaded, GermanFormatSettings()), "Erinnert erneut: 24.12.2025 10:20:37");

  const TNotifyInfo changed = ChangedCopy(loaded, loaded);
  EXPECT_FALSE(SnoozeMoment(changed));
  EXPECT_EQ(IdentityOf(changed), IdentityOf(before));
  ClearSnooze(loaded);
  EXPECT_EQ(loaded, before);
  EXPECT_EQ(RowImage(loaded), kImageFinished);
}

TEST(Snooze, BytesThatAnotherProgramLeftAreNeverOne) {
  // The container with all it holds, and the form earlier versions wrote, which is read
  // as before.
  TNotifyInfo full;
  SetIdentity(full, testing::CountingIdentities::Number(7));
  SetSnooze(full, At(2025, 1, 1, 12));
  TBlockContent content = *BlockContent(full);
  content.RuleLength = 12;
  content.Rule.fill(0x33);
  WriteBlock(full, content);
  TNotifyInfo old;
  WriteOldSnooze(old, At(2025, 1, 1, 12));
  ASSERT_EQ(SnoozeMoment(old), At(2025, 1, 1, 12));
  // Each single bit turned over, and random blocks.
  for (const TNotifyInfo* valid : {&full, &old}) {
    ASSERT_TRUE(SnoozeMoment(*valid));
    for (size_t bit = 0; bit < kReservedBlockSize * 8; ++bit) {
      TNotifyInfo foreign = *valid;
      foreign.ReservedBlock[bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
      if (valid == &old && bit >= 14 * 8) {
        // Behind the old snooze: another program's bytes, the snooze still counts.
        EXPECT_EQ(BlockKind(foreign), TBlockKind::Foreign);
        continue;
      }
      EXPECT_FALSE(SnoozeMoment(foreign)) << "bit " << bit;
      EXPECT_FALSE(IsSnoozeDue(foreign, At(2030, 1, 1)));
      EXPECT_FALSE(IdentityOf(foreign)) << "bit " << bit;
    }
  }
  std::mt19937 random(20250101);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int i = 0; i < 20000; ++i) {
    TNotifyInfo foreign;
    for (uint8_t& b : foreign.ReservedBlock) b = static_cast<uint8_t>(byte(random));
    ASSERT_FALSE(SnoozeMoment(foreign)) << "case " << i;
    ASSERT_EQ(BlockKind(foreign), TBlockKind::Foreign) << "case " << i;
    // A foreign block never takes an identity, nor is it written over.
    const TNotifyInfo before = foreign;
    testing::CountingIdentities ids;
    EXPECT_FALSE(EnsureIdentity(foreign, ids));
    ASSERT_EQ(foreign, before);
  }
  // A moment outside the calendar is no snooze, and setting one clears it.
  SetSnooze(old, NAN);
  EXPECT_FALSE(SnoozeMoment(old));
  EXPECT_EQ(old, TNotifyInfo());
}

}  // namespace
}  // namespace reminder
