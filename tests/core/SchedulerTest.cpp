#include <gtest/gtest.h>

#include <stdexcept>

#include "core/Fakes.h"
#include "core/TestDates.h"
#include "core/store/DataFileFormat.h"
#include "core/store/ReminderClassUnit.h"
#include "core/store/RepeatRule.h"
#include "core/store/RuleText.h"
#include "core/store/Snooze.h"

namespace reminder {
namespace {

using namespace reminder::testing;

class SchedulerTest : public ::testing::Test {
 protected:
  SchedulerTest() : scheduler(path, file, box, std::make_unique<FakeTimer>(timer), clock, dialUp) {
    scheduler.SetOnNotify([this](TReminder& sender, TNotifyInfo& record) {
      EXPECT_EQ(&sender, &scheduler);
      fired.push_back(&record);
    });
  }

  TNotifyInfo* AddReminder(TDateTime date, uint8_t repeat, uint8_t action = akWarning,
                           int32_t daysBefore = 0, uint8_t kind = nkAtDate) {
    TNotifyInfo r;
    r.NotifyKind = kind;
    r.NotifyDate = date;
    r.NotifyText = "Termin";
    r.ActionKind = action;
    r.RepeatKind = repeat;
    r.DaysBefore = daysBefore;
    return scheduler.Add(r);
  }

  // Runs one check at the given moment and tells whether the record fired in it.
  bool FiresAt(TNotifyInfo* record, TDateTime now) {
    clock.now = now;
    fired.clear();
    scheduler.CheckNotifications();
    for (TNotifyInfo* r : fired) {
      if (r == record) return true;
    }
    return false;
  }

