// The UTC offset that a VTIMEZONE of a calendar file gives a wall-clock time, from its
// STANDARD and DAYLIGHT observances with their yearly rules (BYMONTH with BYDAY such as
// "-1SU" or "2SU", or BYDAY with BYMONTHDAY) and RDATE lists.
#pragma once

#include <cstdint>

#include "core/ical/Component.h"

namespace reminder {

// wallSeconds as ToSeconds counts them; offset in seconds east of UTC. False when the
// zone has no observance with a readable offset.
bool ZoneOffsetAt(const TComponent& zone, int64_t wallSeconds, int& offset);

}  // namespace reminder
