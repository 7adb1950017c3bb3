// A plain visible top-level window of the test's thread, made the active window, for code
// that behaves differently when the user works in one of the thread's windows.
#pragma once

#include <windows.h>

namespace reminder::testing {

class ActiveTestWindow {
 public:
  ActiveTestWindow();
  ~ActiveTestWindow();
  ActiveTestWindow(const ActiveTestWindow&) = delete;
  ActiveTestWindow& operator=(const ActiveTestWindow&) = delete;

  HWND Handle() const { return window_; }

 private:
  HWND window_ = nullptr;
};

}  // namespace reminder::testing
