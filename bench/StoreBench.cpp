// Speed of the store and the due check at 1,000, 10,000 and 100,000 reminders.
// Load and Save go through the real file system; Save flushes the new file and its folder.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "core/common/Timer.h"
#include "core/store/DataFileFormat.h"
#include "core/store/ReminderClassUnit.h"

namespace reminder {
namespace {

class NullTimer : public ITimer {
 public:
  void SetEnabled(bool) override {}
  void SetIntervalMs(uint32_t) override {}
  void SetOnTick(std::function<void()>) override {}
};

class NullMsgBox : public IMsgBox {
 public:
  int Show(const std::string&, const std::string&, uint32_t, TMsgOwner) override { return 0; }
};

class FixedClock : public IClock {
 public:
  explicit FixedClock(TDateTime now) : now_(now) {}
  TDateTime Now() override { return now_; }

 private:
  TDateTime now_;
};

class NoDialUp : public IDialUpProbe {
 public:
  bool IsConnected() override { return false; }
};

const TDateTime kNow = EncodeDate(2026, 12, 9) + EncodeTime(14, 30, 0, 0);  // a Wednesday

// A realistic mix in which nothing is due at kNow: future once-only reminders, finished
// ones, and repeating ones that already fired in their day, week, month or year.
TNotifyInfo MixedRecord(int i) {
  TNotifyInfo r;
  r.NotifyKind = nkAtDate;
  r.NotifyText = "Zahnarzttermin vereinbaren #" + std::to_string(i);
  r.ActionKind = static_cast<uint8_t>(1 + i % 8);
  // What the actions name: an address, a page, a program or a document.
  if (r.ActionKind == akEmail) r.ActionParam = "praxis" + std::to_string(i) + "@example.org";
  if (r.ActionKind == akWebsite) r.ActionParam = "https://example.org/termine/" + std::to_string(i);
  if (r.ActionKind == akProgram || r.ActionKind == akDocument) {
    r.ActionParam = "C:\\Programme\\Praxis\\Termin" + std::to_string(i) + ".exe";
  }
  r.DaysBefore = i % 4;
  r.NotifyDate = EncodeDate(2025, 1 + i % 12, 1 + i % 28) + EncodeTime(i % 24, i % 60, 0, 0);
  switch (i % 6) {
    case 0:
      r.RepeatKind = rkOnce;
      r.NotifyDate = kNow + 1 + i % 300;
      break;
    case 1:
      r.RepeatKind = rkOnce;
      r.Notified = 1;
      break;
    case 2:
      r.RepeatKind = rkDaily;
      r.LastNotified = kNow - 0.1;
      break;
    case 3:
      r.RepeatKind = rkWeekly;
      r.LastNotified = kNow - 1;
      break;
    case 4:
      r.RepeatKind = rkMonthly;
      r.LastNotified = kNow - 5;
      break;
    default:
      r.RepeatKind = rkYearly;
      r.LastNotified = kNow - 60;
      break;
  }
  return r;
}

// The data file is written once from encoded records, then loaded. The records come in a
// shuffled order, as a user's list does, so that no branch predictor can learn a cycle of
// kinds.
struct Fixture {
  explicit Fixture(int64_t count)
      : path((std::filesystem::temp_directory_path() / "reminder-bench.dat").string()),
        clock(kNow),
        scheduler(path, file, box, std::make_unique<NullTimer>(), clock, dialUp) {
    std::vector<int> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(20261208));
    std::string bytes;
    for (int i : order) EncodeRecord(bytes, MixedRecord(i));
    file.Replace(path, bytes);
    scheduler.Load();
  }
  ~Fixture() { std::filesystem::remove(path); }
  int64_t FileSize() const { return static_cast<int64_t>(std::filesystem::file_size(path)); }

  std::string path;
  TStdDataFile file;
  NullMsgBox box;
  FixedClock clock;
  NoDialUp dialUp;
  TReminder scheduler;
};

// The peer of a load: the same bytes read warm with read() into one reused buffer, as a
// program that only looks at them would.
double WarmReadSeconds(const std::string& path) {
  static std::vector<char> buffer(256 * 1024);
  const auto start = std::chrono::steady_clock::now();
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) return 0;
  std::setvbuf(in, nullptr, _IONBF, 0);
  size_t total = 0;
  for (size_t got; (got = std::fread(buffer.data(), 1, buffer.size(), in)) > 0;) total += got;
  std::fclose(in);
  benchmark::DoNotOptimize(total);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_Load(benchmark::State& state) {
  Fixture f(state.range(0));
  double loadSeconds = 0;
  double readSeconds = 0;
  // The callers load only into an empty list, so freeing the previous list is not counted.
  for (auto _ : state) {
    state.PauseTiming();
    f.scheduler.Clear();
    readSeconds += WarmReadSeconds(f.path);
    const auto start = std::chrono::steady_clock::now();
    state.ResumeTiming();
    f.scheduler.Load();
    benchmark::DoNotOptimize(f.scheduler.Count());
    loadSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.FileSize()));
  // The limit is twice the read.
  state.counters["x_read"] = readSeconds > 0 ? loadSeconds / readSeconds : 0;
}

void BM_Save(benchmark::State& state) {
  Fixture f(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(f.scheduler.Save());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.FileSize()));
}

void BM_CheckNothingDue(benchmark::State& state) {
  Fixture f(state.range(0));
  int fired = 0;
  f.scheduler.SetOnNotify([&](TReminder&, TNotifyInfo&) { ++fired; });
  for (auto _ : state) f.scheduler.CheckNotifications();
  if (fired != 0) state.SkipWithError("a reminder fired; the mix must have nothing due");
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * state.range(0)));
  state.counters["ns_per_record"] = benchmark::Counter(
      static_cast<double>(state.iterations() * state.range(0)),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}

// What a save and a due check add for other writers: the writers' lock (with the look for
// leftovers of interrupted saves) and the look at the file's stamp.
void BM_LockAndChangeCheck(benchmark::State& state) {
  Fixture f(state.range(0));
  for (auto _ : state) {
    const auto hold = f.file.LockForUpdate(f.path);
    TFileStamp stamp;
    benchmark::DoNotOptimize(f.file.Stamp(f.path, stamp));
  }
}

BENCHMARK(BM_Load)->Arg(1000)->Arg(10000)->Arg(100000)->UseRealTime()->Unit(
    benchmark::kMicrosecond);
BENCHMARK(BM_Save)->Arg(1000)->Arg(10000)->Arg(100000)->UseRealTime()->Unit(
    benchmark::kMicrosecond);
BENCHMARK(BM_CheckNothingDue)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LockAndChangeCheck)->Arg(10000)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace reminder
