// The data file the main window's benchmark loads: a realistic mix of reminders in which
// nothing falls due while the program runs.
#pragma once

#include <string>

#include "BenchSupport.h"

namespace reminder::bench {

enum class TRecordOrder { Cycled, Shuffled };

// Writes count reminders to path. Cycled keeps the kinds in a fixed rotation; Shuffled puts
// the same reminders in a random order (the same one every run).
bool WriteDataFile(const std::string& path, int count, TRecordOrder order = TRecordOrder::Cycled);

// Writes count reminders in random order to dataFile and lets the host create the module
// on them; false, after saying why, when either fails.
bool OpenOnShuffledData(const BenchHost& host, const std::string& dataFile, int count);

}  // namespace reminder::bench
