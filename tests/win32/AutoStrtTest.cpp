#include <gtest/gtest.h>

#include <string>

#include "win32/host/AutoStrt.h"
#include "win32/support/MsgBoxCatcher.h"
#include "win32/support/RegistryScratch.h"
#include "win32/system/Win32MsgBox.h"

namespace reminder {
namespace {

// The program's folder does not exist, so its short form is the folder as written.
constexpr char kProgram[] = "C:\\Programme\\Zeltö Übung\\Reminder.exe";
constexpr char kEntry[] = "C:\\PROGRAMME\\ZELTÖ ÜBUNG\\REMINDER.EXE";

class AutoStrtTest : public ::testing::Test {
 protected:
  AutoStrtTest()
      : registry_(::testing::UnitTest::GetInstance()->current_test_info()->name()),
        autoStart_(box_, {{HKEY_CURRENT_USER, registry_.PathOf("Run")},
                          {HKEY_CURRENT_USER, registry_.PathOf("UserRun")},
                          kProgram}) {}
  // In the key that stands for the machine's Run key, or the user's.
  testing::RawValue Entry(const char* key = "Run") const {
    return registry_.Get(key, "Zelto - Reminder");
  }

  testing::RegistryScratch registry_;
  TWin32MsgBox box_;
  TAutoStart autoStart_;
  testing::MsgBoxCatcher catcher_;
};

TEST_F(AutoStrtTest, EntersAndRemovesItsOwnPathWhateverTheLetterCase) {
  EXPECT_EQ(autoStart_.Path(), kEntry);
  registry_.Set("Run", "Anderes", REG_SZ, "x");
  EXPECT_FALSE(autoStart_.IsAutostartEntered());
  autoStart_.SetAutostart(true);
  EXPECT_EQ(Entry().type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(Entry().data, std::string(kEntry) + '\0');

  registry_.Set("Run", "Zelto - Reminder", REG_SZ, "c:\\programme\\zeltö übung\\reminder.exe");
  EXPECT_TRUE(autoStart_.IsAutostartEntered());
  autoStart_.SetAutostart(false);
  EXPECT_FALSE(Entry().exists);
  EXPECT_TRUE(registry_.Get("Run", "Anderes").exists);
  EXPECT_TRUE(catcher_.Boxes().empty());
}

TEST_F(AutoStrtTest, LeavesAnotherProgramsEntryAlone) {
  registry_.Set("Run", "Zelto - Reminder", REG_SZ, "C:\\ANDERES\\REMINDER.EXE");
  EXPECT_FALSE(autoStart_.IsAutostartEntered());
  autoStart_.SetAutostart(false);
  EXPECT_EQ(Entry().data, std::string("C:\\ANDERES\\REMINDER.EXE") + '\0');
  // ß has no capital: a path that differs there is another path.
  registry_.Set("Run", "Zelto - Reminder", REG_SZ, "C:\\PROGRAMME\\ZELTÖ ÜBUNG\\REMINDER.EXEß");
  EXPECT_FALSE(autoStart_.IsAutostartEntered());
}

TEST_F(AutoStrtTest, WithoutAdministratorRightsTheEntryGoesToTheUsersRunKey) {
  ASSERT_TRUE(registry_.DenyValueChanges("Run"));
  EXPECT_FALSE(autoStart_.IsAutostartEntered());
  autoStart_.SetAutostart(true);
  EXPECT_FALSE(Entry().exists);
  EXPECT_EQ(Entry("UserRun").data, std::string(kEntry) + '\0');
  EXPECT_TRUE(autoStart_.IsAutostartEntered());
  autoStart_.SetAutostart(false);
  EXPECT_FALSE(Entry("UserRun").exists);
  EXPECT_FALSE(autoStart_.IsAutostartEntered());
  EXPECT_TRUE(catcher_.Boxes().empty());
}

TEST_F(AutoStrtTest, OnlyAnEntryThatNoKeyTakesOrKeepsIsReported) {
  registry_.Set("Run", "Zelto - Reminder", REG_SZ, kEntry);
  ASSERT_TRUE(registry_.DenyValueChanges("Run"));
  ASSERT_TRUE(registry_.DenyValueChanges("UserRun"));
  EXPECT_TRUE(autoStart_.IsAutostartEntered());
  autoStart_.SetAutostart(true);  // entered already: nothing to write
  EXPECT_TRUE(catcher_.Boxes().empty());
  autoStart_.SetAutostart(false);
  ASSERT_EQ(catcher_.Boxes().size(), 1u);
  EXPECT_EQ(catcher_.Boxes()[0].text,
            "Eintrag konnte nicht aus der Registrierung gel\xF6scht werden. Fehlercode: 5");
  catcher_.Clear();
  registry_.DeleteKey("Run");
  ASSERT_TRUE(registry_.DenyValueChanges("Run"));
  autoStart_.SetAutostart(true);
  ASSERT_EQ(catcher_.Boxes().size(), 1u);
  EXPECT_EQ(catcher_.Boxes()[0].caption, "Zelto - Reminder");
  EXPECT_EQ(catcher_.Boxes()[0].text,
            "Wert konnte nicht in die Registrierung eingef\xFCgt werden. Fehlercode: 5");
  EXPECT_FALSE(autoStart_.IsAutostartEntered());
}

}  // namespace
}  // namespace reminder