  const std::string path = "Reminder.dat";
  MemoryDataFile file;
  FakeMsgBox box;
  TimerState timer;
  FakeClock clock;
  FakeDialUp dialUp;
  TReminder scheduler;
  std::vector<TNotifyInfo*> fired;
};

TEST_F(SchedulerTest, StartsSwitchedOffWithASixtySecondPeriodAndReadsNothing) {
  EXPECT_FALSE(scheduler.Enabled());
  EXPECT_FALSE(timer.enabled);
  EXPECT_EQ(scheduler.Interval(), 60);
  EXPECT_EQ(timer.intervalMs, 60000u);
  EXPECT_EQ(file.reads, 0);
}

TEST_F(SchedulerTest, IntervalSetsThePeriodOnlyWhenItChanges) {
  timer.intervalMs = 1;  // a change would overwrite this
  scheduler.SetInterval(60);
  EXPECT_EQ(timer.intervalMs, 1u);
  scheduler.SetInterval(90);
  EXPECT_EQ(timer.intervalMs, 90000u);
  scheduler.SetInterval(0);
  EXPECT_EQ(timer.intervalMs, 1u);
  scheduler.SetInterval(3000000);
  EXPECT_EQ(timer.intervalMs, 0x7FFFFFFFu);
}

TEST_F(SchedulerTest, SwitchingRunsOneCheckEachWayAndTheSameValueNone) {
  scheduler.SetEnabled(true);
  EXPECT_TRUE(timer.enabled);
  EXPECT_EQ(file.reads, 1);  // the empty list is loaded by the check
  scheduler.SetEnabled(true);
  EXPECT_EQ(file.reads, 1);
  scheduler.SetEnabled(false);
  EXPECT_FALSE(timer.enabled);
  EXPECT_EQ(file.reads, 2);
}

TEST_F(SchedulerTest, AnEmptyListIsReadAgainAtEveryCheck) {
  scheduler.CheckNotifications();
  std::string bytes;
  TNotifyInfo r;
  r.NotifyKind = nkAtDate;
  r.RepeatKind = rkOnce;
  r.ActionKind = akWebsite;
  EncodeRecord(bytes, r);
  file.files[path] = bytes;
  clock.now = At(2020, 1, 1);
  scheduler.CheckNotifications();
  EXPECT_EQ(file.reads, 2);
  ASSERT_EQ(fired.size(), 1u);
  EXPECT_EQ(scheduler.Item(0).Notified, 1);
}

TEST_F(SchedulerTest, TheTimerIsOffDuringEveryCheck) {
  TNotifyInfo* r = AddReminder(At(2020, 1, 1, 10), rkOnce);
  clock.now = At(2020, 1, 2);
  std::vector<bool> duringCheck;
  scheduler.SetOnNotify([&](TReminder&, TNotifyInfo&) { duringCheck.push_back(timer.enabled); });
  scheduler.SetEnabled(true);
  EXPECT_TRUE(timer.enabled);
  r->Notified = 0;
  timer.enabledHistory.clear();
  timer.onTick();
  EXPECT_EQ(duringCheck, (std::vector<bool>{false, false}));
  EXPECT_EQ(timer.enabledHistory, (std::vector<bool>{false, true}));
  scheduler.SetEnabled(false);
  timer.enabledHistory.clear();
  timer.onTick();
  EXPECT_EQ(timer.enabledHistory, std::vector<bool>{false});
}

TEST_F(SchedulerTest, AFailingCallbackEndsTheCheckButKeepsWhatFiredAndTheSchedule) {
  TNotifyInfo* a = AddReminder(At(2020, 1, 1, 10), rkOnce);
  TNotifyInfo* b = AddReminder(At(2020, 1, 1, 10), rkOnce);
  scheduler.SetEnabled(true);  // fires both without failing
  a->Notified = b->Notified = 0;
  scheduler.Save();
  int calls = 0;
  scheduler.SetOnNotify([&](TReminder&, TNotifyInfo&) {
    if (++calls == 2) throw std::runtime_error("callback failed");
  });
  clock.now = At(2020, 1, 2);
  timer.onTick();
  EXPECT_EQ(calls, 2);
  EXPECT_TRUE(timer.enabled);
  TFileIO reread(path, file, box);
  reread.Load();
  EXPECT_EQ(reread.Item(0).Notified, 1);
  EXPECT_EQ(reread.Item(1).Notified, 1);
  EXPECT_THROW(
      {
        a->Notified = 0;
        calls = 1;
        scheduler.CheckNotifications();
      },
      std::runtime_error);
}

TEST_F(SchedulerTest, NothingFiredMeansNothingWritten) {
  AddReminder(At(2030, 1, 1, 10), rkOnce);
  const int writes = file.writes;
  EXPECT_FALSE(FiresAt(&scheduler.Item(0), At(2029, 1, 1)));
  EXPECT_EQ(file.writes, writes);
}

TEST_F(SchedulerTest, ADateReminderThatDoesNothingNeverFires) {
  TNotifyInfo* nothing = AddReminder(At(2020, 5, 1, 10), rkOnce, akNothing);
  TNotifyInfo* warning = AddReminder(At(2020, 5, 1, 10), rkOnce, akWarning, 0);
  TNotifyInfo* web = AddReminder(At(2020, 5, 1, 10), rkOnce, akWebsite);
  TNotifyInfo* never = AddReminder(At(2020, 5, 1, 10), rkNever, akWebsite);
  TNotifyInfo* stored = AddReminder(At(2020, 5, 1, 10), rkOnce, akWebsite, 0, nkNever);
  clock.now = At(2020, 5, 1, 10);
  scheduler.CheckNotifications();
  EXPECT_EQ(fired, (std::vector<TNotifyInfo*>{warning, web}));
  EXPECT_EQ(nothing->Notified, 0);
  EXPECT_EQ(never->Notified, 0);
  EXPECT_EQ(stored->Notified, 0);
}

TEST_F(SchedulerTest, OnceWithLeadFiresDaysEarlyAndThenIsFinished) {
  TNotifyInfo* r = AddReminder(At(2020, 5, 10, 10), rkOnce, akWarning, 3);
  EXPECT_FALSE(FiresAt(r, At(2020, 5, 7, 9, 59)));
  EXPECT_TRUE(FiresAt(r, At(2020, 5, 7, 10)));
  EXPECT_EQ(r->Notified, 1);
  EXPECT_EQ(r->LastNotified, 0.0);
  EXPECT_FALSE(FiresAt(r, At(2020, 5, 10, 10)));
  // The lead counts for warnings only.
  TNotifyInfo* program = AddReminder(At(2020, 6, 10, 10), rkOnce, akProgram, 3);
  EXPECT_FALSE(FiresAt(program, At(2020, 6, 7, 10)));
  EXPECT_TRUE(FiresAt(program, At(2020, 6, 10, 10)));
}

TEST_F(SchedulerTest, AMissedOnceReminderFiresHoweverLate) {
  TNotifyInfo* r = AddReminder(At(2001, 1, 1, 10), rkOnce, akEmail);
  EXPECT_TRUE(FiresAt(r, At(2026, 12, 7, 8)));
}

TEST_F(SchedulerTest, FiringMarksTheRecordBeforeTheCallbackAndSavesOnce) {
  TNotifyInfo* once = AddReminder(At(2020, 1, 1, 10), rkOnce);
  TNotifyInfo* daily = AddReminder(At(2020, 1, 1, 10), rkDaily);
  std::vector<std::pair<int, double>> seen;
  scheduler.SetOnNotify(
      [&](TReminder&, TNotifyInfo& r) { seen.emplace_back(r.Notified, r.LastNotified); });
  const int writes = file.writes;
  clock.now = At(2020, 1, 3, 11);
  scheduler.CheckNotifications();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], std::make_pair(1, 0.0));
  EXPECT_EQ(seen[1], std::make_pair(0, clock.now));
  EXPECT_EQ(file.writes, writes + 1);
  EXPECT_EQ(once->Notified, 1);
  EXPECT_EQ(daily->LastNotified, clock.now);
}

