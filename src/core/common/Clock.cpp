#include "core/common/Clock.h"

#include <chrono>
#include <ctime>

namespace reminder {

TDateTime TSystemClock::Now() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) %
                  std::chrono::seconds(1);
  const std::tm local = *std::localtime(&seconds);
  return EncodeDateTime({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday},
                        {local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(ms.count())});
}

}  // namespace reminder
