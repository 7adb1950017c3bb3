// Speed of the editor's line of next dates, which is worked out on every keystroke: five
// firings of a yearly rule pass over about 1,800 days, a daily one over five.
#include <benchmark/benchmark.h>

#include "core/store/NextDates.h"

namespace reminder {
namespace {

void BM_NextFiveDates(benchmark::State& state) {
  TNotifyInfo r;
  r.NotifyKind = nkAtDate;
  r.NotifyDate = EncodeDate(2026, 3, 14) + EncodeTime(9, 30, 0, 0);
  r.ActionKind = akWarning;
  r.DaysBefore = 3;
  r.RepeatKind = static_cast<uint8_t>(state.range(0));
  const TDateTime now = EncodeDate(2026, 3, 20) + EncodeTime(14, 12, 5, 0);
  for (auto _ : state) {
    const TNextDates next = NextDates(r, now, 5);
    if (next.Moments.size() != 5) state.SkipWithError("five firings expected");
    benchmark::DoNotOptimize(next.Moments.data());
  }
}
BENCHMARK(BM_NextFiveDates)
    ->Arg(rkDaily)
    ->Arg(rkWeekly)
    ->Arg(rkMonthly)
    ->Arg(rkYearly)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace reminder