TEST_F(SchedulerTest, DailyFiresOncePerDayAfterItsTime) {
  TNotifyInfo* r = AddReminder(At(2020, 3, 9, 9), rkDaily, akWarning, 5);
  EXPECT_FALSE(FiresAt(r, At(2020, 3, 8, 12)));  // before its date, lead or not
  EXPECT_FALSE(FiresAt(r, At(2020, 3, 9, 8, 59)));
  EXPECT_TRUE(FiresAt(r, At(2020, 3, 9, 9)));
  EXPECT_FALSE(FiresAt(r, At(2020, 3, 9, 23, 59)));
  EXPECT_FALSE(FiresAt(r, At(2020, 3, 10, 8)));
  EXPECT_TRUE(FiresAt(r, At(2020, 3, 10, 11)));
  // Missed days are not repeated; the next start fires once.
  EXPECT_TRUE(FiresAt(r, At(2020, 3, 20, 11)));
  EXPECT_FALSE(FiresAt(r, At(2020, 3, 20, 12)));
  EXPECT_EQ(r->Notified, 0);
  // Same day and month of another year is another day.
  EXPECT_TRUE(FiresAt(r, At(2021, 3, 20, 11)));
}

TEST_F(SchedulerTest, WeeklyFiresFromItsWeekdayInLaterWeeksAcrossTheYear) {
  // Wednesday, 23 December 2020, 10:00; 2020 has 53 ISO weeks.
  TNotifyInfo* r = AddReminder(At(2020, 12, 23, 10), rkWeekly);
  EXPECT_FALSE(FiresAt(r, At(2020, 12, 24, 11)));  // never in the week of its start
  EXPECT_FALSE(FiresAt(r, At(2020, 12, 29, 11)));  // Tuesday of week 53
  EXPECT_FALSE(FiresAt(r, At(2020, 12, 30, 9)));   // Wednesday, too early
  EXPECT_TRUE(FiresAt(r, At(2020, 12, 30, 10)));
  EXPECT_FALSE(FiresAt(r, At(2021, 1, 1, 11)));  // Friday of the same week 53
  // Week 1 of 2021: Wednesday passed without a check, Saturday still counts.
  EXPECT_FALSE(FiresAt(r, At(2021, 1, 5, 11)));
  EXPECT_TRUE(FiresAt(r, At(2021, 1, 9, 11)));
  // The following Sunday is in the same ISO week: nothing.
  EXPECT_FALSE(FiresAt(r, At(2021, 1, 10, 11)));
  EXPECT_TRUE(FiresAt(r, At(2021, 1, 13, 10)));
}

TEST_F(SchedulerTest, WeeklyStartedOnASundayKeepsToSundays) {
  // Sunday, 3 January 2021, 10:00, the last day of ISO week 53 of 2020.
  TNotifyInfo* r = AddReminder(At(2021, 1, 3, 10), rkWeekly);
  EXPECT_FALSE(FiresAt(r, At(2021, 1, 4, 11)));  // Monday of the next week
  EXPECT_FALSE(FiresAt(r, At(2021, 1, 9, 11)));
  EXPECT_TRUE(FiresAt(r, At(2021, 1, 10, 10)));
  // A Sunday passed without a check is not caught up in the following days.
  EXPECT_FALSE(FiresAt(r, At(2021, 1, 25, 10)));
  EXPECT_TRUE(FiresAt(r, At(2021, 1, 31, 10)));
}

