// The names reminderctl gives the kinds of a reminder, indexed by their values: add takes
// them and --json shows them. Scripts rely on them, so they stay as they are.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/store/NotifyInfo.h"

namespace reminder {

inline constexpr const char* kTriggerKeys[] = {"never", "dialup", "date"};
inline constexpr const char* kActionKeys[kActionCount] = {"nothing", "warning",  "email",
                                                          "website", "program",  "document",
                                                          "restart", "shutdown", "hangup"};
// "never" is no choice of the editor, so add does not take it; a file may hold it.
inline constexpr const char* kRepeatKeys[kRepeatCount] = {"never",  "once",    "daily",
                                                          "weekly", "monthly", "yearly"};

// The key of a value, or null for one outside the table, as only a damaged or foreign
// file holds.
template <size_t N>
const char* KeyOf(const char* const (&keys)[N], uint8_t value) {
  return value < N ? keys[value] : nullptr;
}

}  // namespace reminder
