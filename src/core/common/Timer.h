// A periodic timer whose ticks arrive on the thread that owns it. The shell realises it
// as a window timer; tests tick it by hand.
#pragma once

#include <cstdint>
#include <functional>

namespace reminder {

class ITimer {
 public:
  virtual ~ITimer() = default;
  virtual void SetEnabled(bool enabled) = 0;
  virtual void SetIntervalMs(uint32_t milliseconds) = 0;
  virtual void SetOnTick(std::function<void()> handler) = 0;
};

}  // namespace reminder
