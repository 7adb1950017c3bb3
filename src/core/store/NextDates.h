// The next moments at which a reminder fires, as the scheduler fires it with its timer at
// the shortest interval, a check at every whole second. The due check itself decides every moment;
// the search only passes over what cannot fire: the days before the rule can start, and each day
// whose last check does not fire (within a day a record, once due, stays due until it fires).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/common/DateTime.h"
#include "core/store/NotifyInfo.h"

namespace reminder {

// Why a reminder fires no (more) moments.
enum class TNeverReason : uint8_t {
  None,
  ActionNothing,  // a date reminder whose action is "Nichts tun"
  StoredOnly,     // the trigger "garnicht" (stored only)
  DialUp,         // at the next dial-up connection, not at a time
  Finished,       // fired for good
  NoMatch,        // no check meets the rule (a month's window without days, a damaged value)
};

struct TNextDates {
  std::vector<TDateTime> Moments;
  // Why none follows the last moment, when fewer were found than asked for.
  TNeverReason Reason = TNeverReason::None;
};

// The first count moments from `from` on, each the first check at which the record fires,
// with the firing applied (MarkFired, a due snooze cleared) before the next is looked for.
// Checks fall on whole seconds, from 30 December 1899 on; a due time with a fraction of a
// second shows as the second after it.
TNextDates NextDates(const TNotifyInfo& record, TDateTime from, size_t count);

}  // namespace reminder
