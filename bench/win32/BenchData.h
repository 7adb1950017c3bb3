// The data file the main window's benchmark loads: a realistic mix of reminders in which
// nothing falls due while the program runs.
#pragma once

#include <string>

namespace reminder::bench {

enum class TRecordOrder { Cycled, Shuffled };

// Writes count reminders to path. Cycled keeps the kinds in a fixed rotation; Shuffled puts
// the same reminders in a random order (the same one every run).
bool WriteDataFile(const std::string& path, int count, TRecordOrder order = TRecordOrder::Cycled);

}  // namespace reminder::bench
