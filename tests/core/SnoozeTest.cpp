#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/Fakes.h"
#include "core/TestDates.h"
#include "core/store/DataFileFormat.h"
#include "core/store/IOUnit.h"
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
  record->ReservedBlock[40] = 0x5A;  // another program's byte, kept
  const TNotifyInfo before = *record;
  const TDateTime moment = At(2025, 12, 24, 10, 20, 37);
  SetSnooze(*record, moment);
  ASSERT_TRUE(store.Save());
  EXPECT_EQ(file.files["Reminder.dat"].size(), kRecordFixedSize + values.NotifyText.size());

  TFileIO reread("Reminder.dat", file, box);
  reread.Load();
  ASSERT_EQ(reread.Count(), 1u);
  TNotifyInfo& loaded = reread.Item(0);
  EXPECT_EQ(SnoozeMoment(loaded), moment);
  EXPECT_EQ(loaded.ReservedBlock[40], 0x5A);
  EXPECT_EQ(RowImage(loaded), kImageSnoozed);
  EXPECT_EQ(ListStatusText(loaded, GermanFormatSettings()), "Erinnert erneut: 24.12.2025 10:20:37");

  EXPECT_FALSE(SnoozeMoment(EditableCopy(loaded)));
  ClearSnooze(loaded);
  EXPECT_EQ(loaded, before);
  EXPECT_EQ(RowImage(loaded), kImageFinished);
}

TEST(Snooze, BytesThatAnotherProgramLeftAreNeverOne) {
  TNotifyInfo snoozed;
  SetSnooze(snoozed, At(2025, 1, 1, 12));
  ASSERT_TRUE(SnoozeMoment(snoozed));
  // Each single bit of the snooze turned over, and random blocks.
  for (size_t bit = 0; bit < 14 * 8; ++bit) {
    TNotifyInfo foreign = snoozed;
    foreign.ReservedBlock[bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
    EXPECT_FALSE(SnoozeMoment(foreign)) << "bit " << bit;
    EXPECT_FALSE(IsSnoozeDue(foreign, At(2030, 1, 1)));
  }
  std::mt19937 random(20250101);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int i = 0; i < 20000; ++i) {
    TNotifyInfo foreign;
    for (uint8_t& b : foreign.ReservedBlock) b = static_cast<uint8_t>(byte(random));
    ASSERT_FALSE(SnoozeMoment(foreign)) << "case " << i;
  }
  // A moment outside the calendar is no snooze, and setting one clears it.
  SetSnooze(snoozed, NAN);
  EXPECT_FALSE(SnoozeMoment(snoozed));
  EXPECT_EQ(snoozed, TNotifyInfo());
}

}  // namespace
}  // namespace reminder
