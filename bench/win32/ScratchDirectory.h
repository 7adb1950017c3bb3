// The benchmark runs as a copy of itself in a fresh directory below %TEMP%, beside a copy
// of Reminder.dll, so that the module's "Reminder.dat" lands there and nowhere else.
#pragma once

#include <string>

namespace reminder::bench {

constexpr char kRunSwitch[] = "--in-scratch";
constexpr char kModuleName[] = "Reminder.dll";

// Copies this program and the module into a fresh directory, runs the copy there with
// kRunSwitch and arguments, removes the directory and returns the copy's exit code.
int RunFromScratch(const std::string& arguments);

}  // namespace reminder::bench
