#include <gtest/gtest.h>

#include "core/common/ShortCut.h"

namespace reminder {
namespace {

TShortCut Parsed(const std::string& text) {
  TShortCut result;
  EXPECT_TRUE(ParseShortCut(text, result)) << text;
  return result;
}

TEST(ShortCutTest, ReadsModifiersAndKeysOfTheMenus) {
  const TShortCut add = Parsed("Strg+A");
  EXPECT_EQ(add.Key, 'A');
  EXPECT_TRUE(add.Ctrl);
  EXPECT_FALSE(add.Shift);
  EXPECT_FALSE(add.Alt);

  const TShortCut exit = Parsed("Alt+F4");
  EXPECT_EQ(exit.Key, 0x73);
  EXPECT_TRUE(exit.Alt);
  EXPECT_FALSE(exit.Ctrl);

  EXPECT_EQ(Parsed("Einfg").Key, 0x2D);
  EXPECT_EQ(Parsed("Entf").Key, 0x2E);
  EXPECT_EQ(Parsed("F3").Key, 0x72);
  EXPECT_EQ(Parsed("F24").Key, 0x87);
  EXPECT_EQ(Parsed("Strg+Bild auf").Key, 0x21);
  EXPECT_EQ(Parsed("Rück").Key, 0x08);
  EXPECT_EQ(Parsed("7").Key, '7');
}

TEST(ShortCutTest, EnglishNamesLetterCaseAndBlanksAreAccepted) {
  const TShortCut shortCut = Parsed(" ctrl + SHIFT+del ");
  EXPECT_EQ(shortCut.Key, 0x2E);
  EXPECT_TRUE(shortCut.Ctrl);
  EXPECT_TRUE(shortCut.Shift);
  EXPECT_EQ(Parsed("strg+n").Key, 'N');
  EXPECT_EQ(Parsed("Ctrl+A").Key, Parsed("Strg+A").Key);
  EXPECT_EQ(Parsed("Ins").Key, Parsed("Einfg").Key);
  EXPECT_EQ(Parsed("f3").Key, 0x72);
}

TEST(ShortCutTest, WritesTheGermanForm) {
  EXPECT_EQ(ShortCutText(Parsed("Ctrl+Shift+Alt+Del")), "Strg+Umsch+Alt+Entf");
  EXPECT_EQ(ShortCutText(Parsed("ctrl+e")), "Strg+E");
  EXPECT_EQ(ShortCutText(Parsed("Home")), "Pos1");
  EXPECT_EQ(ShortCutText(Parsed("Enter")), "Eingabe");
  EXPECT_EQ(ShortCutText(TShortCut{}), "");
  for (const char* text : {"Strg+A", "Alt+F4", "Einfg", "F3", "Umsch+Bild ab", "Esc", "Leer",
                           "Strg+Rechts", "F12", "Rück", "Tab", "9"}) {
    EXPECT_EQ(ShortCutText(Parsed(text)), text);
  }
}

TEST(ShortCutTest, UnknownTextsAreRefusedAndLeaveTheResult) {
  TShortCut result;
  result.Key = 'Q';
  for (const char* text : {"", " ", "Strg+", "Strg", "Hyper+A", "AB", "+", "Strg++A", "F0", "F25",
                           "F01", "F1x", "Strg+Alt"}) {
    EXPECT_FALSE(ParseShortCut(text, result)) << text;
  }
  EXPECT_EQ(result.Key, 'Q');
  EXPECT_FALSE(result.Ctrl);
}

}  // namespace
}  // namespace reminder
