// The about dialog's system page: which texts its labels show, worded from the
// system-information texts and a few facts the dialog reads itself.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/ui/SystemInfoText.h"

namespace reminder {

// Below the local machine's root; read for the screen line's colour depth and mode.
constexpr char kDisplaySettingsKey[] = "Config\\0001\\Display\\Settings";

// The two display values as read from that key; none when the key or the value is missing.
struct TDisplaySettings {
  std::optional<std::string> BitsPerPixel;
  std::optional<std::string> DisplayFlags;
};

// "; 16Bits/Pixel; color", "; monochrom" for the flags value 1, nothing for flags that
// are not a number, and "" without either value.
std::string DisplayDetails(const TDisplaySettings& settings);

// The processor's clock is measured only for a processor named "Pentium", once per dialog.
bool NeedsCpuSpeed(const std::string& cpu, const std::string& speedSuffix);

// Time-stamp counter ticks per microsecond between two readings; the full 64-bit
// difference counts, so clocks above 8.5 GHz do not wrap.
double CpuSpeedMHz(uint64_t firstCount, uint64_t secondCount, double microseconds);

// What follows the processor's name: two blanks, then the speed in at least three places,
// for example "  450 MHz".
std::string CpuSpeedSuffix(double megahertz);

struct TSystemPageTexts {
  std::string Windowsversion;
  std::string Computername;  // "n/a" for an empty computer name
  std::string UserName;
  std::string ScreenResolution;  // "1024x768" followed by the display details
  std::string CPU;               // the processor's name and the speed suffix
  std::string NumOfProc;
  std::string PhysMemTotal;
  std::string PhysMemFree;
  std::string MemoryPercInUse;
  std::string VirtualMemUsed;
  std::string VirtualMemFree;
  std::string PageFileUsed;
  std::string PageFileAvail;
};

TSystemPageTexts MakeSystemPageTexts(const TSystemInfoTexts& info, const std::string& speedSuffix,
                                     const std::string& displayDetails);

}  // namespace reminder
