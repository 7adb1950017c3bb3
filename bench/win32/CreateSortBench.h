// The main window's creation and its column sort, at a given number of reminders.
#pragma once

#include <string>

#include "BenchSupport.h"

namespace reminder::bench {

// Writes count reminders to dataFile, times ZeltoReminderCreate and ZeltoReminderClose
// createReps times, then opens the window and times a click on each column header sortReps
// times in each direction; false on an error, which it prints.
bool BenchCount(const BenchHost& host, const std::string& dataFile, int count, int createReps,
                int sortReps);

}  // namespace reminder::bench
