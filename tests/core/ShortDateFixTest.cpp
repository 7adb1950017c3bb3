#include <gtest/gtest.h>

#include "core/host/ShortDateFix.h"

namespace reminder {
namespace {

TEST(ShortDateFix, TwoDigitYearsGetFourInAnyLetterCase) {
  EXPECT_EQ(FixShortDateFormat("dd.MM.yy"), "dd.MM.yyyy");
  EXPECT_EQ(FixShortDateFormat("M/d/yy"), "M/d/yyyy");
  EXPECT_EQ(FixShortDateFormat("yy-MM-dd"), "yyyy-MM-dd");
  // The letters found in upper case keep their own case; the inserted ones are lower.
  EXPECT_EQ(FixShortDateFormat("DD.MM.YY"), "DD.MM.yyYY");
  // Only the first two-digit year is widened.
  EXPECT_EQ(FixShortDateFormat("yy/dd/yy"), "yyyy/dd/yy");
}

TEST(ShortDateFix, FourDigitYearsOrNoYearStayUnchanged) {
  EXPECT_EQ(FixShortDateFormat("dd.MM.yyyy"), "dd.MM.yyyy");
  EXPECT_EQ(FixShortDateFormat("YYYY-MM-DD"), "YYYY-MM-DD");
  EXPECT_EQ(FixShortDateFormat("dd.MM.yYyY"), "dd.MM.yYyY");
  EXPECT_EQ(FixShortDateFormat("dd.MM."), "dd.MM.");
  EXPECT_EQ(FixShortDateFormat("d.M.y"), "d.M.y");
  EXPECT_EQ(FixShortDateFormat(""), "");
}

TEST(DeinstallSwitch, MatchesTheWholeParameterInAnyLetterCase) {
  EXPECT_TRUE(IsDeinstallSwitch("/DEINSTALL"));
  EXPECT_TRUE(IsDeinstallSwitch("/deinstall"));
  EXPECT_TRUE(IsDeinstallSwitch("/DeInStAlL"));
  EXPECT_FALSE(IsDeinstallSwitch("DEINSTALL"));
  EXPECT_FALSE(IsDeinstallSwitch("-deinstall"));
  EXPECT_FALSE(IsDeinstallSwitch("/DEINSTALL2"));
  EXPECT_FALSE(IsDeinstallSwitch(" /DEINSTALL"));
  EXPECT_FALSE(IsDeinstallSwitch(""));
}

}  // namespace
}  // namespace reminder