TEST_F(SchedulerTest, WeeklyLeadMovesTheStartDay) {
  // Friday 15 January 2021 with two days' warning: starts on Wednesday.
  TNotifyInfo* r = AddReminder(At(2021, 1, 15, 10), rkWeekly, akWarning, 2);
  EXPECT_FALSE(FiresAt(r, At(2021, 1, 15, 10)));  // the week of the start
  EXPECT_FALSE(FiresAt(r, At(2021, 1, 19, 10)));  // Tuesday of the next week
  EXPECT_TRUE(FiresAt(r, At(2021, 1, 20, 10)));
  EXPECT_EQ(r->LastNotified, At(2021, 1, 20, 10));
  EXPECT_FALSE(FiresAt(r, At(2021, 1, 26, 10)));  // Tuesday
  EXPECT_TRUE(FiresAt(r, At(2021, 1, 27, 10)));
}

TEST_F(SchedulerTest, MonthlyFiresOnlyInsideItsDayWindow) {
  TNotifyInfo* r = AddReminder(At(2021, 1, 15, 8), rkMonthly);
  EXPECT_TRUE(FiresAt(r, At(2021, 1, 15, 8)));
  EXPECT_FALSE(FiresAt(r, At(2021, 1, 15, 9)));
  EXPECT_FALSE(FiresAt(r, At(2021, 2, 16, 9)));  // the 15th passed without a check
  EXPECT_FALSE(FiresAt(r, At(2021, 3, 15, 7)));
  EXPECT_TRUE(FiresAt(r, At(2021, 3, 15, 8)));
  EXPECT_TRUE(FiresAt(r, At(2022, 3, 15, 8)));  // March of another year is another month
}

TEST_F(SchedulerTest, MonthlyWithLeadUsesTheWindowFromStartToDateAndThe31st) {
  TNotifyInfo* warned = AddReminder(At(2021, 1, 15, 8), rkMonthly, akWarning, 3);
  EXPECT_FALSE(FiresAt(warned, At(2021, 2, 11, 8)));
  EXPECT_TRUE(FiresAt(warned, At(2021, 2, 13, 8)));
  EXPECT_FALSE(FiresAt(warned, At(2021, 2, 14, 8)));
  // Dated the 31st: months without one are skipped.
  TNotifyInfo* last = AddReminder(At(2021, 1, 31, 8), rkMonthly, akEmail);
  EXPECT_TRUE(FiresAt(last, At(2021, 1, 31, 9)));
  EXPECT_FALSE(FiresAt(last, At(2021, 2, 28, 9)));
  EXPECT_FALSE(FiresAt(last, At(2021, 4, 30, 9)));
  EXPECT_TRUE(FiresAt(last, At(2021, 5, 31, 9)));
}

TEST_F(SchedulerTest, MonthlyWarningAcrossTheMonthsTurnFiresOncePerDate) {
  // The 5th with ten days' warning starts on 26 January: each window runs from the 26th of
  // one month to the 5th of the next.
  TNotifyInfo* r = AddReminder(At(2021, 2, 5, 8), rkMonthly, akWarning, 10);
  EXPECT_FALSE(FiresAt(r, At(2021, 1, 25, 8)));
  EXPECT_TRUE(FiresAt(r, At(2021, 1, 27, 8)));
  EXPECT_FALSE(FiresAt(r, At(2021, 2, 2, 8)));  // the 27th warned of this date
  EXPECT_FALSE(FiresAt(r, At(2021, 2, 25, 9)));
  EXPECT_TRUE(FiresAt(r, At(2021, 2, 26, 8)));  // for 5 March
  EXPECT_FALSE(FiresAt(r, At(2021, 3, 1, 8)));
  // The window before 5 April passed without a check; the one before 5 May did not.
  EXPECT_TRUE(FiresAt(r, At(2021, 5, 4, 8)));
  EXPECT_FALSE(FiresAt(r, At(2021, 5, 5, 8)));
  EXPECT_EQ(r->LastNotified, At(2021, 5, 4, 8));
}

