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
        autoStart_(box_, {HKEY_CURRENT_USER, registry_.PathOf("Run"), kProgram}) {}
  testing::RawValue Entry() const { return registry_.Get("Run", "Zelto - Reminder"); }

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

TEST_F(AutoStrtTest, AMissingRunKeyIsSkippedInSilence) {
  EXPECT_FALSE(autoStart_.IsAutostartEntered());
  autoStart_.SetAutostart(true);
  EXPECT_FALSE(registry_.KeyExists("Run"));
  EXPECT_TRUE(catcher_.Boxes().empty());
}

}  // namespace
}  // namespace reminder
