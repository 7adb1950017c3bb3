// A window timer: ticks arrive as WM_TIMER on the thread that created it, through a
// hidden message-only window of its own.
#pragma once

#include <windows.h>

#include "core/common/Timer.h"

namespace reminder {

class TWindowTimer : public ITimer {
 public:
  TWindowTimer();
  ~TWindowTimer() override;
  TWindowTimer(const TWindowTimer&) = delete;
  TWindowTimer& operator=(const TWindowTimer&) = delete;

  void SetEnabled(bool enabled) override;
  void SetIntervalMs(uint32_t milliseconds) override;
  void SetOnTick(std::function<void()> handler) override;

  HWND Handle() const { return window_; }
  bool Enabled() const { return enabled_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Restart();

  HWND window_ = nullptr;
  bool enabled_ = false;
  uint32_t intervalMs_ = 1000;
  std::function<void()> onTick_;
};

}  // namespace reminder
