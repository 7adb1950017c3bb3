// The about box with the module's real version resource, its system page after the first
// refresh, the standalone notice, and the version and build components behind it.
#include <gtest/gtest.h>
#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/common/MyTools.h"
#include "core/ui/ReadableColor.h"
#include "win32/ToolkitTestSupport.h"
#include "win32/components/MyCompInfo.h"
#include "win32/components/VerInfo.h"
#include "win32/resources/ReminderRes.h"
#include "win32/support/KeyboardCheck.h"
#include "win32/support/LayoutCheck.h"
#include "win32/support/MsgBoxCatcher.h"
#include "win32/support/TempDirectory.h"
#include "win32/ui/AboutUnit.h"

namespace reminder {
namespace {

using testing::FlushEvents;
using testing::PumpUntil;

double FixedSpeed() {
  return 450.0;
}

std::string LabelText(HWND dialog, int id) {
  char buffer[512] = {};
  GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
  return buffer;
}

bool sawSystemPage = false;
std::vector<std::string> layoutProblems;

// Reads and closes the modal box from inside its own loop once the system values are in:
// shows the system page, notes what is visible, and presses Escape.
void CALLBACK DriveAboutBox(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = FindWindowA("ReminderAboutDlg", nullptr);
  if (!dialog || !IsWindowVisible(dialog) || LabelText(dialog, TAboutDlg::kPhysMemTotal).empty()) {
    return;
  }
  KillTimer(nullptr, id);
  layoutProblems = testing::LayoutProblems(dialog);
  HWND tabs = GetDlgItem(dialog, TAboutDlg::kTabSet);
  SendMessageA(tabs, TCM_SETCURSEL, 1, 0);
  NMHDR change = {tabs, static_cast<UINT_PTR>(TAboutDlg::kTabSet), TCN_SELCHANGE};
  SendMessageA(dialog, WM_NOTIFY, TAboutDlg::kTabSet, reinterpret_cast<LPARAM>(&change));
  sawSystemPage = IsWindowVisible(GetDlgItem(dialog, TAboutDlg::kPhysMemTotal)) &&
                  !IsWindowVisible(GetDlgItem(dialog, TAboutDlg::kVersion));
  for (const std::string& problem : testing::LayoutProblems(dialog)) {
    layoutProblems.push_back("system page: " + problem);
  }
  PostMessageA(GetDlgItem(dialog, IDCANCEL), WM_KEYDOWN, VK_ESCAPE, 1);
}

class AboutDlgTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::InitializeToolkit(); }
  void TearDown() override { FlushEvents(); }
};

TEST_F(AboutDlgTest, VersionComesFromTheModulesOwnResource) {
  TCompileInfo compileInfo = MainCompileInfo();
  TAboutDlg dialog(compileInfo, false);
  dialog.SetCpuSpeedMeter(&FixedSpeed);
  dialog.CreateFor(nullptr);
  dialog.Show();
  FlushEvents();
  const std::string expected =
      "Version " + std::to_string(REMINDER_VERSION_MAJOR) + "." +
      std::to_string(REMINDER_VERSION_MINOR) + " [" + std::to_string(REMINDER_VERSION_MAJOR) + "." +
      std::to_string(REMINDER_VERSION_MINOR) + "." + std::to_string(REMINDER_VERSION_RELEASE) +
      "." + FourDigits(REMINDER_VERSION_BUILD) + "]";
  EXPECT_EQ(LabelText(dialog.Handle(), TAboutDlg::kVersion), expected);
  EXPECT_EQ(LabelText(dialog.Handle(), TAboutDlg::kCompileDateLabel),
            "vom " + compileInfo.CompileDate());
  // The icon resource is there and shown.
  EXPECT_NE(SendDlgItemMessageA(dialog.Handle(), TAboutDlg::kProgramIcon, STM_GETICON, 0, 0), 0);
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog.Handle(), TAboutDlg::kMemo)));
}

