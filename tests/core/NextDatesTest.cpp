#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/Fakes.h"
#include "core/RandomRule.h"
#include "core/TestDates.h"
#include "core/store/DataFileFormat.h"
#include "core/store/NextDates.h"
#include "core/store/ReminderClassUnit.h"
#include "core/store/RepeatRule.h"
#include "core/store/Snooze.h"
#include "core/ui/NextDatesText.h"

namespace reminder {
namespace {

using namespace reminder::testing;

// Records whose dates, last firings and snoozes lie around a span, so that every rule both
// fires and holds back in it; now and then a value outside the tables or a time of day with
// seconds, up to the last minute of a day. Only date reminders of the given repetitions, if any are
// given.
class RecordMaker {
 public:
  RecordMaker(std::mt19937& random, TDateTime first, TDateTime last, std::vector<uint8_t> repeats,
              bool rules = false)
      : random_(random), first_(first), last_(last), repeats_(std::move(repeats)), rules_(rules) {}

  TNotifyInfo Make() {
    TNotifyInfo r;
    const int kind = repeats_.empty() ? Int(0, 19) : 0;
    r.NotifyKind = kind < 16 ? nkAtDate : kind == 16 ? nkDialUp : kind == 17 ? nkNever : 7;
    r.RepeatKind = static_cast<uint8_t>(Int(0, 20) == 0 ? Int(0, 9) : Int(1, 5));
    if (!repeats_.empty()) r.RepeatKind = repeats_[Int(0, static_cast<int>(repeats_.size()) - 1)];
    r.ActionKind = static_cast<uint8_t>(Int(0, 2) == 0 ? akWarning : Int(0, 8));
    r.DaysBefore = Int(0, 10) == 0 ? -Int(1, 3) : Int(0, 30);
    r.NotifyDate = Day(first_ - 400, last_) + TimeOfDayOrEdge();
    if (Int(0, 1) == 0) r.LastNotified = Day(r.NotifyDate - 40, first_ + 1) + TimeOfDayOrEdge();
    r.Notified = Int(0, 9) == 0;
    if (Int(0, 4) == 0) SetSnooze(r, Day(first_, last_) + TimeOfDayOrEdge());
    if (rules_ && Int(0, 2) != 0) {
      // Short intervals, so that the rule fires within the span.
      TRepeatRule rule = RandomRule(random_);
      rule.Interval = static_cast<uint16_t>(1 + rule.Interval % 3);
      if (rule.Count != 0) rule.Count = static_cast<uint16_t>(1 + rule.Count % 40);
      if (rule.Until) rule.Until = Day(first_, last_) + TimeOfDayOrEdge();
      SetRule(r, rule);
      if (Int(0, 9) == 0) r.RepeatKind = rkOnce;  // an older version's change
    }
    return r;
  }

 private:
  int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  // A whole day between two moments, in either order.
  TDateTime Day(TDateTime a, TDateTime b) {
    return std::trunc(std::min(a, b)) + Int(0, static_cast<int>(std::fabs(b - a)));
  }
  TDateTime TimeOfDayOrEdge() {
    switch (Int(0, 5)) {
      case 0:
        return 0;
      case 1:
        return EncodeTime(23, 59, 0, 0);
      case 2:
        return EncodeTime(23, 59, 30, 0);
      default:
        return EncodeTime(Int(0, 23), Int(0, 59), Int(0, 3) == 0 ? Int(0, 59) : 0, 0);
    }
  }

