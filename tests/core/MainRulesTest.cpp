#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/common/DateTime.h"
#include "core/common/FormatSettings.h"
#include "core/settings/RegIniRules.h"
#include "core/store/RepeatRule.h"
#include "core/store/RuleText.h"
#include "core/ui/MainRules.h"
#include "core/ui/ReminderRows.h"

namespace reminder {
namespace {

const TFormatSettings kGerman = GermanFormatSettings();

std::string PlainKey(const std::string& text) {
  return text;
}

TEST(MainRulesTest, StatusTextFollowsTheFirstSelectedRecordOnly) {
  EXPECT_FALSE(SelectionStatusText(nullptr, kGerman).has_value());
  TNotifyInfo record;
  EXPECT_EQ(*SelectionStatusText(&record, kGerman), "Noch keine Erinnerung durchgeführt!");
  record.LastNotified = EncodeDate(2001, 1, 27) + EncodeTime(12, 0, 0, 0);
  EXPECT_EQ(*SelectionStatusText(&record, kGerman), "Letzte Erinnerung: 27.01.2001 12:00:00");
  record.Notified = 1;
  EXPECT_EQ(*SelectionStatusText(&record, kGerman), "Erinnerung durchgeführt.");
  // What the action runs or opens follows, so the user sees it before it is due.
  record.ActionKind = akProgram;
  record.ActionParam = "C:\\Tools\\app.exe -x";
  EXPECT_EQ(*SelectionStatusText(&record, kGerman),
            "Erinnerung durchgeführt. \x96 Programm: C:\\Tools\\app.exe -x");
  record.ActionKind = akWebsite;
  record.ActionParam = "C:\\x.bat";
  EXPECT_EQ(*SelectionStatusText(&record, kGerman),
            "Erinnerung durchgeführt. \x96 Webseite: C:\\x.bat (keine Web-Adresse, wird nicht "
            "geöffnet)");
  EXPECT_FALSE(SelectionCommandsEnabled(0));
  EXPECT_TRUE(SelectionCommandsEnabled(3));
}

TEST(MainRulesTest, TrayMenuOffersTheOppositeOfTheWindowState) {
  EXPECT_TRUE(TrayMenuState(false).Restore);
  EXPECT_FALSE(TrayMenuState(false).Minimize);
  EXPECT_FALSE(TrayMenuState(true).Restore);
  EXPECT_TRUE(TrayMenuState(true).Minimize);
}

TEST(MainRulesTest, CloseAndMinimiseHideToTheTrayWhateverTheLowBits) {
  EXPECT_EQ(SysCommandAction(0xF060), TSysCommandAction::HideToTray);
  EXPECT_EQ(SysCommandAction(0xF062), TSysCommandAction::HideToTray);
  EXPECT_EQ(SysCommandAction(0xF020), TSysCommandAction::HideToTray);
  EXPECT_EQ(SysCommandAction(0xF123), TSysCommandAction::Restore);
  EXPECT_EQ(SysCommandAction(0xF030), TSysCommandAction::Default);  // maximise
}

TEST(MainRulesTest, SettingsFallBackWhenMissingUnreadableOrBelowASecond) {
  EXPECT_FALSE(AnimateIconSetting(false, kRegIniOk));
  EXPECT_TRUE(AnimateIconSetting(false, kRegIniReadFailed));
  EXPECT_EQ(RefreshIntervalSetting(30, kRegIniOk), 30);
  EXPECT_EQ(RefreshIntervalSetting(100000, kRegIniOk), 100000);
  EXPECT_EQ(RefreshIntervalSetting(0, kRegIniReadFailed), 60);
  EXPECT_EQ(RefreshIntervalSetting(0, kRegIniNotANumber), 60);
  EXPECT_EQ(RefreshIntervalSetting(0, kRegIniOk), 60);
  EXPECT_EQ(RefreshIntervalSetting(-5, kRegIniOk), 60);
  EXPECT_EQ(RefreshIntervalSetting(1, kRegIniOk), 1);
}

TEST(MainRulesTest, OneToggleForAllColumns) {
  EXPECT_EQ(ColumnSortStep(0, 0).Code, 10);
  EXPECT_EQ(ColumnSortStep(0, 0).NextToggle, 1);
  EXPECT_EQ(ColumnSortStep(1, 2).Code, 22);
  EXPECT_EQ(ColumnSortStep(1, 2).NextToggle, 0);
  EXPECT_EQ(ColumnSortStep(0, 7).Code, 10);  // an unknown column counts as the first
}

class ReminderRowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const TDateTime dates[] = {EncodeDate(2001, 3, 1) + EncodeTime(9, 0, 0, 0),
                               EncodeDate(2000, 12, 31), EncodeDate(2001, 3, 1)};
    const char* texts[] = {"b", "C", "a"};
    for (int i = 0; i < 3; ++i) {
      records_[i].NotifyDate = dates[i];
      records_[i].NotifyText = texts[i];
      records_[i].ActionKind = static_cast<uint8_t>(i);
      rows_.AddItem(records_[i]);
    }
  }

