// Text colours that stay readable on the background they are drawn on, measured by the
// contrast ratio of the two colours' relative luminance (1:1 to 21:1).
#pragma once

#include <cstdint>

namespace reminder {

// A colour as Windows keeps it: 0x00BBGGRR.
using TRgbColor = uint32_t;

constexpr TRgbColor kBlackColor = 0x000000;
constexpr TRgbColor kWhiteColor = 0xFFFFFF;
// The least contrast of text that everybody can read.
constexpr double kReadableContrast = 4.5;

double ContrastRatio(TRgbColor a, TRgbColor b);
// The wanted colour when it reads well enough on the background, else black or white,
// whichever contrasts more.
TRgbColor ReadableTextColor(TRgbColor wanted, TRgbColor background);

}  // namespace reminder
