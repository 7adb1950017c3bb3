// A local date and time as a date-time, for writing test moments briefly.
#pragma once

#include "core/common/DateTime.h"

namespace reminder::testing {

inline TDateTime At(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
  return EncodeDate(y, m, d) + EncodeTime(h, n, s, 0);
}

}  // namespace reminder::testing
