#pragma once

#include "core/common/Clock.h"

namespace reminder {

// The system's local time.
class TWin32Clock : public IClock {
 public:
  TDateTime Now() override;
};

}  // namespace reminder
