// Reminder.exe started as a program: one instance at a time, and "/DEINSTALL".
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "win32/host/ProcessDriver.h"
#include "win32/host/RegistryRemover.h"
#include "win32/support/TempDirectory.h"
#include "win32/ui/MainUnit.h"

namespace reminder {
namespace {

using testing::ChildProcess;
using testing::ProcessBox;
using testing::TempDirectory;
using testing::WaitFor;

const char kArea[] = "Software\\Orvandel Software\\Reminder";

bool KeyExists(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

void CreateKey(const std::string& path) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, "Wert", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
  RegCloseKey(key);
}

// Answers the program's boxes until it ends and returns them.
std::vector<ProcessBox> BoxesUntilEnd(const ChildProcess& program) {
  std::vector<ProcessBox> boxes;
  WaitFor([&] {
    for (const ProcessBox& box : testing::AnswerBoxes(program)) boxes.push_back(box);
    return program.Ended();
  });
  return boxes;
}

class Standalone : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CopyFileA((testing::BuildDirectory() + "Reminder.exe").c_str(),
                          dir_.File("Reminder.exe").c_str(), FALSE));
  }
  void TearDown() override { DeleteRegistryTree(HKEY_CURRENT_USER, kArea); }
  TempDirectory dir_;
};

TEST_F(Standalone, DeinstallInAnyLetterCaseRemovesTheSettingsTreeEachTime) {
  const std::vector<std::pair<std::string, size_t>> cases = {{"/deinstall", 1},
                                                             {"/x /DeInstall /DEINSTALL", 2}};
  for (const auto& [arguments, times] : cases) {
    CreateKey(std::string(kArea) + "\\Options\\Deep\\Deeper");
    CreateKey(std::string(kArea) + "\\WindowPosition");
    ChildProcess program(dir_.Path(), "Reminder.exe", arguments);
    ASSERT_TRUE(program.Started());
    const std::vector<ProcessBox> boxes = BoxesUntilEnd(program);
    ASSERT_TRUE(program.Ended()) << arguments;
    ASSERT_EQ(boxes.size(), times) << arguments;
    for (const ProcessBox& box : boxes) {
      EXPECT_EQ(box.caption, "Information");
      EXPECT_EQ(box.text, "Registrierungsschlüssel für den Zelto - Reminder entfernt!");
    }
    EXPECT_FALSE(KeyExists(kArea)) << arguments;
    EXPECT_TRUE(KeyExists("Software\\Orvandel Software")) << arguments;
  }
}

TEST_F(Standalone, ASecondInstanceIsToldRestoresTheFirstAndEnds) {
  ChildProcess first(dir_.Path(), "Reminder.exe");
  ASSERT_TRUE(first.Started());
  ASSERT_TRUE(WaitFor([&] { return first.Window("TMain") != nullptr; }));
  HWND main = first.Window("TMain");
  EXPECT_FALSE(IsWindowVisible(main));

  ChildProcess second(dir_.Path(), "Reminder.exe");
  ASSERT_TRUE(second.Started());
  const std::vector<ProcessBox> boxes = BoxesUntilEnd(second);
  ASSERT_TRUE(second.Ended());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Fehler");
  EXPECT_EQ(boxes[0].text, "Zelto - Reminder läuft bereits! Nutzen Sie die vorhandene Instanz.");
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }));
  EXPECT_EQ(first.Windows("TMain"), std::vector<HWND>{main});

  // Standalone, "Beenden" ends the program itself.
  PostMessageA(main, WM_COMMAND, cmExit, 0);
  EXPECT_TRUE(first.WaitForEnd());
}

TEST_F(Standalone, BeendenWhileTheEditorIsOpenEndsTheProgramCleanly) {
  ChildProcess program(dir_.Path(), "Reminder.exe");
  ASSERT_TRUE(program.Started());
  ASSERT_TRUE(WaitFor([&] { return program.Window("TMain") != nullptr; }));
  HWND main = program.Window("TMain");
  PostMessageA(main, WM_COMMAND, cmAdd, 0);
  ASSERT_TRUE(WaitFor([&] { return program.Window("ReminderAddNotifyEventDlg") != nullptr; }));
  PostMessageA(main, WM_COMMAND, cmExit, 0);
  ASSERT_TRUE(program.WaitForEnd());
  EXPECT_EQ(program.ExitCode(), 0u);
}

}  // namespace
}  // namespace reminder
