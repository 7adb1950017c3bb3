#include "core/store/ReminderClassUnit.h"

#include <optional>

#include "core/store/Snooze.h"

namespace reminder {

uint32_t TimerPeriodMs(int32_t seconds) {
  const int64_t ms = static_cast<int64_t>(seconds) * 1000;
  if (ms < 1) return 1;
  if (ms > 0x7FFFFFFF) return 0x7FFFFFFF;
  return static_cast<uint32_t>(ms);
}

TReminder::TReminder(std::string fileName, IDataFile& file, IMsgBox& msgBox,
                     std::unique_ptr<ITimer> timer, IClock& clock, IDialUpProbe& dialUp)
    : TFileIO(std::move(fileName), file, msgBox),
      timer_(std::move(timer)),
      clock_(clock),
      dialUp_(dialUp) {
  timer_->SetEnabled(false);
  timer_->SetIntervalMs(TimerPeriodMs(interval_));
  timer_->SetOnTick([this] { CheckWithTimerOff(); });
}

TReminder::~TReminder() {
  timer_.reset();
}

void TReminder::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  CheckWithTimerOff();
}

void TReminder::SetInterval(int32_t seconds) {
  if (seconds == interval_) return;
  interval_ = seconds;
  timer_->SetIntervalMs(TimerPeriodMs(seconds));
}

// The timer stays off during a check, so that a callback that pumps messages (as a modal
// box does) cannot start a second check inside the first.
void TReminder::CheckWithTimerOff() {
  timer_->SetEnabled(false);
  try {
    CheckNotifications();
  } catch (...) {
    // A failing check ends that pass only; the schedule goes on.
  }
  if (enabled_) timer_->SetEnabled(true);
}

void TReminder::Fire(TNotifyInfo& record) {
  if (onNotify_) onNotify_(*this, record);
}

void TReminder::CheckNotifications() {
  // What other programs wrote since the last look counts, and fires, too; the list's view
  // follows through the reload handler, also for a file that appeared only now.
  if (!Sync() && Count() == 0) Load();
  bool changed = false;
  std::optional<TCheckMoment> moment;  // read once, at the first record that needs it
  const auto now = [&]() -> const TCheckMoment& {
    if (!moment) moment.emplace(clock_.Now());
    return *moment;
  };
  const size_t count = Count();
  try {
    // The bound is rechecked because a callback that breaks its contract may shrink the list.
    for (size_t i = 0; i < count && i < Count(); ++i) {
      TNotifyInfo& r = Item(i);
      const bool byDialUp = r.Notified == 0 && r.NotifyKind == nkDialUp && dialUp_.IsConnected();
      const bool byDate =
          !byDialUp && r.Notified == 0 && r.NotifyKind == nkAtDate && IsDateReminderDue(r, now());
      // A snooze fires whatever the record's trigger and state, and leaves its schedule alone.
      const std::optional<TDateTime> snooze = SnoozeMoment(r);
      const bool bySnooze = snooze && *snooze <= now().Now;
      if (!byDialUp && !byDate && !bySnooze) continue;
      // One alert, also when the snooze falls due with the rule.
      if (bySnooze) ClearSnooze(r);
      if (byDate) MarkFired(r, now().Now);
      changed = true;
      Fire(r);
      // The callback sees a dial-up reminder still pending.
      if (byDialUp) MarkFired(r, 0);
    }
  } catch (...) {
    // What fired before the failure stays recorded, so it does not fire again.
    if (changed) Save(false);
    throw;
  }
  if (changed) Save(false);
}

void TReminder::FillListView(IReminderListView& view) {
  if (Count() == 0) Load();
  view.ClearItems();
  view.ResetSortMarker();
  for (size_t i = 0; i < Count(); ++i) view.AddItem(Item(i));
}

}  // namespace reminder
