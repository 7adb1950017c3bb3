// What the two exported functions and the standalone program's start block do.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/host/WMsgBox.h"

namespace reminder {

// ZeltoReminderCreate: creates the hidden main window over "Reminder.dat" beside the
// running executable and stores the host's window. While a main window exists it is kept
// and only the host's window is stored anew, so that one data file never gets two
// schedulers. False when anything failed; no exception leaves it.
bool CreateReminder(HWND host) noexcept;
// ZeltoReminderClose: releases the main window (destroyed when the queue reaches the
// request) and clears the module's reference at once; without one it does nothing.
void CloseReminder() noexcept;
// Before the module is unloaded: a main window the host never closed goes now, together
// with everything else of the toolkit, so that no window procedure outlives the module.
void ReleaseLeftovers() noexcept;

// "/DEINSTALL" among the parameters (in any letter case, each time it occurs): removes the
// module's settings from the registry, tells the user and keeps the main window from
// being created.
void HandleDeinstall(const std::vector<std::string>& parameters, IMsgBox& box);
// The standalone program's start block after the module's start: the short-date
// correction, "/DEINSTALL", then the main window and the message loop unless the guard or
// the switch stopped the start. Returns the program's exit code.
int RunStandalone(const std::vector<std::string>& parameters);

}  // namespace reminder
