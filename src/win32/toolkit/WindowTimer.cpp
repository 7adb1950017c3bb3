#include "win32/toolkit/WindowTimer.h"

#include "win32/toolkit/Application.h"
#include "win32/toolkit/HiddenWindow.h"

namespace reminder {

namespace {

constexpr UINT_PTR kTimerId = 1;
const char kClassName[] = "ReminderWindowTimer";

}  // namespace

TWindowTimer::TWindowTimer() {
  window_ = CreateHiddenWindow(kClassName, 0, 0, HWND_MESSAGE, &WindowProc, this);
}

TWindowTimer::~TWindowTimer() {
  if (window_) {
    KillTimer(window_, kTimerId);
    DestroyWindow(window_);
  }
}

void TWindowTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Restart();
}

void TWindowTimer::SetIntervalMs(uint32_t milliseconds) {
  intervalMs_ = milliseconds;
  Restart();
}

void TWindowTimer::SetOnTick(std::function<void()> handler) {
  onTick_ = std::move(handler);
}

void TWindowTimer::Restart() {
  KillTimer(window_, kTimerId);
  if (enabled_) SetTimer(window_, kTimerId, intervalMs_, nullptr);
}

LRESULT CALLBACK TWindowTimer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  THandlerScope scope;
  if (message == WM_TIMER && wParam == kTimerId) {
    auto* self = HiddenWindowObject<TWindowTimer>(window);
    // A tick already queued when the timer was switched off is dropped.
    if (self && self->enabled_ && self->onTick_) {
      try {
        self->onTick_();
      } catch (...) {
        // No exception may cross the window procedure into the system.
      }
    }
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace reminder
