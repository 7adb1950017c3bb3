// Helpers of the toolkit tests: the application set up once, and a message loop that is
// not the module's own, as a host program's loop would be.
#pragma once

#include <windows.h>

#include "win32/toolkit/Application.h"

namespace reminder::testing {

inline void InitializeToolkit() {
  Application().Initialize(TAppMode::Standalone);
}

// Dispatches messages until done() answers true; false if it still does not after maxMs
// (a guard against a hanging test, never the thing tested).
template <class Done>
bool PumpUntil(Done done, DWORD maxMs = 3000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > maxMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  return true;
}

}  // namespace reminder::testing