TEST_F(SchedulerTest, YearlyFiresOnceAYearFromItsDayToTheEndOfTheYear) {
  TNotifyInfo* r = AddReminder(At(2020, 12, 24, 18), rkYearly);
  EXPECT_FALSE(FiresAt(r, At(2020, 12, 24, 17)));
  EXPECT_TRUE(FiresAt(r, At(2020, 12, 24, 18)));
  EXPECT_FALSE(FiresAt(r, At(2020, 12, 31, 19)));
  EXPECT_FALSE(FiresAt(r, At(2021, 12, 23, 19)));
  EXPECT_TRUE(FiresAt(r, At(2021, 12, 31, 19)));  // any later day of the year
  EXPECT_FALSE(FiresAt(r, At(2022, 1, 1, 19)));
}

TEST_F(SchedulerTest, YearlyOnALeapDay) {
  TNotifyInfo* r = AddReminder(At(2020, 2, 29, 10), rkYearly, akEmail);
  EXPECT_TRUE(FiresAt(r, At(2020, 2, 29, 10)));
  EXPECT_FALSE(FiresAt(r, At(2021, 2, 28, 10)));
  EXPECT_TRUE(FiresAt(r, At(2021, 3, 1, 10)));  // from 1 March on in a common year
  EXPECT_TRUE(FiresAt(r, At(2024, 2, 29, 10)));
}

TEST_F(SchedulerTest, DialUpFiresAtTheFirstConnectionWhateverItsDateAndOnlyOnce) {
  TNotifyInfo* r = AddReminder(At(2099, 1, 1), rkDaily, akNothing, 0, nkDialUp);
  clock.now = At(2020, 1, 1);
  EXPECT_FALSE(FiresAt(r, clock.now));
  EXPECT_EQ(dialUp.probes, 1);
  dialUp.connected = true;
  EXPECT_TRUE(FiresAt(r, clock.now));
  EXPECT_EQ(r->Notified, 1);
  EXPECT_FALSE(FiresAt(r, clock.now));
  EXPECT_EQ(dialUp.probes, 2);
  EXPECT_EQ(clock.reads, 0);  // no date reminder, no clock
}

TEST_F(SchedulerTest, ValuesOutsideTheTablesNeverFireAndDoNotStopTheCheck) {
  TNotifyInfo* odd = AddReminder(At(2020, 1, 1), rkOnce, akEmail, 0, 7);
  TNotifyInfo* oddRepeat = AddReminder(At(2020, 1, 1), 9, akEmail);
  TNotifyInfo* normal = AddReminder(At(2020, 1, 1), rkOnce, akEmail);
  clock.now = At(2021, 1, 1);
  scheduler.CheckNotifications();
  EXPECT_EQ(fired, std::vector<TNotifyInfo*>{normal});
  EXPECT_EQ(odd->Notified, 0);
  EXPECT_EQ(oddRepeat->Notified, 0);
}

TEST_F(SchedulerTest, ASnoozeFiresOnceAtItsMomentAndTheScheduleGoesOn) {
  TNotifyInfo* daily = AddReminder(At(2020, 3, 9, 9), rkDaily);
  EXPECT_TRUE(FiresAt(daily, At(2020, 3, 9, 9)));
  SetSnooze(*daily, At(2020, 3, 9, 14, 30));
  scheduler.Save();
  EXPECT_FALSE(FiresAt(daily, At(2020, 3, 9, 14, 29)));
  EXPECT_TRUE(FiresAt(daily, At(2020, 3, 9, 14, 30)));
  EXPECT_EQ(daily->LastNotified, At(2020, 3, 9, 9));
  TFileIO reread(path, file, box);
  reread.Load();
  EXPECT_EQ(reread.Item(0), *daily);
  EXPECT_FALSE(SnoozeMoment(*daily));
  EXPECT_FALSE(FiresAt(daily, At(2020, 3, 9, 14, 31)));
  EXPECT_TRUE(FiresAt(daily, At(2020, 3, 10, 9)));
  // Due by its rule and by its snooze in the same check: one alert.
  SetSnooze(*daily, At(2020, 3, 11, 8));
  EXPECT_TRUE(FiresAt(daily, At(2020, 3, 11, 10)));
  EXPECT_EQ(fired.size(), 1u);
  EXPECT_EQ(daily->LastNotified, At(2020, 3, 11, 10));
  EXPECT_FALSE(SnoozeMoment(*daily));

  // Whatever the trigger or state: finished, waiting for a connection, only stored.
  TNotifyInfo* finished = AddReminder(At(2020, 3, 1, 9), rkOnce);
  finished->Notified = 1;
  TNotifyInfo* dialUpOnly = AddReminder(At(2020, 3, 1, 9), rkOnce, akWarning, 0, nkDialUp);
  TNotifyInfo* stored = AddReminder(At(2020, 3, 1, 9), rkOnce, akNothing, 0, nkNever);
  for (TNotifyInfo* r : {finished, dialUpOnly, stored}) SetSnooze(*r, At(2020, 3, 12, 8));
  clock.now = At(2020, 3, 12, 8);
  fired.clear();
  scheduler.CheckNotifications();
  EXPECT_EQ(fired, (std::vector<TNotifyInfo*>{finished, dialUpOnly, stored}));
  EXPECT_EQ(finished->Notified, 1);
  EXPECT_EQ(dialUpOnly->Notified, 0);
  EXPECT_FALSE(FiresAt(finished, At(2020, 3, 13, 8)));
}

