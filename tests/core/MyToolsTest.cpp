#include <gtest/gtest.h>

#include <random>

#include "core/common/MyTools.h"

namespace reminder {
namespace {

TEST(UpperCaseGerman, CapitalisesAsciiLettersAndTheThreeUmlauts) {
  EXPECT_EQ(UpperCaseGerman("c:\\programme\\zelto\\reminder.exe"),
            "C:\\PROGRAMME\\ZELTO\\REMINDER.EXE");
  EXPECT_EQ(UpperCaseGerman("azAZ09"), "AZAZ09");
  // The literal is Windows-1252 in the binary, as the registry and the file names are.
  EXPECT_EQ(UpperCaseGerman("äöü"), "ÄÖÜ");
  EXPECT_EQ(UpperCaseGerman("\xE4\xF6\xFC"), "\xC4\xD6\xDC");
}

TEST(UpperCaseGerman, LeavesSharpSAndOtherAccentedLettersAlone) {
  EXPECT_EQ(UpperCaseGerman("gro\xDF"), "GRO\xDF");
  // é, à, ÿ and the control bytes just below and above the small letters stay.
  EXPECT_EQ(UpperCaseGerman("\xE9\xE0\xFF\x60\x7B"), "\xE9\xE0\xFF\x60\x7B");
  EXPECT_EQ(UpperCaseGerman(std::string("a\0b", 3)), std::string("A\0B", 3));
  EXPECT_EQ(UpperCaseGerman(""), "");
}

TEST(RemoveBlanks, DropsEverySpaceAndNothingElse) {
  EXPECT_EQ(RemoveBlanks(" 1. 2.2000 "), "1.2.2000");
  EXPECT_EQ(RemoveBlanks("   "), "");
  EXPECT_EQ(RemoveBlanks("a\tb"), "a\tb");
}

TEST(DigitTexts, TwoDigitsPadsASingleCharacterFourDigitsToFourDigits) {
  EXPECT_EQ(TwoDigits(0), "00");
  EXPECT_EQ(TwoDigits(7), "07");
  EXPECT_EQ(TwoDigits(12), "12");
  EXPECT_EQ(TwoDigits(123), "123");
  EXPECT_EQ(TwoDigits(-5), "-5");
  EXPECT_EQ(TwoDigits(int64_t{5000000000}), "5000000000");
  EXPECT_EQ(FourDigits(6), "0006");
  EXPECT_EQ(FourDigits(0), "0000");
  EXPECT_EQ(FourDigits(123), "0123");
  EXPECT_EQ(FourDigits(12345), "12345");
  EXPECT_EQ(FourDigits(-6), "-0006");
}

TEST(PathTexts, ExtensionsChangeOnlyInTheFileName) {
  EXPECT_EQ(ChangeFileExt("C:\\Programme\\Reminder.exe", ".ini"), "C:\\Programme\\Reminder.ini");
  EXPECT_EQ(ChangeFileExt("C:\\Zelto.Daten\\Reminder", ".ini"), "C:\\Zelto.Daten\\Reminder.ini");
  EXPECT_EQ(ChangeFileExt("Reminder.tar.gz", ""), "Reminder.tar");
  EXPECT_EQ(ChangeFileExt("", ".ini"), ".ini");
}

}  // namespace
TEST(ZeroBytes, WordsTellWhatMemchrTells) {
  // Every length up to five words, a zero at every place or none, in text with high bytes.
  std::mt19937 random(26);
  for (size_t size = 0; size <= 40; ++size) {
    for (size_t zeroAt = 0; zeroAt <= size; ++zeroAt) {
      std::string bytes(size + 1, '\0');
      for (char& c : bytes) c = static_cast<char>(1 + random() % 255);
      if (zeroAt < size) bytes[zeroAt] = '\0';
      // The byte after the range is zero: it must not count.
      bytes[size] = '\0';
      EXPECT_EQ(HasZeroByteByWords(bytes.data(), size), zeroAt < size)
          << "size " << size << ", zero at " << zeroAt;
    }
  }
}

}  // namespace reminder
