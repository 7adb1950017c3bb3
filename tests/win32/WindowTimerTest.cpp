// The window timer and the scheduler it drives: ticks on the thread that created the
// timer, none after it is switched off, and never one check inside another.
#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "core/Fakes.h"
#include "core/store/ReminderClassUnit.h"
#include "win32/support/MsgBoxCatcher.h"
#include "win32/toolkit/WindowTimer.h"

namespace reminder {
namespace {

using testing::FakeMsgBox;
using testing::FlushEvents;
using testing::MemoryDataFile;
using testing::PumpUntil;

constexpr uint32_t kShortPeriodMs = 20;
constexpr DWORD kPatienceMs = 5000;

// Runs the thread's message loop until done() holds or the patience runs out.

TEST(WindowTimerTest, TicksArriveOnTheThreadThatCreatedTheTimer) {
  std::vector<DWORD> tickThreads;
  DWORD timerThread = 0;
  bool ticked = false;
  std::thread worker([&] {
    timerThread = GetCurrentThreadId();
    TWindowTimer timer;
    timer.SetIntervalMs(kShortPeriodMs);
    timer.SetOnTick([&] { tickThreads.push_back(GetCurrentThreadId()); });
    timer.SetEnabled(true);
    ticked = PumpUntil([&] { return tickThreads.size() >= 3; });
  });
  worker.join();
  ASSERT_TRUE(ticked);
  for (DWORD thread : tickThreads) EXPECT_EQ(thread, timerThread);
  EXPECT_NE(timerThread, GetCurrentThreadId());
}

TEST(WindowTimerTest, SwitchedOffTimerTicksNoMore) {
  TWindowTimer timer;
  int ticks = 0;
  timer.SetIntervalMs(kShortPeriodMs);
  timer.SetOnTick([&] { ++ticks; });
  timer.SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 2; }));
  timer.SetEnabled(false);
  EXPECT_FALSE(timer.Enabled());
  const int ticksWhenOff = ticks;
  FlushEvents(10 * kShortPeriodMs, 20 * kShortPeriodMs);
  EXPECT_EQ(ticks, ticksWhenOff);
}

TEST(WindowTimerTest, TickAlreadyQueuedWhenSwitchedOffIsDropped) {
  TWindowTimer timer;
  int ticks = 0;
  timer.SetIntervalMs(kShortPeriodMs);
  timer.SetOnTick([&] { ++ticks; });
  timer.SetEnabled(true);
  // Takes the first tick off the queue without dispatching it.
  MSG tick = {};
  const DWORD start = GetTickCount();
  bool taken = false;
  while (!taken && GetTickCount() - start < kPatienceMs) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_TIMER);
    taken = PeekMessageA(&tick, timer.Handle(), WM_TIMER, WM_TIMER, PM_REMOVE) != FALSE;
  }
  ASSERT_TRUE(taken);
  EXPECT_EQ(ticks, 0);

  timer.SetEnabled(false);
  DispatchMessageA(&tick);
  EXPECT_EQ(ticks, 0);

  // The same message ticks once the timer is on again.
  timer.SetEnabled(true);
  DispatchMessageA(&tick);
  EXPECT_EQ(ticks, 1);
}

// Counts the checks by the two questions a check asks (the dial-up probe for a pending
// dial-up reminder, the clock for a pending date reminder) and notes any asked while the
// notification of a check is still running.
class CheckRecorder : public IClock, public IDialUpProbe {
 public:
  explicit CheckRecorder(int connectedFromProbe) : connectedFromProbe_(connectedFromProbe) {}

  TDateTime Now() override {
    ++clockReads;
    if (notifying) ++overlaps;
    return EncodeDateTime({2024, 3, 1}, {12, 0, 0, 0});
  }
  bool IsConnected() override {
    ++probes;
    if (notifying) ++overlaps;
    return probes >= connectedFromProbe_;
  }

  bool notifying = false;
  int clockReads = 0;
  int probes = 0;
  int overlaps = 0;

 private:
  int connectedFromProbe_;
};

// A dial-up reminder that fires at the check where the probe first answers true, and a
// date reminder far ahead that makes every check read the clock.
void AddReminders(TReminder& scheduler) {
  TNotifyInfo dialUp;
  dialUp.NotifyKind = nkDialUp;
  dialUp.NotifyText = "Nach dem Einwählen";
  dialUp.ActionKind = akNothing;
  dialUp.RepeatKind = rkOnce;
  scheduler.Add(dialUp);
  TNotifyInfo later;
  later.NotifyKind = nkAtDate;
  later.NotifyDate = EncodeDateTime({2099, 1, 1}, {0, 0, 0, 0});
  later.NotifyText = "Viel später";
  later.ActionKind = akWarning;
  later.RepeatKind = rkOnce;
  scheduler.Add(later);
}

// Runs the scheduler on a real window timer with a short period; the notification runs a
// message loop of its own for many periods, as a modal box would.
void ExpectChecksNeverOverlap(int connectedFromProbe) {
  MemoryDataFile file;
  FakeMsgBox box;
  CheckRecorder recorder(connectedFromProbe);
  auto owned = std::make_unique<TWindowTimer>();
  TWindowTimer* timer = owned.get();
  TReminder scheduler("Reminder.dat", file, box, std::move(owned), recorder, recorder);
  AddReminders(scheduler);
  int notified = 0;
  scheduler.SetOnNotify([&](TReminder&, TNotifyInfo& record) {
    ++notified;
    EXPECT_EQ(record.NotifyKind, nkDialUp);
    recorder.notifying = true;
    FlushEvents(10 * kShortPeriodMs, 20 * kShortPeriodMs);
    recorder.notifying = false;
  });
  // A period far below the scheduler's seconds keeps the test short.
  timer->SetIntervalMs(kShortPeriodMs);

  scheduler.SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] {
    return notified > 0 && recorder.clockReads >= connectedFromProbe + 3;
  })) << "the checks stopped after "
      << recorder.clockReads;
  EXPECT_EQ(recorder.overlaps, 0);
  EXPECT_EQ(notified, 1);
  EXPECT_EQ(scheduler.Item(0).Notified, 1);
  EXPECT_TRUE(timer->Enabled());

  scheduler.SetEnabled(false);
  const int checksWhenOff = recorder.clockReads;
  FlushEvents(10 * kShortPeriodMs, 20 * kShortPeriodMs);
  EXPECT_EQ(recorder.clockReads, checksWhenOff);
}

TEST(WindowTimerTest, SchedulerChecksNeverOverlapWhenATimerCheckNotifies) {
  ExpectChecksNeverOverlap(3);
}

TEST(WindowTimerTest, SchedulerChecksNeverOverlapWhenSwitchingOnNotifies) {
  ExpectChecksNeverOverlap(1);
}

}  // namespace
}  // namespace reminder
