// The standalone program's single-instance guard. A second start tells the user, asks the
// running instance to show its main window and creates no window of its own.
#pragma once

#include <windows.h>

#include "core/host/WMsgBox.h"
#include "win32/system/Handles.h"

namespace reminder {

constexpr char kOnlyOneMutexName[] = "ZeltoReminder32";

class TOnlyOne {
 public:
  TOnlyOne() = default;
  TOnlyOne(const TOnlyOne&) = delete;
  TOnlyOne& operator=(const TOnlyOne&) = delete;

  // Clears DoNotStart; in standalone mode then takes the mutex. When another instance
  // already holds it: the message, DoNotStart set, the restore request to the running
  // instance's main window, and the application is asked to terminate.
  void Start(bool library, IMsgBox& box);
  // While set, the main window is never created.
  bool DoNotStart() const { return doNotStart_; }
  void SetDoNotStart() { doNotStart_ = true; }

 private:
  TKernelHandle mutex_;  // held until the guard goes
  bool doNotStart_ = false;
};

// The module's one guard.
TOnlyOne& OnlyOne();

// A window of class "TMain" whose style has its lowest bit clear.
bool IsReminderMainWindow(HWND window);
// The first window from the first top-level "TMain" down the Z-order, then up from it,
// whose title contains "Reminder" and that IsReminderMainWindow accepts; null if none.
HWND FindRunningMainWindow();

}  // namespace reminder
