// The tray icon's choice of image: the animation's frame stepping, the fixed choice when
// not animating, and the tool tip's length.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace reminder {

// Frame 0 is the default icon, frames 1 to 4 the animation icons.
constexpr size_t kTrayAnimationIcons = 4;
using TTrayFrames = std::array<bool, kTrayAnimationIcons>;  // which icons are set

// The frame after the given one: the next set animation icon, or the default icon after
// the last one (and on every tick when none is set).
uint8_t NextTrayFrame(uint8_t frame, const TTrayFrames& present);

// The frame a fixed choice shows: 1 to 4 an animation icon, anything else the default.
uint8_t ShownTrayFrame(int32_t showIcon);

// The shell's tip field holds 64 characters; the icon keeps at most 62.
constexpr size_t kMaxTrayToolTip = 62;
std::string CutTrayToolTip(const std::string& text);

// The frame timer's period for an interval in milliseconds.
uint32_t TrayFramePeriodMs(int32_t intervalMs);

}  // namespace reminder
