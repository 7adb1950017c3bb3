// Hands calls from other threads to the thread that loaded the module. A thread queues a
// call; a message to a hidden window of the module's thread then runs the queue there, from
// whichever message loop dispatches it (the host's, in library mode).
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <mutex>

namespace reminder {

constexpr UINT kSyncWakeUpMessage = WM_USER;  // 1024

class TSyncHelper {
 public:
  // Creates the hidden window on the calling thread; throws when it cannot.
  TSyncHelper();
  // Destroys the window; calls still queued are dropped. Only on the creating thread.
  ~TSyncHelper();
  TSyncHelper(const TSyncHelper&) = delete;
  TSyncHelper& operator=(const TSyncHelper&) = delete;

  HWND Handle() const { return window_; }
  // From any thread: the call runs later on the module's thread; it does not wait for it.
  void QueueCall(std::function<void()> call);
  // From any thread: asks the module's thread to run the queue.
  void WakeUp();
  // Runs every call queued so far, in order; an exception thrown by one stops only that one.
  void RunQueued();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  std::mutex lock_;
  std::deque<std::function<void()>> queue_;
};

// The module's one helper: null until the module's start has created it.
TSyncHelper* SyncHelper();
void CreateSyncHelper();
void DestroySyncHelper();

}  // namespace reminder