  std::mt19937& random_;
  TDateTime first_;
  TDateTime last_;
  std::vector<uint8_t> repeats_;
  bool rules_;
};

// The scheduler's real check at every whole second of a span, against NextDates for each
// record from the span's start on. Between two whole minutes a record's due state only
// changes at a time of day of its own, so the checks run at every whole minute and at
// those times.
void CompareOverSpan(std::mt19937& random, TDateTime first, int days, int recordCount,
                     std::vector<uint8_t> repeats = {}, bool rules = false) {
  const TDateTime from = first + EncodeTime(0, 0, 17, 0);
  const TDateTime last = first + days;
  RecordMaker maker(random, first, last, std::move(repeats), rules);
  std::vector<TNotifyInfo> records;
  std::string bytes;
  for (int i = 0; i < recordCount; ++i) {
    records.push_back(maker.Make());
    EncodeRecord(bytes, records.back());
  }
  MemoryDataFile file;
  file.files["Reminder.dat"] = bytes;
  FakeMsgBox box;
  TimerState timer;
  FakeClock clock;
  FakeDialUp dialUp;
  TReminder scheduler("Reminder.dat", file, box, std::make_unique<FakeTimer>(timer), clock, dialUp);
  std::map<const TNotifyInfo*, std::vector<TDateTime>> fired;
  scheduler.SetOnNotify([&](TReminder&, TNotifyInfo& r) { fired[&r].push_back(clock.now); });
  std::set<int> seconds;
  for (int minute = 0; minute < 24 * 60; ++minute) seconds.insert(minute * 60);
  // The first check is at the start itself.
  seconds.insert(17);
  for (const TNotifyInfo& r : records) {
    for (TDateTime moment : {r.NotifyDate, r.LastNotified, SnoozeMoment(r).value_or(0)}) {
      const TTimeParts time = DecodeTime(moment);
      seconds.insert((time.Hour * 60 + time.Minute) * 60 + time.Second);
      // An hourly rule comes due at its minute and second of every hour.
      const std::optional<TRepeatRule> rule = RuleOf(r);
      for (int hour = 0; rule && rule->Freq == TRuleFreq::Hourly && hour < 24; ++hour) {
        seconds.insert((hour * 60 + time.Minute) * 60 + time.Second);
      }
    }
  }
  TDateTime lastCheck = from;
  for (int day = 0; day < days; ++day) {
    for (int second : seconds) {
      const TDateTime check =
          first + day + EncodeTime(second / 3600, second / 60 % 60, second % 60, 0);
      if (check < from) continue;
      clock.now = lastCheck = check;
      scheduler.CheckNotifications();
    }
  }
  ASSERT_EQ(scheduler.Count(), records.size());
  for (size_t i = 0; i < records.size(); ++i) {
    const std::vector<TDateTime>& expected = fired[&scheduler.Item(i)];
    const TNextDates next = NextDates(records[i], from, expected.size() + 1);
    SCOPED_TRACE(::testing::Message()
                 << "record " << i << ": kind " << int(records[i].NotifyKind) << " repeat "
                 << int(records[i].RepeatKind) << " action " << int(records[i].ActionKind)
                 << " days " << records[i].DaysBefore << " date " << records[i].NotifyDate
                 << " last " << records[i].LastNotified << " notified " << int(records[i].Notified)
                 << " snooze " << SnoozeMoment(records[i]).value_or(0) << " from " << from);
    ASSERT_GE(next.Moments.size(), expected.size());
    EXPECT_EQ(std::vector<TDateTime>(next.Moments.begin(), next.Moments.begin() + expected.size()),
              expected);
    if (next.Moments.size() > expected.size()) {
      EXPECT_GT(next.Moments.back(), lastCheck);
    } else {
      EXPECT_NE(next.Reason, TNeverReason::None);
    }
  }
}

TEST(NextDates, AgreeWithTheSchedulersCheckAtEverySecond) {
  std::mt19937 random(4711);
  // Turns of the year (2020 has 53 ISO weeks), February in leap years and common ones (2100
  // is one), the end of a month of 30 days.
  CompareOverSpan(random, EncodeDate(2019, 12, 22), 18, 40);
  CompareOverSpan(random, EncodeDate(2020, 2, 24), 9, 40);
  CompareOverSpan(random, EncodeDate(2020, 12, 26), 12, 40);
  CompareOverSpan(random, EncodeDate(2023, 2, 25), 6, 40);
  CompareOverSpan(random, EncodeDate(2023, 4, 28), 5, 40);
  CompareOverSpan(random, EncodeDate(2100, 2, 26), 4, 40);
  // Several years at a stretch, for the rules that fire once a month or a year.
  CompareOverSpan(random, EncodeDate(2023, 11, 1), 800, 8, {rkMonthly, rkYearly});
  // Extended rules, also snoozed, finished or changed by an older version.
  CompareOverSpan(random, EncodeDate(2020, 2, 20), 14, 40, {}, true);
  CompareOverSpan(random, EncodeDate(2023, 12, 24), 12, 40, {}, true);
  CompareOverSpan(random, EncodeDate(2023, 11, 1), 300, 8, {rkMonthly, rkYearly}, true);
}

TEST(NextDates, TheEditorsLineGivesFiveDatesOrWhyNever) {
  const TFormatSettings fs = GermanFormatSettings();
  TNotifyInfo r;
  r.NotifyKind = nkAtDate;
  r.NotifyDate = At(2024, 12, 24, 18);
  r.ActionKind = akWarning;
  r.DaysBefore = 2;
  r.RepeatKind = rkYearly;
  r.LastNotified = At(2025, 12, 22, 18, 5);
  // Date and time are held together by no-break spaces, so the label breaks only between them.
  EXPECT_EQ(NextDatesLine(r, At(2025, 12, 23), fs),
            "22.12.2026\u00A018:00:00, 22.12.2027\u00A018:00:00, 22.12.2028\u00A018:00:00, "
            "22.12.2029\u00A018:00:00, 22.12.2030\u00A018:00:00");
  // A snooze comes first; a once-only reminder is finished after it fired.
  r.RepeatKind = rkOnce;
  r.LastNotified = 0;
  SetSnooze(r, At(2024, 12, 20, 7, 30, 10));
  const TNextDates once = NextDates(r, At(2024, 12, 1), kNextDatesShown);
  EXPECT_EQ(once.Moments,
            (std::vector<TDateTime>{At(2024, 12, 20, 7, 30, 10), At(2024, 12, 22, 18)}));
  EXPECT_EQ(once.Reason, TNeverReason::Finished);
  EXPECT_EQ(NextDatesText(once, fs), "20.12.2024\u00A007:30:10, 22.12.2024\u00A018:00:00");
  ClearSnooze(r);
  // Seconds stay as the list shows them, up to the last minute of a day.
  r.DaysBefore = 0;
  r.RepeatKind = rkDaily;
  r.NotifyDate = At(2024, 12, 2, 10, 53, 37);
  EXPECT_EQ(NextDates(r, At(2024, 12, 2), 1).Moments, (std::vector<TDateTime>{r.NotifyDate}));
  r.NotifyDate = At(2024, 12, 2, 23, 59, 30);
  EXPECT_EQ(NextDates(r, At(2024, 12, 2), 2).Moments,
            (std::vector<TDateTime>{r.NotifyDate, At(2024, 12, 3, 23, 59, 30)}));

  r.Notified = 1;
  EXPECT_EQ(NextDatesLine(r, At(2024, 12, 1), fs), "nie (Erinnerung bereits durchgeführt)");
  r.Notified = 0;
  r.ActionKind = akNothing;
  EXPECT_EQ(NextDatesLine(r, At(2024, 12, 1), fs), "nie (die Aktion „Nichts tun“ löst nie aus)");
  r.NotifyKind = nkDialUp;
  EXPECT_EQ(NextDatesLine(r, At(2024, 12, 1), fs),
            "nie (erst beim Aufbau der nächsten DFÜ-Netzwerk Verbindung)");
  r.NotifyKind = nkNever;
  EXPECT_EQ(NextDatesLine(r, At(2024, 12, 1), fs), "nie (nur gespeichert)");
  // A monthly warning that reaches back into the month before warns once for each date.
  r = {};
  r.NotifyKind = nkAtDate;
  r.NotifyDate = At(2024, 12, 2, 9);
  r.ActionKind = akWarning;
  r.DaysBefore = 5;
  r.RepeatKind = rkMonthly;
  const std::string at9 = std::string(kNoBreakSpace) + "09:00:00";
  EXPECT_EQ(NextDatesLine(r, At(2024, 12, 1), fs), "01.12.2024" + at9 + ", 27.12.2024" + at9 +
                                                       ", 27.01.2025" + at9 + ", 27.02.2025" + at9 +
                                                       ", 27.03.2025" + at9);
  // With a lead below zero, as only a foreign file holds, the window stays empty.
  r.DaysBefore = -5;
  EXPECT_EQ(NextDatesLine(r, At(2024, 12, 1), fs), "nie (kein Tag passt zur Wiederholung)");
}

// The occurrences of a rule by its plain definition, day by day (hour by hour for an
// hourly rule), up to limit: the start first, then every moment after it that the rule
// names. exhausted: the count or the until ended the series before the limit.
std::vector<TDateTime> Expand(const TRepeatRule& rule, TDateTime start, TDateTime limit,
                              bool& exhausted) {
  const TDateParts s = DecodeDate(start);
  const int64_t startDay = static_cast<int64_t>(start);
  const auto weekday = [](int64_t day) { return (DayOfWeek(static_cast<TDateTime>(day)) + 5) % 7; };
  const auto names = [&](int64_t day) {
    const TDateParts d = DecodeDate(static_cast<TDateTime>(day));
    const int n = rule.Interval;
    const int months = (d.Year - s.Year) * 12 + d.Month - s.Month;
    const bool onDay = rule.LastDayOfMonth ? d.Day == DaysInMonth(d.Year, d.Month)
                       : rule.Ordinal > 0  ? ((rule.Weekdays >> weekday(day)) & 1) &&
                                                (d.Day - 1) / 7 + 1 == rule.Ordinal
                       : rule.Ordinal < 0 ? ((rule.Weekdays >> weekday(day)) & 1) &&
                                                d.Day + 7 > DaysInMonth(d.Year, d.Month)
                                          : d.Day == s.Day;
    switch (rule.Freq) {
      case TRuleFreq::Daily:
        return (day - startDay) % n == 0 &&
               (rule.Weekdays == 0 || ((rule.Weekdays >> weekday(day)) & 1));
      case TRuleFreq::Weekly: {
        const int64_t weeks = (day - weekday(day) - (startDay - weekday(startDay))) / 7;
        const uint8_t days = rule.Weekdays ? rule.Weekdays : 1 << weekday(startDay);
        return weeks % n == 0 && ((days >> weekday(day)) & 1);
      }
      case TRuleFreq::Monthly:
        return months % n == 0 && onDay;
      default:
        return d.Month == s.Month && (d.Year - s.Year) % n == 0 && onDay;
    }
  };
  std::vector<TDateTime> moments{start};
  const TDateTime time = TimeOfDay(start);
  exhausted = true;
  for (int64_t step = 1;; ++step) {
    TDateTime moment = 0;
    if (rule.Freq == TRuleFreq::Hourly) {
      const int64_t seconds =
          static_cast<int64_t>(std::llround(time * 86400)) + step * rule.Interval * 3600;
      moment = static_cast<TDateTime>(startDay + seconds / 86400) +
               EncodeTime(static_cast<int>(seconds % 86400 / 3600),
                          static_cast<int>(seconds % 3600 / 60), static_cast<int>(seconds % 60), 0);
    } else {
      if (!names(startDay + step)) continue;
      moment = static_cast<TDateTime>(startDay + step) + time;
    }
    if (moment > limit) {
      exhausted = false;
      break;
    }
    if ((rule.Count != 0 && moments.size() >= rule.Count) || (rule.Until && moment > *rule.Until))
      break;
    moments.push_back(moment);
  }
  return moments;
}

// Each random rule fires, with its warning days, at the alarms of the occurrences its plain
// definition names, over years that hold 29 February, month ends and turns of the year;
// once its count or end is reached it is done.
TEST(NextDates, ExtendedRulesFireAtEachOccurrenceOfTheirDefinition) {
  std::mt19937 random(2027);
  const auto pick = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  for (int i = 0; i < 300; ++i) {
    TRepeatRule rule = RandomRule(random);
    rule.Interval =
        static_cast<uint16_t>(1 + rule.Interval % (rule.Freq == TRuleFreq::Hourly ? 30 : 3));
    if (rule.Count != 0) rule.Count = static_cast<uint16_t>(1 + rule.Count % 30);
    TNotifyInfo r;
    r.NotifyKind = nkAtDate;
    r.ActionKind = pick(0, 1) ? akWarning : akWebsite;
    r.DaysBefore = pick(0, 10);
    r.NotifyDate = At(pick(2019, 2024), pick(1, 12), pick(1, 28), pick(0, 23), pick(0, 59));
    if (pick(0, 3) == 0) r.NotifyDate = At(2024, 2, 29, 23, 59) - pick(0, 3);  // month ends
    if (rule.Until) rule.Until = r.NotifyDate + pick(0, 3 * 366);
    ASSERT_TRUE(SetRule(r, rule));
    const double lead = r.ActionKind == akWarning ? r.DaysBefore : 0;
    const TDateTime limit = r.NotifyDate + (rule.Freq == TRuleFreq::Hourly ? 40 : 6 * 366);
    bool exhausted = false;
    const std::vector<TDateTime> occurrences = Expand(rule, r.NotifyDate, limit, exhausted);
    const size_t wanted = std::min<size_t>(occurrences.size(), 40);
    const TNextDates next = NextDates(r, r.NotifyDate - lead - EncodeTime(0, 0, 1, 0), wanted + 1);
    SCOPED_TRACE(::testing::Message()
                 << "rule " << i << " " << int(rule.Freq) << " every " << rule.Interval << " days "
                 << int(rule.Weekdays) << " ordinal " << int(rule.Ordinal) << " last "
                 << rule.LastDayOfMonth << " count " << rule.Count << " date " << r.NotifyDate);
    ASSERT_GE(next.Moments.size(), wanted);
    for (size_t k = 0; k < wanted; ++k) {
      ASSERT_NEAR(next.Moments[k], occurrences[k] - lead, 1e-9) << "occurrence " << k;
    }
    if (exhausted && wanted == occurrences.size()) {
      EXPECT_EQ(next.Moments.size(), wanted);
      EXPECT_EQ(next.Reason, TNeverReason::Finished);
    }
  }
}

}  // namespace
}  // namespace reminder
