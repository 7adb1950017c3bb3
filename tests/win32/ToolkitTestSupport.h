// Helpers of the toolkit tests: the application set up once; PumpUntil (a message loop that
// is not the module's own, as a host program's loop would be) is in the support library.
#pragma once

#include <windows.h>

#include "win32/support/MsgBoxCatcher.h"
#include "win32/toolkit/Application.h"

namespace reminder::testing {

inline void InitializeToolkit() {
  Application().Initialize(TAppMode::Standalone);
}

}  // namespace reminder::testing
