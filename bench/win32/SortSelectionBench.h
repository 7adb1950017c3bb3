// A click on a column header while a big scattered selection stands in the main window.
#pragma once

#include <string>

#include "BenchSupport.h"

namespace reminder::bench {

// With count reminders in random order and every second row selected: clicks on "Erinnern
// an..." in both directions, repetitions times. Prints the click's own time against the
// sort's target (3 times a plain std::sort of the column's texts) and the longest wait for
// the window's thread to answer against 200 ms; checks after each click that the same
// reminders are selected, the same one has the focus and the same row is the first visible.
// False on an error, which it prints.
bool BenchSortSelection(const BenchHost& host, const std::string& dataFile, int count,
                        int repetitions);

}  // namespace reminder::bench
