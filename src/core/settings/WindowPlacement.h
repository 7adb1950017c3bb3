// Where a restored window lands: the arithmetic of the window-position store, on plain
// numbers so that it can be checked without windows.
#pragma once

#include <cstdint>

namespace reminder {

struct TPlacementBounds {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
};

struct TSize32 {
  int32_t width = 0;
  int32_t height = 0;
};

enum class TWindowState { Normal, Minimized, Maximized };

// A geometry value read back as -1 counts as not stored.
constexpr int32_t kNotStored = -1;

// The values as read back, with the defaults of a first start.
struct TStoredPlacement {
  int32_t top = kNotStored;
  int32_t left = kNotStored;
  int32_t height = kNotStored;
  int32_t width = kNotStored;
  int32_t maximized = 0;
};

// Without all four geometry values the window is centred instead of restored.
bool CentresInstead(const TStoredPlacement& stored);

// The form at its current size, centred on the monitor (halves rounded toward zero).
TPlacementBounds CentredOn(const TPlacementBounds& form, const TPlacementBounds& monitor);

// A stored flag of 1 maximises only where that is allowed; anything else is normal.
TWindowState RestoredState(int32_t maximizedFlag, bool allowMaximized);

struct TPlacementLimits {
  TSize32 screen;                            // the primary screen
  TSize32 minSize;                           // the smallest size the window accepts
  TSize32 maxSize = {INT32_MAX, INT32_MAX};  // the largest size the window accepts
};

// The bounds of a window in the normal state after a restore: a stored edge that is not
// negative is taken; a sizeable window also takes a stored positive size (kept within
// the window's limits) and is moved left or up, not beyond 0, so that it ends at the
// screen's right or bottom edge. A window with a fixed border keeps its size.
TPlacementBounds RestoredBounds(const TStoredPlacement& stored, const TPlacementBounds& form,
                                bool sizeable, const TPlacementLimits& limits);

}  // namespace reminder
