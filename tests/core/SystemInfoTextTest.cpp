#include "core/ui/SystemInfoText.h"

#include <gtest/gtest.h>

#include "core/ui/SystemPageText.h"

namespace reminder {
namespace {

constexpr uint64_t kMiB = 1048576;

TEST(SystemInfoText, ByteCountsChangeUnitAtTheirBoundaries) {
  EXPECT_EQ(FormatByteCount(123, '.'), "123 Byte");
  EXPECT_EQ(FormatByteCount(999999, '.'), "999.999 Byte");
  EXPECT_EQ(FormatByteCount(1000000, '.'), "976 KByte");
  EXPECT_EQ(FormatByteCount(9999999, '.'), "9.765 KByte");
  EXPECT_EQ(FormatByteCount(10000000, '.'), "9 MByte");
  EXPECT_EQ(FormatByteCount(1024 * kMiB, '.'), "1.024 MByte");
  // Beyond 4 GB every byte still counts.
  EXPECT_EQ(FormatByteCount(16384 * kMiB, '.'), "16.384 MByte");
  EXPECT_EQ(FormatByteCount(UINT64_MAX, '.'), "17.592.186.044.415 MByte");
}

TEST(SystemInfoText, GroupThousands) {
  EXPECT_EQ(GroupThousands(1234567, '.'), "1.234.567");
  EXPECT_EQ(GroupThousands(123456, '.'), "123.456");
  EXPECT_EQ(GroupThousands(999, '.'), "999");
  EXPECT_EQ(GroupThousands(0, '.'), "0");
  EXPECT_EQ(GroupThousands(1234567, '\0'), "1234567");
  // The sign stays in front of the first group.
  EXPECT_EQ(GroupThousands(-123456, '.'), "-123.456");
  EXPECT_EQ(GroupThousands(INT64_MIN, ','), "-9,223,372,036,854,775,808");
}

struct TVersionRow {
  TWindowsVersionFacts Facts;
  const char* OS;
  const char* Full;
};

TEST(SystemInfoText, WindowsVersionTable) {
  const TVersionRow kRows[] = {
      {{4, 0, 950, 1, ""}, "Windows 95", "Windows 95 (Chicago) [Version 4.0 Build 950]"},
      // The high word of the 95 family's build number repeats the version.
      {{4, 10, 0x040A08AE, 1, " A"},
       "Windows 98",
       "Windows 98 (Memphis) [Version 4.10 Build 2222 A]"},
      {{4, 30, 1, 1, ""}, "Windows 98", "Windows 98 (Memphis) [Version 4.30 Build 01]"},
      {{4, 31, 3000, 1, ""}, "Windows ME", "Windows ME  [Version 4.31 Build 3000]"},
      {{4, 100, 7, 1, ""}, "Windows ??", "Windows ??  [Version 4.100 Build 07]"},
      {{4, 0, 1381, 2, "SP6"}, "Windows NT", "Windows NT Version 4.0 [Build 1381SP6]"},
      {{5, 0, 2195, 2, ""}, "Windows 2000", "Windows 2000 Version 5.0 [Build 2195]"},
      {{5, 1, 2600, 2, "Service Pack 2"},
       "Windows XP",
       "Windows XP Version 5.01 [Build 2600Service Pack 2]"},
      {{6, 0, 6002, 2, ""}, "Windows 2000", "Windows 2000 Version 6.0 [Build 6002]"},
      {{6, 1, 7601, 2, ""}, "Windows XP", "Windows XP Version 6.01 [Build 7601]"},
      {{3, 11, 42, 0, ""}, "Windows 32s Version", "Windows 32s Version3.11"},
      {{1, 2, 3, 3, " x"}, "Unbekanntes System", "Unbekanntes System Version 1.02 [Build 03 x]"}};
  for (const TVersionRow& row : kRows) {
    const TWindowsVersionTexts texts = WindowsVersionTexts(row.Facts);
    EXPECT_EQ(texts.OS, row.OS) << row.Full;
    EXPECT_EQ(texts.FullWinVersion, row.Full);
  }
  const TWindowsVersionTexts w98 = WindowsVersionTexts(kRows[1].Facts);
  EXPECT_EQ(w98.WinVersion + "|" + w98.WinBuild, "4.10|2222 A");
  const TWindowsVersionTexts win32s = WindowsVersionTexts(kRows[10].Facts);
  EXPECT_EQ(win32s.WinVersion + "|" + win32s.WinBuild, "3.11|0");
}

TEST(SystemInfoText, ProcessorNamesAndVersionParts) {
  EXPECT_EQ(ProcessorText(0), "Unbekannt - Intel Architektur");
  EXPECT_EQ(ProcessorText(586), "Pentium o. kompat.");
  EXPECT_EQ(ProcessorText(21064), "ALPHA 21064");
  EXPECT_EQ(ProcessorText(8664), "Unbekannt");
  EXPECT_EQ(VersionPartText(0), "0");
  EXPECT_EQ(VersionPartText(1), "01");
  EXPECT_EQ(VersionPartText(90), "90");
}

TSystemFacts SampleFacts() {
  TSystemFacts facts;
  facts.Now = EncodeDate(2005, 3, 7) + EncodeTime(8, 5, 3, 0);
  facts.MemoryLoad = 42;
  facts.TotalPhys = 16384 * kMiB;
  facts.AvailPhys = 5000000;
  facts.TotalVirtual = 2048 * kMiB;
  facts.ComputerName = "BUERO";
  facts.Version = TWindowsVersionFacts{5, 1, 2600, 2, "Service Pack 3"};
  facts.NumberOfProcessors = 4;
  facts.ProcessorType = 586;
  facts.ScreenWidth = 1280;
  facts.ScreenHeight = 1024;
  return facts;
}

TEST(SystemInfoText, TextsFromTheFactsOfOneRefresh) {
  const TSystemInfoTexts t = MakeSystemInfoTexts(SampleFacts(), GermanFormatSettings(), '.');
  EXPECT_EQ(t.CurrentDate, "07.03.2005");
  EXPECT_EQ(t.CurrentTime, "08:05");
  EXPECT_EQ(t.MemLoadPercent, "42 %");
  EXPECT_EQ(t.TotalPhys, "16.384 MByte");
  EXPECT_EQ(t.AvailPhys, "4.882 KByte");
  EXPECT_EQ(t.TotalVirtual, "2.048 MByte");
  EXPECT_EQ(t.WinVersion, "5.01");
  EXPECT_EQ(t.NumCPUs, "4");
  EXPECT_EQ(t.ScreenHeight, "1024");

  TSystemFacts failed = SampleFacts();
  failed.Version.reset();
  const TSystemInfoTexts none = MakeSystemInfoTexts(failed, GermanFormatSettings(), '.');
  EXPECT_EQ(none.OS + none.WinVersion + none.WinBuild + none.FullWinVersion, "");
}

TEST(SystemInfoText, AChangeInAnySingleTextCountsAsNewValues) {
  std::string TSystemInfoTexts::*const kFields[] = {
      &TSystemInfoTexts::CurrentDate,    &TSystemInfoTexts::CurrentTime,
      &TSystemInfoTexts::MemLoadPercent, &TSystemInfoTexts::TotalPhys,
      &TSystemInfoTexts::AvailPhys,      &TSystemInfoTexts::TotalPageFile,
      &TSystemInfoTexts::AvailPageFile,  &TSystemInfoTexts::TotalVirtual,
      &TSystemInfoTexts::AvailVirtual,   &TSystemInfoTexts::ComputerName,
      &TSystemInfoTexts::UserName,       &TSystemInfoTexts::OS,
      &TSystemInfoTexts::WinVersion,     &TSystemInfoTexts::WinBuild,
      &TSystemInfoTexts::FullWinVersion, &TSystemInfoTexts::CPU,
      &TSystemInfoTexts::NumCPUs,        &TSystemInfoTexts::ScreenHeight,
      &TSystemInfoTexts::ScreenWidth,    &TSystemInfoTexts::WinDir,
      &TSystemInfoTexts::SysDir};
  const TSystemInfoTexts base = MakeSystemInfoTexts(SampleFacts(), GermanFormatSettings(), '.');
  TSystemInfoTexts stored;
  EXPECT_TRUE(ReplaceSystemInfoTexts(stored, base));
  EXPECT_FALSE(ReplaceSystemInfoTexts(stored, base));
  for (auto field : kFields) {
    TSystemInfoTexts changed = base;
    changed.*field += "!";
    EXPECT_TRUE(ReplaceSystemInfoTexts(stored, changed));
    EXPECT_EQ(stored.*field, base.*field + "!");
    EXPECT_TRUE(ReplaceSystemInfoTexts(stored, base));
  }
}

TEST(SystemPageText, DisplayDetails) {
  EXPECT_EQ(DisplayDetails({}), "");
  EXPECT_EQ(DisplayDetails({"16", "0"}), "; 16Bits/Pixel; color");
  EXPECT_EQ(DisplayDetails({std::nullopt, "1"}), "; monochrom");
  EXPECT_EQ(DisplayDetails({"32", "farbig"}), "; 32Bits/Pixel");
  EXPECT_EQ(DisplayDetails({std::nullopt, "-1"}), "; color");
}

TEST(SystemPageText, ProcessorSpeedIsMeasuredOnlyOnceForAPentium) {
  EXPECT_TRUE(NeedsCpuSpeed("Pentium o. kompat.", ""));
  EXPECT_FALSE(NeedsCpuSpeed("Intel Pentium (II)", "  450 MHz"));
  EXPECT_FALSE(NeedsCpuSpeed("i486", ""));
  EXPECT_EQ(CpuSpeedSuffix(450.2), "  450 MHz");
  EXPECT_EQ(CpuSpeedSuffix(2400.0), "  2400 MHz");
  EXPECT_DOUBLE_EQ(CpuSpeedMHz(1000, 1000 + 225000000, 500000), 450.0);
  // Five billion ticks in half a second no longer fit 32 bits.
  EXPECT_DOUBLE_EQ(
      CpuSpeedMHz(0xFFFFFFFF00000000ull, 0xFFFFFFFF00000000ull + 5000000000ull, 500000), 10000.0);
}

TEST(SystemPageText, LabelsOfTheSystemPage) {
  TSystemFacts facts = SampleFacts();
  const TSystemInfoTexts info = MakeSystemInfoTexts(facts, GermanFormatSettings(), '.');
  const TSystemPageTexts page = MakeSystemPageTexts(info, "  450 MHz", "; 16Bits/Pixel; color");
  EXPECT_EQ(page.Windowsversion, "Windows XP Version 5.01 [Build 2600Service Pack 3]");
  EXPECT_EQ(page.Computername, "BUERO");
  EXPECT_EQ(page.CPU, "Pentium o. kompat.  450 MHz");
  EXPECT_EQ(page.ScreenResolution, "1280x1024; 16Bits/Pixel; color");
  EXPECT_EQ(page.VirtualMemUsed, "2.048 MByte");

  // Before the first refresh every text is empty.
  const TSystemPageTexts empty = MakeSystemPageTexts({}, "", "");
  EXPECT_EQ(empty.Computername, "n/a");
  EXPECT_EQ(empty.ScreenResolution, "x");
}

}  // namespace
}  // namespace reminder
