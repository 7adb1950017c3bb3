#include "core/components/TrayAnimation.h"

namespace reminder {

uint8_t NextTrayFrame(uint8_t frame, const TTrayFrames& present) {
  unsigned next = frame + 1u;
  if (next > kTrayAnimationIcons) return 0;
  // An empty icon passes its turn to the next one; past the last, the default shows.
  while (next <= kTrayAnimationIcons && !present[next - 1]) ++next;
  return next > kTrayAnimationIcons ? 0 : static_cast<uint8_t>(next);
}

uint8_t ShownTrayFrame(int32_t showIcon) {
  return showIcon >= 1 && showIcon <= static_cast<int32_t>(kTrayAnimationIcons)
             ? static_cast<uint8_t>(showIcon)
             : 0;
}

std::string CutTrayToolTip(const std::string& text) {
  return text.substr(0, kMaxTrayToolTip);
}

uint32_t TrayFramePeriodMs(int32_t intervalMs) {
  return intervalMs < 1 ? 1u : static_cast<uint32_t>(intervalMs);
}

}  // namespace reminder
