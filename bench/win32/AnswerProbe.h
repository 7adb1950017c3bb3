// How long the main window leaves its thread without answering: a second thread asks the
// window for an answer (WM_NULL) every 10 ms and keeps the longest wait. While the window's
// thread does not answer, it does not repaint either.
#pragma once

#include <windows.h>

#include <atomic>

namespace reminder::bench {

// A stall shows as a wait at most one interval shorter than the stall. A question box that
// opens on the window's thread is answered "Ja", as the user would.
class AnswerProbe {
 public:
  explicit AnswerProbe(HWND window);
  ~AnswerProbe() { Stop(); }
  AnswerProbe(const AnswerProbe&) = delete;
  AnswerProbe& operator=(const AnswerProbe&) = delete;

  // Ends the probe. Its last WM_NULL waits for the window's thread, which therefore pumps
  // while it waits for the probe to end.
  void Stop();
  double LongestWait() const { return longest_; }
  int Confirmed() const { return confirmed_; }

  static constexpr DWORD kIntervalMs = 10;

 private:
  static DWORD WINAPI Run(LPVOID self);
  void Probe();

  HWND window_;
  DWORD windowThread_;
  HANDLE thread_ = nullptr;
  std::atomic<bool> stop_{false};
  std::atomic<double> longest_{0};
  std::atomic<int> confirmed_{0};
};

}  // namespace reminder::bench
