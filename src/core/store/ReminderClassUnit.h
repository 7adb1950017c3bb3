// The scheduler: the store plus a periodic due check that marks each due reminder,
// reports it through OnNotify and writes the file once per pass. A snoozed reminder is
// reported once more at its snooze moment, without a mark.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "core/common/Clock.h"
#include "core/common/FormatSettings.h"
#include "core/common/Timer.h"
#include "core/dialup/DialUpProbe.h"
#include "core/store/DueRules.h"
#include "core/store/IOUnit.h"
#include "core/store/ReminderListView.h"

namespace reminder {

class TReminder : public TFileIO {
 public:
  // Called for every reminder that fires; it must not change the list.
  using TNotifyEvent = std::function<void(TReminder&, TNotifyInfo&)>;

  TReminder(std::string fileName, IDataFile& file, IMsgBox& msgBox, std::unique_ptr<ITimer> timer,
            IClock& clock, IDialUpProbe& dialUp);
  ~TReminder() override;

  bool Enabled() const { return enabled_; }
  // A change switches the timer and runs a check at once; a failing check is dropped, as
  // in a tick.
  void SetEnabled(bool enabled);
  int32_t Interval() const { return interval_; }
  void SetInterval(int32_t seconds);
  void SetOnNotify(TNotifyEvent handler) { onNotify_ = std::move(handler); }

  void CheckNotifications();
  void FillListView(IReminderListView& view);

  static TWeek WeekNum(TDateTime value) { return reminder::WeekNum(value); }

 private:
  void CheckWithTimerOff();
  void Fire(TNotifyInfo& record);

  std::unique_ptr<ITimer> timer_;
  IClock& clock_;
  IDialUpProbe& dialUp_;
  bool enabled_ = false;
  TNotifyEvent onNotify_;
  int32_t interval_ = 60;
};

// The timer period for an interval in seconds, kept within what a window timer takes.
uint32_t TimerPeriodMs(int32_t seconds);

}  // namespace reminder
