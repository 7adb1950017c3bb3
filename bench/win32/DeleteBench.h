// Deleting a big selection in the main window the way a user does it.
#pragma once

#include <string>

#include "BenchSupport.h"

namespace reminder::bench {

// With count reminders in random order: every row selected, then every second row, each
// deleted with the key Entf in the list, repetitions times. Prints the delete's own time
// and the longest wait for the window's thread to answer, each against its limit; false
// on an error, which it prints.
bool BenchDelete(const BenchHost& host, const std::string& dataFile, int count, int repetitions);

}  // namespace reminder::bench
