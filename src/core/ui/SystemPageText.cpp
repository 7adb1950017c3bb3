#include "core/ui/SystemPageText.h"

#include <cstdio>

namespace reminder {

namespace {

// A whole number as the settings store writes it: blanks, an optional sign, digits.
bool ReadWholeNumber(const std::string& text, int64_t& number) {
  size_t pos = text.find_first_not_of(' ');
  if (pos == std::string::npos) return false;
  const bool negative = text[pos] == '-';
  if (text[pos] == '-' || text[pos] == '+') ++pos;
  if (pos == text.size()) return false;
  int64_t value = 0;
  for (; pos < text.size(); ++pos) {
    if (text[pos] < '0' || text[pos] > '9') return false;
    value = value * 10 + (text[pos] - '0');
    if (value > INT32_MAX) return false;
  }
  number = negative ? -value : value;
  return true;
}

}  // namespace

std::string DisplayDetails(const TDisplaySettings& settings) {
  std::string details;
  if (settings.BitsPerPixel) details = "; " + *settings.BitsPerPixel + "Bits/Pixel";
  int64_t flags = 0;
  if (settings.DisplayFlags && ReadWholeNumber(*settings.DisplayFlags, flags)) {
    details += flags == 1 ? "; monochrom" : "; color";
  }
  return details;
}

bool NeedsCpuSpeed(const std::string& cpu, const std::string& speedSuffix) {
  return cpu.find("Pentium") != std::string::npos && speedSuffix.empty();
}

double CpuSpeedMHz(uint64_t firstCount, uint64_t secondCount, double microseconds) {
  if (microseconds <= 0) return 0;
  return static_cast<double>(secondCount - firstCount) / microseconds;
}

std::string CpuSpeedSuffix(double megahertz) {
  char text[64];
  std::snprintf(text, sizeof text, "  %3.0f MHz", megahertz);
  return text;
}

TSystemPageTexts MakeSystemPageTexts(const TSystemInfoTexts& info, const std::string& speedSuffix,
                                     const std::string& displayDetails) {
  TSystemPageTexts page;
  page.Windowsversion = info.FullWinVersion;
  page.Computername = info.ComputerName.empty() ? "n/a" : info.ComputerName;
  page.UserName = info.UserName;
  page.ScreenResolution = info.ScreenWidth + "x" + info.ScreenHeight + displayDetails;
  page.CPU = info.CPU + speedSuffix;
  page.NumOfProc = info.NumCPUs;
  page.PhysMemTotal = info.TotalPhys;
  page.PhysMemFree = info.AvailPhys;
  page.MemoryPercInUse = info.MemLoadPercent;
  page.VirtualMemUsed = info.TotalVirtual;
  page.VirtualMemFree = info.AvailVirtual;
  page.PageFileUsed = info.TotalPageFile;
  page.PageFileAvail = info.AvailPageFile;
  return page;
}

}  // namespace reminder
