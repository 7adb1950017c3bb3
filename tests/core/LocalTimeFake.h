// A time zone a fixed two hours east of UTC, for the calendar's time conversions.
#pragma once

#include "core/ical/LocalTime.h"
#include "core/ical/Values.h"

namespace reminder::testing {

class FixedOffsetTime : public ILocalTime {
 public:
  static constexpr int kOffset = 2 * 3600;
  TDateTime UtcToLocal(TDateTime utc) override { return FromSeconds(SecondsOf(utc) + kOffset); }
  TDateTime LocalToUtc(TDateTime local) override { return FromSeconds(SecondsOf(local) - kOffset); }
};

}  // namespace reminder::testing
