#include <gtest/gtest.h>

#include "core/Fakes.h"
#include "win32/settings/RegIni.h"
#include "win32/store/Win32DataFile.h"
#include "win32/support/MsgBoxCatcher.h"
#include "win32/support/RegistryScratch.h"

namespace reminder {
namespace {

using testing::FakeMsgBox;
using testing::RawValue;
using testing::RegistryScratch;

std::string TestName() {
  return ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

// An accessor on the test's own area, section "Options", with a recording message box.
class RegIniTest : public ::testing::Test {
 protected:
  RegIniTest() : scratch(TestName()), ini(&box) {
    ini.SetArea("\\" + scratch.Path());
    ini.SetSection("Options");
  }

  RegistryScratch scratch;
  FakeMsgBox box;
  TTheRegIniFile ini;
};

TEST_F(RegIniTest, ReadingFromAMissingKeyCreatesItWithTheProgramAsClass) {
  ASSERT_FALSE(scratch.KeyExists("Options"));
  EXPECT_EQ(ini.ReadString("Missing", "vorgabe"), "vorgabe");
  EXPECT_EQ(ini.ErrorCode(), 1);
  ASSERT_TRUE(scratch.KeyExists("Options"));
  EXPECT_EQ(scratch.KeyClass("Options"), ExecutablePath());
  EXPECT_EQ(ini.ReadInteger("Missing", 60), 60);
  EXPECT_EQ(ini.ErrorCode(), 1);
  EXPECT_TRUE(ini.ReadBool("Missing", true));
  EXPECT_EQ(ini.ErrorCode(), 1);
  // A successful call clears the code again.
  ini.WriteString("Present", "x");
  EXPECT_EQ(ini.ErrorCode(), 0);
  EXPECT_TRUE(box.shown.empty());
}

TEST_F(RegIniTest, ValuesAreStoredAsStringsInTheirFixedForms) {
  ini.WriteString("Text", "Bestätigung");
  ini.WriteInteger("Number", -42);
  ini.WriteBool("On", true);
  ini.WriteBool("Off", false);
  const struct {
    const char* name;
    std::string data;
  } expected[] = {{"Text", std::string("Best\xE4tigung\0", 12)},
                  {"Number", std::string("-42\0", 4)},
                  {"On", std::string("1\0\0", 3)},
                  {"Off", std::string("0\0\0", 3)}};
  for (const auto& value : expected) {
    const RawValue raw = scratch.Get("Options", value.name);
    ASSERT_TRUE(raw.exists) << value.name;
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ)) << value.name;
    EXPECT_EQ(raw.data, value.data) << value.name;
  }
  EXPECT_EQ(ini.ReadString("Text", ""), "Bestätigung");
  EXPECT_EQ(ini.ReadInteger("Number", 0), -42);
  EXPECT_EQ(ini.ErrorCode(), 0);
  EXPECT_TRUE(ini.ReadBool("On", false));
  EXPECT_FALSE(ini.ReadBool("Off", true));
  EXPECT_EQ(ini.ErrorCode(), 0);
}

TEST_F(RegIniTest, StoredTextsConvertOrFallBackToTheDefault) {
  scratch.Set("Options", "Letters", REG_SZ, std::string("abc\0", 4));
  scratch.Set("Options", "Empty", REG_SZ, std::string("\0", 1));
  scratch.Set("Options", "Two", REG_SZ, std::string("2\0", 2));
  scratch.Set("Options", "Huge", REG_SZ, std::string("2147483648\0", 11));

  EXPECT_EQ(ini.ReadInteger("Letters", 7), 7);
  EXPECT_EQ(ini.ErrorCode(), 2);
  EXPECT_EQ(ini.ReadInteger("Huge", 7), 7);
  EXPECT_EQ(ini.ErrorCode(), 2);
  EXPECT_EQ(ini.ReadInteger("Empty", 7), 7);
  EXPECT_EQ(ini.ErrorCode(), 0);
  EXPECT_EQ(ini.ReadString("Empty", "vorgabe"), "");
  EXPECT_EQ(ini.ErrorCode(), 0);

  EXPECT_FALSE(ini.ReadBool("Two", true));
  EXPECT_TRUE(ini.ReadBool("Letters", true));
  EXPECT_FALSE(ini.ReadBool("Letters", false));
  EXPECT_EQ(ini.ErrorCode(), 0);
  EXPECT_TRUE(ini.ReadBool("Empty", true));
}

TEST_F(RegIniTest, ValuesOfOtherTypesAreReadUpToTheirFirstZeroByte) {
  scratch.Set("Options", "Dword", REG_DWORD, std::string("1\0\0\0", 4));
  scratch.Set("Options", "Binary", REG_BINARY, std::string("12\0x", 4));
  scratch.Set("Options", "Multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5));
  scratch.Set("Options", "Expand", REG_EXPAND_SZ, std::string("%TEMP%\0", 7));
  scratch.Set("Options", "NoZero", REG_BINARY, std::string(3000, 'z'));
  scratch.Set("Options", "Nothing", REG_NONE, std::string());

  EXPECT_TRUE(ini.ReadBool("Dword", false));
  EXPECT_EQ(ini.ReadInteger("Binary", 0), 12);
  EXPECT_EQ(ini.ReadString("Multi", ""), "a");
  EXPECT_EQ(ini.ReadString("Expand", ""), "%TEMP%");
  EXPECT_EQ(ini.ReadString("NoZero", ""), std::string(3000, 'z'));
  EXPECT_EQ(ini.ErrorCode(), 0);
  EXPECT_EQ(ini.ReadString("Nothing", "vorgabe"), "");
  EXPECT_EQ(ini.ErrorCode(), 0);
}

TEST_F(RegIniTest, ValuesLargerThanTheFirstBufferAreReadWhole) {
  // 2046 characters and the zero fit the first query's 2047 bytes; the others need a second.
  for (size_t length : {2046u, 2047u, 2048u, 10000u, 1u << 20}) {
    std::string text(length, 'r');
    text[length - 1] = 'e';
    ini.WriteString("Long", text);
    ASSERT_EQ(ini.ErrorCode(), 0) << length;
    EXPECT_EQ(ini.ReadString("Long", ""), text) << length;
    EXPECT_EQ(ini.ErrorCode(), 0) << length;
  }
}

TEST_F(RegIniTest, SeparatorsAroundTheAreaAddressTheSameKey) {
  ini.SetArea(scratch.Path());
  ini.WriteString("Shared", "eins");
  for (const std::string& area :
       {"\\" + scratch.Path(), scratch.Path() + "\\", "\\" + scratch.Path() + "\\"}) {
    TTheRegIniFile other(&box);
    other.SetArea(area);
    other.SetSection("Options");
    EXPECT_EQ(other.ReadString("Shared", ""), "eins") << area;
    EXPECT_EQ(other.ErrorCode(), 0) << area;
  }
}

TEST_F(RegIniTest, MissingAreaOrSectionOnlyShowsTheMessage) {
  ini.ReadString("Missing", "");
  ASSERT_EQ(ini.ErrorCode(), 1);
  ini.SetAppTitle("Reminder");
  ini.SetSection("");
  EXPECT_EQ(ini.ReadString("Shared", "vorgabe"), "vorgabe");
  EXPECT_EQ(ini.ErrorCode(), 0);
  EXPECT_EQ(ini.ReadInteger("Shared", 9), 9);
  ini.WriteBool("Shared", true);
  EXPECT_EQ(ini.ErrorCode(), 0);
  ini.SetSection("Options");
  ini.SetArea("");
  ini.WriteString("Shared", "x");
  ASSERT_EQ(box.shown.size(), 4u);
  for (const auto& shown : box.shown) {
    EXPECT_EQ(shown.text, "Bitte Area und Section angeben.");
    EXPECT_EQ(shown.caption, "Reminder");
    EXPECT_EQ(shown.style, 0u);  // no icon, an OK button
  }
  EXPECT_FALSE(scratch.Get("Options", "Shared").exists);
  EXPECT_FALSE(scratch.Get("", "Shared").exists);
}

TEST_F(RegIniTest, TheSystemBoxIsPlainWithTheProgramsNameAsCaption) {
  TTheRegIniFile real;
  testing::MsgBoxCatcher catcher;
  EXPECT_EQ(real.ReadString("Name", "vorgabe"), "vorgabe");
  ASSERT_EQ(catcher.Boxes().size(), 1u);
  EXPECT_EQ(catcher.Boxes()[0].text, "Bitte Area und Section angeben.");
  EXPECT_EQ(catcher.Boxes()[0].caption, "win32_tests");
  EXPECT_EQ(catcher.Boxes()[0].icon, testing::BoxIcon::None);
}

TEST_F(RegIniTest, AnEmptyValueNameCannotBeReadButWritesTheKeysDefaultValue) {
  EXPECT_EQ(ini.ReadString("", "vorgabe"), "vorgabe");
  EXPECT_EQ(ini.ErrorCode(), 1);
  ini.WriteString("", "standard");
  EXPECT_EQ(ini.ErrorCode(), 0);
  EXPECT_EQ(scratch.Get("Options", "").data, std::string("standard\0", 9));
}

TEST_F(RegIniTest, AKeyStaysOpenForTheNextCallOfTheSameKind) {
  scratch.Set("Options", "Value", REG_SZ, std::string("alt\0", 4));
  EXPECT_EQ(ini.ReadString("Value", ""), "alt");
  // Replaced behind the accessor's back: a second read still uses the key the first
  // opened, which is gone now.
  scratch.DeleteKey("Options");
  scratch.Set("Options", "Value", REG_SZ, std::string("neu\0", 4));
  EXPECT_EQ(ini.ReadString("Value", "vorgabe"), "vorgabe");
  EXPECT_EQ(ini.ErrorCode(), 1);
  // Writing needs the key opened for setting values, so it opens the new one.
  ini.WriteString("Value", "geschrieben");
  EXPECT_EQ(ini.ErrorCode(), 0);
  EXPECT_EQ(scratch.Get("Options", "Value").data, std::string("geschrieben\0", 12));
  // And reading after writing opens it once more, for querying.
  EXPECT_EQ(ini.ReadString("Value", ""), "geschrieben");
}

TEST_F(RegIniTest, AnotherKeyReplacesTheCachedOneAndClosesIt) {
  HKEY first = nullptr;
  ASSERT_TRUE(ini.OpenKeyRead(HKEY_CURRENT_USER, scratch.PathOf("A"), first));
  HKEY again = nullptr;
  ASSERT_TRUE(ini.OpenKeyRead(HKEY_CURRENT_USER, scratch.PathOf("A"), again));
  EXPECT_EQ(again, first);
  HKEY second = nullptr;
  ASSERT_TRUE(ini.OpenKeyWrite(HKEY_CURRENT_USER, scratch.PathOf("A"), second));
  // The handle of the first may be reused for the second only because it was closed.
  DWORD values = 0;
  if (second != first) {
    EXPECT_EQ(RegQueryInfoKeyA(first, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                               nullptr, nullptr, nullptr, nullptr),
              ERROR_INVALID_HANDLE);
  }
}

TEST(RegIniLifetimeTest, DestroyingTheAccessorClosesItsKey) {
  RegistryScratch scratch(TestName());
  HKEY key = nullptr;
  {
    FakeMsgBox box;
    TTheRegIniFile ini(&box);
    ASSERT_TRUE(ini.OpenKeyRead(HKEY_CURRENT_USER, scratch.Path(), key));
    DWORD values = 0;
    ASSERT_EQ(RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                               nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
  }
  DWORD values = 0;
  EXPECT_EQ(RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                             nullptr, nullptr, nullptr, nullptr),
            ERROR_INVALID_HANDLE);
}

TEST_F(RegIniTest, AKeyThatCanBeNeitherOpenedNorCreatedReportsOneOrFive) {
  const HKEY roots[] = {reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234)), HKEY_CURRENT_USER};
  for (HKEY root : roots) {
    ini.SetRegKey(root);
    // A second leading separator makes a path the registry refuses.
    if (root == HKEY_CURRENT_USER) ini.SetArea("\\\\" + scratch.Path());
    EXPECT_EQ(ini.ReadString("Value", "vorgabe"), "vorgabe");
    EXPECT_EQ(ini.ErrorCode(), 1);
    EXPECT_EQ(ini.ReadInteger("Value", 60), 60);
    EXPECT_EQ(ini.ErrorCode(), 1);
    EXPECT_TRUE(ini.ReadBool("Value", true));
    ini.WriteString("Value", "x");
    EXPECT_EQ(ini.ErrorCode(), 5);
    ini.WriteInteger("Value", 1);
    EXPECT_EQ(ini.ErrorCode(), 5);
    ini.WriteBool("Value", true);
    EXPECT_EQ(ini.ErrorCode(), 5);
  }
  EXPECT_TRUE(box.shown.empty());
  EXPECT_FALSE(scratch.KeyExists("Options"));
}

}  // namespace
}  // namespace reminder