TEST_F(AboutDlgTest, TheKeyboardReachesBothPagesAndTheLinks) {
  TCompileInfo compileInfo;
  TAboutDlg dialog(compileInfo, false);
  dialog.SetCpuSpeedMeter(&FixedSpeed);
  dialog.CreateFor(nullptr);
  dialog.Show();
  SetForegroundWindow(dialog.Handle());
  FlushEvents();
  std::vector<std::string> problems = testing::KeyboardProblems(dialog);
  EXPECT_TRUE(problems.empty()) << testing::Joined(problems);
  const std::vector<HWND> round = testing::TabRound(dialog);
  for (HWND link : {dialog.MailLink().Handle(), dialog.WebLink().Handle()}) {
    EXPECT_NE(std::find(round.begin(), round.end(), link), round.end());
  }
  SetFocus(dialog.MailLink().Handle());
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  MSG ctrlTab = {GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_TRUE(dialog.PreTranslateMessage(ctrlTab));
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(dialog.PageIndex(), 1);
  EXPECT_TRUE(IsWindowVisible(GetFocus()));
  problems = testing::KeyboardProblems(dialog);
  EXPECT_TRUE(problems.empty()) << testing::Joined(problems);
}

TEST_F(AboutDlgTest, TheNameIsNavyAndThePanelsTextsReadOnTheDesktopColour) {
  // Black on black, as Windows 10 and later have them by default.
  const int elements[] = {COLOR_DESKTOP, COLOR_CAPTIONTEXT};
  const COLORREF saved[] = {GetSysColor(COLOR_DESKTOP), GetSysColor(COLOR_CAPTIONTEXT)};
  const COLORREF black[] = {RGB(0, 0, 0), RGB(0, 0, 0)};
  SetSysColors(2, elements, black);
  TCompileInfo compileInfo;
  TAboutDlg dialog(compileInfo, false);
  dialog.SetCpuSpeedMeter(&FixedSpeed);
  dialog.CreateFor(nullptr);
  dialog.Show();
  FlushEvents();
  const COLORREF panel = dialog.LinkPanel().Color();
  for (COLORREF text :
       {dialog.LinkPanel().FontColor(), dialog.MailLink().FontColorNormal(),
        dialog.WebLink().FontColorNormal(), dialog.MailLink().FontColHighlightNoneFocused()}) {
    EXPECT_GE(ContrastRatio(text, panel), kReadableContrast) << std::hex << text;
  }
  SetSysColors(2, elements, saved);
  // The product name in navy, as its font is set.
  const HWND name = FindWindowExA(dialog.Handle(), nullptr, "Static", "Zelto - Reminder");
  ASSERT_NE(name, nullptr);
  const TMemoryDC dc(CreateCompatibleDC(nullptr));
  SendMessageA(dialog.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
               reinterpret_cast<LPARAM>(name));
  EXPECT_EQ(GetTextColor(dc.get()), RGB(0, 0, 0x80));
}

TEST_F(AboutDlgTest, SystemPageIsFilledByTheFirstRefresh) {
  TCompileInfo compileInfo;
  TAboutDlg dialog(compileInfo, true);
  dialog.SetCpuSpeedMeter(&FixedSpeed);
  dialog.CreateFor(nullptr);
  dialog.Show();
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog.Handle(), TAboutDlg::kMemo)));
  // Before the first refresh the page shows the empty values.
  EXPECT_EQ(LabelText(dialog.Handle(), TAboutDlg::kComputername), "n/a");

  ASSERT_TRUE(PumpUntil(
      [&] { return !LabelText(dialog.Handle(), TAboutDlg::kPhysMemTotal).empty(); }, 5000));
  for (int id : {TAboutDlg::kPhysMemTotal, TAboutDlg::kPhysMemFree, TAboutDlg::kVirtualMemUsed,
                 TAboutDlg::kVirtualMemFree, TAboutDlg::kPageFileUsed, TAboutDlg::kPageFileAvail}) {
    EXPECT_NE(LabelText(dialog.Handle(), id).find("Byte"), std::string::npos) << id;
  }
  EXPECT_NE(LabelText(dialog.Handle(), TAboutDlg::kMemoryPercInUse).find(" %"), std::string::npos);
  EXPECT_EQ(LabelText(dialog.Handle(), TAboutDlg::kComputername),
            dialog.SystemInformation().Texts().ComputerName);
  EXPECT_FALSE(LabelText(dialog.Handle(), TAboutDlg::kWindowsversion).empty());
  const std::string screen = LabelText(dialog.Handle(), TAboutDlg::kScreenResolution);
  EXPECT_EQ(screen.rfind(dialog.SystemInformation().Texts().ScreenWidth + "x", 0), 0u);

  // A "Pentium" is measured once per dialog, however often the page is filled.
  const std::string cpu = dialog.SystemInformation().Texts().CPU;
  if (cpu.find("Pentium") != std::string::npos) {
    EXPECT_EQ(LabelText(dialog.Handle(), TAboutDlg::kCPU), cpu + "  450 MHz");
    EXPECT_EQ(dialog.CpuMeasurements(), 1);
  } else {
    EXPECT_EQ(LabelText(dialog.Handle(), TAboutDlg::kCPU), cpu);
    EXPECT_EQ(dialog.CpuMeasurements(), 0);
  }
}

