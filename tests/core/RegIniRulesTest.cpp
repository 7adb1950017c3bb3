#include <gtest/gtest.h>

#include "core/settings/RegIniRules.h"

namespace reminder {
namespace {

TEST(RegIniRulesTest, AreaAndSectionMakeOneKeyPath) {
  const std::string expected = "Software\\Orvandel Software\\Reminder\\Options";
  EXPECT_EQ(FullKeyPath("\\Software\\Orvandel Software\\Reminder", "Options"), expected);
  EXPECT_EQ(FullKeyPath("Software\\Orvandel Software\\Reminder", "Options"), expected);
  EXPECT_EQ(FullKeyPath("\\Software\\Orvandel Software\\Reminder\\", "Options"), expected);
  EXPECT_EQ(FullKeyPath("Software\\Orvandel Software\\Reminder\\", "Options"), expected);
  // Only one leading separator is dropped; a lone one leaves the section alone.
  EXPECT_EQ(FullKeyPath("\\", "Options"), "Options");
  EXPECT_EQ(FullKeyPath("\\\\A", "B"), "\\A\\B");
}

TEST(RegIniRulesTest, WholeNumbersAreSignedDecimalsOf32Bits) {
  const std::pair<const char*, int32_t> good[] = {{"0", 0},
                                                  {"60", 60},
                                                  {"-1", -1},
                                                  {"+7", 7},
                                                  {"007", 7},
                                                  {"2147483647", 2147483647},
                                                  {"-2147483648", INT32_MIN}};
  for (const auto& [text, expected] : good) {
    int32_t value = 12345;
    EXPECT_TRUE(ParseWholeNumber(text, value)) << text;
    EXPECT_EQ(value, expected) << text;
  }
  for (const char* text : {"", "-", "+", "--1", "2147483648", "-2147483649", "12a", " 1", "1 ",
                           "0x10", "1.5", "99999999999999999999999"}) {
    int32_t value = 12345;
    EXPECT_FALSE(ParseWholeNumber(text, value)) << text;
    EXPECT_EQ(value, 12345) << text;
  }
}

}  // namespace
}  // namespace reminder
