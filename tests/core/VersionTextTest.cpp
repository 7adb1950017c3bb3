#include <gtest/gtest.h>

#include "core/common/FormatDateTime.h"
#include "core/ui/ReadableColor.h"
#include "core/ui/VersionText.h"

namespace reminder {
namespace {

TEST(VersionText, VersionLabelFromTheFileVersion) {
  EXPECT_EQ(VersionLabelText("1.0.0.6"), "Version 1.0 [1.0.0.0006]");
  EXPECT_EQ(VersionLabelText("2.1.3.12"), "Version 2.1 [2.1.3.0012]");
  EXPECT_EQ(VersionLabelText("3.2.1.123456"), "Version 3.2 [3.2.1.123456]");
  EXPECT_EQ(VersionLabelText("1.0.0.007"), "Version 1.0 [1.0.0.0007]");
}

TEST(VersionText, VersionsOutsideTheFourPartLayoutAreShownAsTheyStand) {
  EXPECT_EQ(VersionLabelText(""), "Version ");
  EXPECT_EQ(VersionLabelText("1.0"), "Version 1.0");
  EXPECT_EQ(VersionLabelText("1.0.0.beta"), "Version 1.0.0.beta");
  EXPECT_EQ(VersionLabelText("1.0.0.6.1"), "Version 1.0.0.6.1");
  EXPECT_EQ(VersionLabelText("1.0.0."), "Version 1.0.0.");
  EXPECT_EQ(VersionLabelText("1.0.0.99999999999999999999"), "Version 1.0.0.99999999999999999999");
}

TEST(VersionText, VersionResourceTexts) {
  EXPECT_EQ(TranslationText(0x0407, 0x04E4), "040704E4");
  EXPECT_EQ(TranslationText(0x0409, 1200), "040904B0");
  EXPECT_EQ(StringFileInfoPath("040704E4", "FileVersion"),
            "\\StringFileInfo\\040704E4\\FileVersion");
  EXPECT_EQ(FixedFileVersionText(0x00010000, 0x00000006), "1.0.0.6");
  EXPECT_EQ(FixedFileVersionText(0xFFFFFFFF, 0xFFFFFFFF), "65535.65535.65535.65535");
}

TEST(VersionText, BuildDatePatterns) {
  const TFormatSettings fs = GermanFormatSettings();
  const TDateTime built = EncodeDate(2002, 11, 8) + EncodeTime(0, 53, 41, 0);
  const auto format = [&](TDateTimeFormat f, bool dateOnly) {
    return FormatDateTime(CompileDatePattern(f, dateOnly, fs.DateSeparator), built, fs);
  };
  EXPECT_EQ(format(TDateTimeFormat::tfDefault, false), "08.11.2002 00:53:41");
  EXPECT_EQ(format(TDateTimeFormat::tfLongDate, true), "Freitag, 8. November 2002");
  EXPECT_EQ(format(TDateTimeFormat::tfAbbreviated, false), "02 Nov Fr 00:53");
  EXPECT_EQ(format(TDateTimeFormat::tfAbbreviated, true), "02 Nov Fr");
  EXPECT_EQ(format(TDateTimeFormat::tfFullName, true), "2002 November Freitag");
  EXPECT_EQ(CompileDatePattern(TDateTimeFormat::tfDefault, false, '/'), "dd/mm/yyyy tt");
  EXPECT_EQ(CompileDateLabelText("08.11.2002 00:53:41"), "vom 08.11.2002 00:53:41");
}

}  // namespace
}  // namespace reminder

namespace reminder {
namespace {

TEST(ReadableColor, KeepsAColourThatReadsElseTakesBlackOrWhite) {
  EXPECT_NEAR(ContrastRatio(kBlackColor, kWhiteColor), 21.0, 1e-9);
  // Black caption text on a black desktop, the default colours of recent Windows.
  EXPECT_EQ(ReadableTextColor(kBlackColor, kBlackColor), kWhiteColor);
  // White on the classic teal desktop reads well enough and stays.
  EXPECT_EQ(ReadableTextColor(kWhiteColor, 0x808000), kWhiteColor);
  // Whatever the two colours, the text reads on its background.
  for (TRgbColor background = 0; background <= 0xFFFFFF; background += 0x0F0B07) {
    for (TRgbColor wanted : {kBlackColor, 0x800000u, 0x808080u, kWhiteColor, background}) {
      EXPECT_GE(ContrastRatio(ReadableTextColor(wanted, background), background), kReadableContrast)
          << std::hex << wanted << " on " << background;
    }
  }
}

}  // namespace
}  // namespace reminder
