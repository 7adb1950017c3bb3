#include "core/settings/WindowPlacement.h"

#include <algorithm>

namespace reminder {

namespace {

int32_t ToInt32(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// Stored values may be anything; the sums are taken in 64 bits.
int64_t Centre(int32_t origin, int32_t space, int32_t size) {
  return origin + (static_cast<int64_t>(space) - size) / 2;
}

int32_t WithinLimits(int32_t size, int32_t minSize, int32_t maxSize) {
  return std::max(std::min(size, maxSize), minSize);
}

// Moves the near edge back so that the far edge meets the screen's edge, not beyond 0.
int32_t FitEdge(int32_t edge, int32_t size, int32_t screen) {
  if (static_cast<int64_t>(screen) < static_cast<int64_t>(edge) + size) {
    return ToInt32(std::max<int64_t>(static_cast<int64_t>(screen) - size, 0));
  }
  return edge;
}

}  // namespace

bool CentresInstead(const TStoredPlacement& stored) {
  return stored.top == kNotStored || stored.left == kNotStored || stored.height == kNotStored ||
         stored.width == kNotStored;
}

TPlacementBounds CentredOn(const TPlacementBounds& form, const TPlacementBounds& monitor) {
  TPlacementBounds result = form;
  result.left = ToInt32(Centre(monitor.left, monitor.width, form.width));
  result.top = ToInt32(Centre(monitor.top, monitor.height, form.height));
  return result;
}

TWindowState RestoredState(int32_t maximizedFlag, bool allowMaximized) {
  return maximizedFlag == 1 && allowMaximized ? TWindowState::Maximized : TWindowState::Normal;
}

TPlacementBounds RestoredBounds(const TStoredPlacement& stored, const TPlacementBounds& form,
                                bool sizeable, const TPlacementLimits& limits) {
  TPlacementBounds result = form;
  if (stored.left >= 0) result.left = stored.left;
  if (stored.top >= 0) result.top = stored.top;
  if (!sizeable) return result;
  if (stored.width > 0) {
    const int32_t width = WithinLimits(stored.width, limits.minSize.width, limits.maxSize.width);
    result.left = FitEdge(result.left, width, limits.screen.width);
    result.width = width;
  }
  if (stored.height > 0) {
    const int32_t height =
        WithinLimits(stored.height, limits.minSize.height, limits.maxSize.height);
    result.top = FitEdge(result.top, height, limits.screen.height);
    result.height = height;
  }
  return result;
}

}  // namespace reminder