// Every second week on Monday and Wednesday at 9:00, four times, with a day's warning.
TEST_F(SchedulerTest, AnExtendedRuleCatchesUpOnceSnoozesAndEndsWithItsCount) {
  TNotifyInfo* r = AddReminder(At(2026, 3, 2, 9), rkOnce, akWarning, 1);
  std::string error;
  ASSERT_TRUE(
      SetRule(*r, ParseRRule("FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE;COUNT=4", r->NotifyDate, error)));
  EXPECT_EQ(r->RepeatKind, rkWeekly);
  EXPECT_FALSE(FiresAt(r, At(2026, 3, 1, 8, 59)));
  EXPECT_TRUE(FiresAt(r, At(2026, 3, 1, 9)));  // for Monday 2 March
  EXPECT_FALSE(FiresAt(r, At(2026, 3, 2, 9)));
  EXPECT_TRUE(FiresAt(r, At(2026, 3, 3, 9)));    // for Wednesday 4 March
  EXPECT_FALSE(FiresAt(r, At(2026, 3, 10, 9)));  // the week between
  // Off from before the alarm of 16 March until after that of 18 March: one alert.
  EXPECT_TRUE(FiresAt(r, At(2026, 3, 17, 12)));
  EXPECT_EQ(fired.size(), 1u);
  EXPECT_EQ(r->Notified, 1);
  // The count is reached: done, also after reading the file again, until a snooze.
  TFileIO reread(path, file, box);
  reread.Load();
  EXPECT_EQ(reread.Item(0), *r);
  EXPECT_FALSE(FiresAt(r, At(2026, 3, 29, 9)));
  SetSnooze(*r, At(2026, 3, 30, 10));
  EXPECT_TRUE(FiresAt(r, At(2026, 3, 30, 10)));
  EXPECT_TRUE(RuleOf(*r));
  EXPECT_FALSE(FiresAt(r, At(2026, 3, 31, 10)));
}

class RecordingList : public IReminderListView {
 public:
  void ClearItems() override { records.clear(); }
  void ResetSortMarker() override { ++resets; }
  void AddItem(TNotifyInfo& record) override { records.push_back(&record); }
  std::vector<TNotifyInfo*> records;
  int resets = 0;
};

TEST_F(SchedulerTest, FillListViewShowsEveryRecordInOrder) {
  TNotifyInfo* a = AddReminder(At(2020, 7, 24, 9, 30), rkWeekly, akHangUp);
  TNotifyInfo* b = AddReminder(At(2020, 7, 25), rkOnce, akEmail);
  RecordingList list;
  list.records.resize(5);
  scheduler.FillListView(list);
  EXPECT_EQ(list.records, (std::vector<TNotifyInfo*>{a, b}));
  EXPECT_EQ(list.resets, 1);
}

TEST_F(SchedulerTest, FillListViewLoadsAnEmptyList) {
  std::string bytes;
  TNotifyInfo r;
  r.ActionKind = 42;
  r.RepeatKind = 17;
  EncodeRecord(bytes, r);
  file.files[path] = bytes;
  RecordingList list;
  scheduler.FillListView(list);
  ASSERT_EQ(list.records.size(), 1u);
  EXPECT_EQ(list.records[0]->ActionKind, 42);
}

}  // namespace
}  // namespace reminder
