// The store's load under Wine against the plain read of the same file.
#pragma once

#include <string>

namespace reminder::bench {

// Writes count reminders in random order to path, then loads them runs times into an
// empty store, each time after reading the same bytes warm with ReadFile. Prints both and
// the load as a ratio to four times the read; false on an error, which it prints.
bool BenchLoad(const std::string& path, int count, int runs);

}  // namespace reminder::bench
