// The seams of the scheduler as one run of the tool fixes them: the moment of --at, the
// answer of --connected, and a timer that never ticks, since the tool checks once.
#pragma once

#include "core/common/Clock.h"
#include "core/common/Timer.h"
#include "core/dialup/DialUpProbe.h"

namespace reminder {

class TFixedClock : public IClock {
 public:
  explicit TFixedClock(TDateTime now) : now_(now) {}
  TDateTime Now() override { return now_; }

 private:
  TDateTime now_;
};

class TFixedDialUp : public IDialUpProbe {
 public:
  explicit TFixedDialUp(bool connected) : connected_(connected) {}
  bool IsConnected() override { return connected_; }

 private:
  bool connected_;
};

class TIdleTimer : public ITimer {
 public:
  void SetEnabled(bool) override {}
  void SetIntervalMs(uint32_t) override {}
  void SetOnTick(std::function<void()>) override {}
};

}  // namespace reminder
