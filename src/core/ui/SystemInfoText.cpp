#include "core/ui/SystemInfoText.h"

#include <tuple>
#include <utility>

#include "core/common/FormatDateTime.h"

namespace reminder {

namespace {

auto Fields(const TSystemInfoTexts& t) {
  return std::tie(t.CurrentDate, t.CurrentTime, t.MemLoadPercent, t.TotalPhys, t.AvailPhys,
                  t.TotalPageFile, t.AvailPageFile, t.TotalVirtual, t.AvailVirtual, t.ComputerName,
                  t.UserName, t.OS, t.WinVersion, t.WinBuild, t.FullWinVersion, t.CPU, t.NumCPUs,
                  t.ScreenHeight, t.ScreenWidth, t.WinDir, t.SysDir);
}

// The 95 family's names by minor version; the two with no code name carry two blanks.
std::string Windows9xName(uint32_t minor) {
  if (minor < 10) return "Windows 95";
  if (minor <= 30) return "Windows 98";
  if (minor <= 99) return "Windows ME";
  return "Windows ??";
}

std::string Windows9xFullPrefix(uint32_t minor) {
  if (minor < 10) return "Windows 95 (Chicago) [Version ";
  if (minor <= 30) return "Windows 98 (Memphis) [Version ";
  if (minor <= 99) return "Windows ME  [Version ";
  return "Windows ??  [Version ";
}

std::string WindowsNtName(uint32_t major, uint32_t minor) {
  if (major <= 4) return "Windows NT";
  return minor == 0 ? "Windows 2000" : "Windows XP";
}

}  // namespace

std::string GroupThousands(int64_t value, char thousandSeparator) {
  // Grouping the magnitude keeps the sign in front of the first group.
  const uint64_t magnitude =
      value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  std::string digits = std::to_string(magnitude);
  if (thousandSeparator != '\0') {
    for (size_t pos = digits.size(); pos > 3; pos -= 3) {
      digits.insert(pos - 3, 1, thousandSeparator);
    }
  }
  return value < 0 ? "-" + digits : digits;
}

std::string FormatByteCount(uint64_t count, char thousandSeparator) {
  if (count <= 999999) {
    return GroupThousands(static_cast<int64_t>(count), thousandSeparator) + " Byte";
  }
  if (count <= 9999999) {
    return GroupThousands(static_cast<int64_t>(count / 1024), thousandSeparator) + " KByte";
  }
  return GroupThousands(static_cast<int64_t>(count / 1048576), thousandSeparator) + " MByte";
}

std::string VersionPartText(int64_t value) {
  std::string text = std::to_string(value);
  if (text.size() == 1 && value != 0) text.insert(0, 1, '0');
  return text;
}

TWindowsVersionTexts WindowsVersionTexts(const TWindowsVersionFacts& facts) {
  const std::string major = std::to_string(facts.Major);
  const std::string minor = VersionPartText(facts.Minor);
  const std::string build = VersionPartText(facts.BuildNumber & 0xFFFF) + facts.ServiceText;
  TWindowsVersionTexts texts;
  texts.WinVersion = major + "." + minor;
  texts.WinBuild = build;
  switch (facts.PlatformId) {
    case 0:
      texts.OS = "Windows 32s Version";
      texts.FullWinVersion = texts.OS + texts.WinVersion;
      texts.WinBuild = "0";
      break;
    case 1:
      texts.OS = Windows9xName(facts.Minor);
      texts.FullWinVersion =
          Windows9xFullPrefix(facts.Minor) + texts.WinVersion + " Build " + build + "]";
      break;
    case 2:
      texts.OS = WindowsNtName(facts.Major, facts.Minor);
      texts.FullWinVersion = texts.OS + " Version " + texts.WinVersion + " [Build " + build + "]";
      break;
    default:
      texts.OS = "Unbekanntes System";
      texts.FullWinVersion = texts.OS + " Version " + texts.WinVersion + " [Build " + build + "]";
      break;
  }
  return texts;
}

std::string ProcessorText(uint32_t processorType) {
  switch (processorType) {
    case 0:
      return "Unbekannt - Intel Architektur";
    case 386:
      return "i386";
    case 486:
      return "i486";
    case 586:
      return "Pentium o. kompat.";
    case 686:
      return "Intel Pentium (II)";
    case 860:
      return "Intel 860";
    case 2000:
      return "MIPS R2000";
    case 3000:
      return "MIPS R3000";
    case 4000:
      return "MIPS R4000";
    case 21064:
      return "ALPHA 21064";
    default:
      return "Unbekannt";
  }
}

bool operator==(const TSystemInfoTexts& a, const TSystemInfoTexts& b) {
  return Fields(a) == Fields(b);
}

bool operator!=(const TSystemInfoTexts& a, const TSystemInfoTexts& b) {
  return !(a == b);
}

TSystemInfoTexts MakeSystemInfoTexts(const TSystemFacts& facts, const TFormatSettings& fs,
                                     char thousandSeparator) {
  TSystemInfoTexts t;
  t.CurrentDate = FormatDateTime("ddddd", facts.Now, fs);
  t.CurrentTime = FormatDateTime("t", facts.Now, fs);
  t.MemLoadPercent = std::to_string(facts.MemoryLoad) + " %";
  t.TotalPhys = FormatByteCount(facts.TotalPhys, thousandSeparator);
  t.AvailPhys = FormatByteCount(facts.AvailPhys, thousandSeparator);
  t.TotalPageFile = FormatByteCount(facts.TotalPageFile, thousandSeparator);
  t.AvailPageFile = FormatByteCount(facts.AvailPageFile, thousandSeparator);
  t.TotalVirtual = FormatByteCount(facts.TotalVirtual, thousandSeparator);
  t.AvailVirtual = FormatByteCount(facts.AvailVirtual, thousandSeparator);
  t.ComputerName = facts.ComputerName;
  t.UserName = facts.UserName;
  if (facts.Version) {
    TWindowsVersionTexts version = WindowsVersionTexts(*facts.Version);
    t.OS = std::move(version.OS);
    t.WinVersion = std::move(version.WinVersion);
    t.WinBuild = std::move(version.WinBuild);
    t.FullWinVersion = std::move(version.FullWinVersion);
  }
  t.CPU = ProcessorText(facts.ProcessorType);
  t.NumCPUs = std::to_string(facts.NumberOfProcessors);
  t.ScreenHeight = std::to_string(facts.ScreenHeight);
  t.ScreenWidth = std::to_string(facts.ScreenWidth);
  t.WinDir = facts.WinDir;
  t.SysDir = facts.SysDir;
  return t;
}

bool ReplaceSystemInfoTexts(TSystemInfoTexts& stored, TSystemInfoTexts fresh) {
  const bool changed = fresh != stored;
  stored = std::move(fresh);
  return changed;
}

}  // namespace reminder