TEST_F(AboutDlgTest, TabsSwitchPagesAndEscapeEndsTheModalBox) {
  TCompileInfo compileInfo;
  sawSystemPage = false;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, &DriveAboutBox);
  const int result = TAboutDlg::Execute(nullptr, true, compileInfo);
  KillTimer(nullptr, timer);
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_TRUE(sawSystemPage);
  EXPECT_TRUE(layoutProblems.empty()) << testing::Joined(layoutProblems);
  EXPECT_EQ(FindWindowA("ReminderAboutDlg", nullptr), nullptr);
}

TEST(VersionInfoTest, ReadsTranslationStringsAndFixedVersion) {
  TVersionInfo info(OwnModuleFileName());
  ASSERT_TRUE(info.Valid());
  EXPECT_EQ(info.GetTranslationText(), "040704E4");
  EXPECT_EQ(info.GetStringValue("ProductName"), "Zelto - Reminder");
  EXPECT_EQ(info.GetStringValue("NoSuchValue"), "");
  EXPECT_EQ(info.GetFileVersion(), REMINDER_VERSION_TEXT);
  uint32_t high = 0, low = 0;
  ASSERT_TRUE(info.GetFileVersionNumbers(high, low));
  EXPECT_EQ(high >> 16, static_cast<uint32_t>(REMINDER_VERSION_MAJOR));
  EXPECT_EQ(low & 0xFFFF, static_cast<uint32_t>(REMINDER_VERSION_BUILD));
}

TEST(VersionInfoTest, AFileWithoutVersionDataIsInvalid) {
  testing::TempDirectory directory;
  const std::string file = directory.Path() + "\\plain.txt";
  HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(handle, "text", 4, &written, nullptr);
  CloseHandle(handle);

  TVersionInfo info(file);
  EXPECT_FALSE(info.Valid());
  EXPECT_EQ(info.GetTranslation(), nullptr);
  EXPECT_EQ(info.GetFixedFileInfo(), nullptr);
  EXPECT_EQ(info.GetStringValue("FileVersion"), "");
  EXPECT_EQ(info.GetFileVersion(), "");
}

TEST(CompileInfoTest, MainWindowValuesAndPatterns) {
  const TCompileInfo info = MainCompileInfo();
  EXPECT_EQ(info.CompanyName(), "Orvandel");
  EXPECT_EQ(info.Version(), "1.0");
  EXPECT_TRUE(info.Update());
  // dd.mm.yyyy hh:mm:ss, from the build time
  ASSERT_EQ(info.CompileDate().size(), 19u);
  EXPECT_EQ(info.CompileDate()[2], '.');
  EXPECT_EQ(info.CompileDate()[13], ':');

  TCompileInfo plain;
  EXPECT_EQ(plain.CompanyName(), "Pellmor Inc.");
  EXPECT_EQ(plain.Build(), 1);
  EXPECT_EQ(plain.Pattern(), "dd.mm.yyyy tt");
  plain.SetDateOnly(true);
  plain.SetFormat(TDateTimeFormat::tfFullName);
  EXPECT_EQ(plain.Pattern(), "yyyy mmmm dddd");
  // At run time a new pattern or Update does not re-stamp the date.
  const std::string before = plain.CompileDate();
  plain.SetUpdate(true);
  EXPECT_EQ(plain.CompileDate(), before);
}

}  // namespace
}  // namespace reminder
