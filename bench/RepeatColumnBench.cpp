// Speed of what extended repetition rules add: sorting the list by "Wie oft?" when some or
// all rows carry a rule (each such row's text is made and ranked per sort), the due check
// of a rule, and the editor's line of next dates for one.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/store/DueRules.h"
#include "core/store/NextDates.h"
#include "core/store/RepeatRule.h"
#include "core/store/RuleText.h"
#include "core/ui/ReminderRows.h"

namespace reminder {
namespace {

const char* const kRules[] = {"FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE", "FREQ=MONTHLY;BYDAY=2TU",
                              "FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR", "FREQ=HOURLY;INTERVAL=2",
                              "FREQ=MONTHLY;BYMONTHDAY=-1;COUNT=24"};

TNotifyInfo RuleRecord(const char* rrule, TDateTime start) {
  TNotifyInfo r;
  r.NotifyKind = nkAtDate;
  r.NotifyDate = start;
  r.ActionKind = akWarning;
  std::string error;
  SetRule(r, ParseRRule(rrule, start, error));
  return r;
}

// 10,000 rows, every n-th with a rule (none for 0), sorted by "Wie oft?" each round.
void BM_SortByRepeatColumn(benchmark::State& state) {
  const int every = static_cast<int>(state.range(0));
  std::vector<TNotifyInfo> records(10000);
  for (size_t i = 0; i < records.size(); ++i) {
    const TDateTime start = EncodeDate(2026, 1, 1) + static_cast<double>(i % 365);
    records[i].RepeatKind = static_cast<uint8_t>(i % 6);
    if (every != 0 && i % static_cast<size_t>(every) == 0) {
      records[i] = RuleRecord(kRules[i % 5], start);
    }
  }
  TReminderRows rows;
  for (TNotifyInfo& r : records) rows.AddItem(r);
  const TSortKeyOf key = [](const std::string& text) { return text; };
  for (auto _ : state) {
    rows.SortByColumn(lcRepeat, key);
    benchmark::DoNotOptimize(rows.Row(0).Data);
  }
}
BENCHMARK(BM_SortByRepeatColumn)->Arg(0)->Arg(10)->Arg(1)->Unit(benchmark::kMillisecond);

// One due check of a rule record that started years ago and is not due.
void BM_RuleDueCheck(benchmark::State& state) {
  const TNotifyInfo r = RuleRecord(kRules[state.range(0)], EncodeDate(2016, 3, 14) + 0.4);
  TNotifyInfo fired = r;
  const TCheckMoment now(EncodeDate(2026, 3, 20) + 0.3);
  fired.LastNotified = now.Now - 0.01;
  for (auto _ : state) benchmark::DoNotOptimize(IsDateReminderDue(fired, now));
}
BENCHMARK(BM_RuleDueCheck)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

void BM_RuleNextFiveDates(benchmark::State& state) {
  const TNotifyInfo r = RuleRecord(kRules[state.range(0)], EncodeDate(2016, 3, 14) + 0.4);
  const TDateTime now = EncodeDate(2026, 3, 20) + 0.3;
  for (auto _ : state) {
    const TNextDates next = NextDates(r, now, 5);
    benchmark::DoNotOptimize(next.Moments.data());
  }
}
BENCHMARK(BM_RuleNextFiveDates)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace reminder
