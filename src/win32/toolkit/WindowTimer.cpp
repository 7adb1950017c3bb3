#include "win32/toolkit/WindowTimer.h"

#include "win32/toolkit/Application.h"

namespace reminder {

namespace {

constexpr UINT_PTR kTimerId = 1;
const char kClassName[] = "ReminderWindowTimer";

void RegisterTimerClass() {
  WNDCLASSA wc = {};
  if (GetClassInfoA(GetModuleHandleA(nullptr), kClassName, &wc)) return;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);
}

}  // namespace

TWindowTimer::TWindowTimer() {
  RegisterTimerClass();
  window_ = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
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
    auto* self = reinterpret_cast<TWindowTimer*>(GetWindowLongPtrA(window, GWLP_USERDATA));
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
