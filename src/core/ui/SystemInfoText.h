// The system-information texts: the shell gathers raw facts about the computer, these
// routines word them. Memory figures are 64-bit counts, so machines with more than 4 GB
// are shown with all of their memory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/common/DateTime.h"
#include "core/common/FormatSettings.h"

namespace reminder {

// Decimal digits in groups of three, the separator between them: 1234567 gives "1.234.567".
// A '\0' separator leaves the digits ungrouped.
std::string GroupThousands(int64_t value, char thousandSeparator);

// Up to 999999 in "Byte", up to 9999999 in "KByte" (1024), beyond that in "MByte"
// (1048576), truncated and grouped: 5000000 gives "4.882 KByte".
std::string FormatByteCount(uint64_t count, char thousandSeparator);

// Decimal text; a single digit other than 0 gets a leading "0" (1 gives "01", 0 gives "0").
std::string VersionPartText(int64_t value);

// What the extended version query reports.
struct TWindowsVersionFacts {
  uint32_t Major = 0;
  uint32_t Minor = 0;
  uint32_t BuildNumber = 0;  // only the low 16 bits count
  uint32_t PlatformId = 0;   // 0 Win32s, 1 the 95 family, 2 the NT family
  std::string ServiceText;
};

struct TWindowsVersionTexts {
  std::string OS;
  std::string WinVersion;
  std::string WinBuild;
  std::string FullWinVersion;
};

// The naming table knows no family member after the one with version 5.1: later NT
// versions are named after 5.0 or 5.1 by their minor version.
TWindowsVersionTexts WindowsVersionTexts(const TWindowsVersionFacts& facts);

// The processor's name from the processor type the system reports (586 gives
// "Pentium o. kompat.").
std::string ProcessorText(uint32_t processorType);

struct TSystemFacts {
  TDateTime Now = 0;
  uint32_t MemoryLoad = 0;  // percent
  uint64_t TotalPhys = 0;
  uint64_t AvailPhys = 0;
  uint64_t TotalPageFile = 0;
  uint64_t AvailPageFile = 0;
  uint64_t TotalVirtual = 0;
  uint64_t AvailVirtual = 0;
  std::string ComputerName;                     // empty when the query failed
  std::string UserName;                         // empty when the query failed
  std::optional<TWindowsVersionFacts> Version;  // none when the query failed
  uint32_t NumberOfProcessors = 0;
  uint32_t ProcessorType = 0;
  int ScreenWidth = 0;
  int ScreenHeight = 0;
  std::string WinDir;  // empty when the query failed
  std::string SysDir;  // empty when the query failed
};

// The component's 21 texts, in the order in which they are compared.
struct TSystemInfoTexts {
  std::string CurrentDate;
  std::string CurrentTime;
  std::string MemLoadPercent;
  std::string TotalPhys;
  std::string AvailPhys;
  std::string TotalPageFile;
  std::string AvailPageFile;
  std::string TotalVirtual;
  std::string AvailVirtual;
  std::string ComputerName;
  std::string UserName;
  std::string OS;
  std::string WinVersion;
  std::string WinBuild;
  std::string FullWinVersion;
  std::string CPU;
  std::string NumCPUs;
  std::string ScreenHeight;
  std::string ScreenWidth;
  std::string WinDir;
  std::string SysDir;
};

bool operator==(const TSystemInfoTexts& a, const TSystemInfoTexts& b);
bool operator!=(const TSystemInfoTexts& a, const TSystemInfoTexts& b);

// The date in the short date format, the time in the short time format, the rest as above.
TSystemInfoTexts MakeSystemInfoTexts(const TSystemFacts& facts, const TFormatSettings& fs,
                                     char thousandSeparator);

// Stores a refresh's texts and tells whether any of them differs from the stored ones.
bool ReplaceSystemInfoTexts(TSystemInfoTexts& stored, TSystemInfoTexts fresh);

}  // namespace reminder
