// The current local date and time, handed to whoever needs it so that tests can set it.
#pragma once

#include "core/common/DateTime.h"

namespace reminder {

class IClock {
 public:
  virtual ~IClock() = default;
  virtual TDateTime Now() = 0;
};

// The local time of the C++ library, for the command-line tools and native runs.
class TSystemClock : public IClock {
 public:
  TDateTime Now() override;
};

}  // namespace reminder
