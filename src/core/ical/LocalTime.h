// The machine's time zone, handed to whoever converts between UTC and local time, so that
// tests can fix it.
#pragma once

#include "core/common/DateTime.h"

namespace reminder {

class ILocalTime {
 public:
  virtual ~ILocalTime() = default;
  virtual TDateTime UtcToLocal(TDateTime utc) = 0;
  virtual TDateTime LocalToUtc(TDateTime local) = 0;
};

// The C++ library's time zone rules. A moment the library cannot convert (before 1970 on
// some systems) keeps its value.
class TSystemLocalTime : public ILocalTime {
 public:
  TDateTime UtcToLocal(TDateTime utc) override;
  TDateTime LocalToUtc(TDateTime local) override;
};

}  // namespace reminder
