#include "core/ui/ReadableColor.h"

#include <algorithm>
#include <cmath>

namespace reminder {

namespace {

// One sRGB channel, 0 to 255, as linear light.
double Linear(uint32_t channel) {
  const double value = channel / 255.0;
  return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double Luminance(TRgbColor color) {
  return 0.2126 * Linear(color & 0xFF) + 0.7152 * Linear((color >> 8) & 0xFF) +
         0.0722 * Linear((color >> 16) & 0xFF);
}

}  // namespace

double ContrastRatio(TRgbColor a, TRgbColor b) {
  const double first = Luminance(a);
  const double second = Luminance(b);
  return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

TRgbColor ReadableTextColor(TRgbColor wanted, TRgbColor background) {
  if (ContrastRatio(wanted, background) >= kReadableContrast) return wanted;
  return ContrastRatio(kBlackColor, background) >= ContrastRatio(kWhiteColor, background)
             ? kBlackColor
             : kWhiteColor;
}

}  // namespace reminder