  std::vector<const TNotifyInfo*> Order() const {
    std::vector<const TNotifyInfo*> order;
    for (size_t i = 0; i < rows_.Count(); ++i) order.push_back(rows_.Row(i).Data);
    return order;
  }

  TNotifyInfo records_[3];
  TReminderRows rows_;
};

TEST_F(ReminderRowsTest, FirstClickSortsDescendingByTheDateNotItsText) {
  rows_.SortByColumn(0, PlainKey);
  using V = std::vector<const TNotifyInfo*>;
  EXPECT_EQ(Order(), (V{&records_[0], &records_[2], &records_[1]}));
  // The next click, on another column, sorts ascending.
  rows_.SortByColumn(1, PlainKey);
  EXPECT_EQ(Order(), (V{&records_[1], &records_[2], &records_[0]}));  // "C" < "a" < "b"
  rows_.SortByColumn(2, PlainKey);
  EXPECT_EQ(Order(), (V{&records_[1], &records_[0], &records_[2]}));  // descending again
  // A changed text takes its new place at the next sort by text.
  records_[1].NotifyText = "z";
  rows_.Changed(&records_[1]);
  rows_.SortByColumn(1, PlainKey);
  EXPECT_EQ(Order(), (V{&records_[2], &records_[0], &records_[1]}));
}

TEST_F(ReminderRowsTest, TheRepeatColumnShowsAndSortsByTheRulesText) {
  records_[0].RepeatKind = rkWeekly;
  records_[1].RepeatKind = rkMonthly;
  std::string error;
  ASSERT_TRUE(SetRule(
      records_[2], ParseRRule("FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR", records_[2].NotifyDate, error)));
  EXPECT_EQ(ColumnText(records_[2], lcRepeat, kGerman), "werktags");
  rows_.SortByColumn(3, PlainKey);  // descending: "wöchentlich", "werktags", "monatlich"
  using V = std::vector<const TNotifyInfo*>;
  EXPECT_EQ(Order(), (V{&records_[0], &records_[2], &records_[1]}));
}

TEST_F(ReminderRowsTest, TextsAndImagesComeFromTheRecord) {
  records_[0].NotifyDate = EncodeDate(2020, 7, 24) + EncodeTime(9, 30, 0, 0);
  records_[0].ActionKind = akHangUp;
  records_[0].RepeatKind = rkWeekly;
  EXPECT_EQ(ColumnText(records_[0], lcDate, kGerman), "24.07.2020 09:30:00");
  EXPECT_EQ(ColumnText(records_[0], lcText, kGerman), "b");
  EXPECT_EQ(ColumnText(records_[0], lcAction, kGerman), "DFÜ-Netzwerk Verbindung trennen");
  EXPECT_EQ(ColumnText(records_[0], lcRepeat, kGerman), "wöchentlich");
  EXPECT_EQ(ColumnText(records_[1], lcDate, kGerman), "31.12.2000");
  records_[1].ActionKind = 42;  // only a foreign file holds such kinds
  records_[1].RepeatKind = 17;
  EXPECT_EQ(ColumnText(records_[1], lcAction, kGerman), "");
  EXPECT_EQ(ColumnText(records_[1], lcRepeat, kGerman), "");
  // The image follows the record when the row is told, not when the record changes.
  records_[2].Notified = 1;
  EXPECT_EQ(rows_.Row(2).ImageIndex, kImagePending);
  EXPECT_EQ(rows_.UpdateImage(&records_[2]), 2);
  EXPECT_EQ(rows_.Row(2).ImageIndex, kImageFinished);
}

TEST_F(ReminderRowsTest, RefillResetsTheToggleAndFindGoesByIdentity) {
  rows_.SortByColumn(0, PlainKey);
  EXPECT_EQ(rows_.SortToggle(), 1);
  rows_.ResetSortMarker();
  EXPECT_EQ(rows_.SortToggle(), 0);
  EXPECT_EQ(rows_.Find(&records_[1]), 2);
  TNotifyInfo equal = records_[1];
  EXPECT_EQ(rows_.Find(&equal), -1);
  rows_.RemoveRecords({&records_[1], &equal});
  EXPECT_EQ(rows_.Find(&records_[1]), -1);
  EXPECT_EQ(rows_.Count(), 2u);
}

}  // namespace
}  // namespace reminder
