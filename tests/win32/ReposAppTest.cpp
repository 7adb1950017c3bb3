#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "win32/settings/RegistryKey.h"
#include "win32/settings/ReposApp.h"
#include "win32/store/Win32DataFile.h"
#include "win32/support/RegistryScratch.h"

namespace reminder {
namespace {

using testing::RegistryScratch;

constexpr int kMinWidth = 220;
constexpr int kMinHeight = 160;

std::string TestName() {
  return ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

// A top-level window that, like the main window, refuses to become smaller than its
// minimum size.
LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_GETMINMAXINFO) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    info->ptMinTrackSize = {kMinWidth, kMinHeight};
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateForm(DWORD style, bool visible) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = &FormProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "ReposAppTestForm";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, wc.lpszClassName, "Form", style, 40, 30, 400, 300, nullptr,
                                nullptr, wc.hInstance, nullptr);
  if (visible) ShowWindow(window, SW_SHOWNOACTIVATE);
  return window;
}

RECT BoundsOf(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return rect;
}

void ExpectBounds(HWND window, LONG left, LONG top, LONG width, LONG height) {
  const RECT rect = BoundsOf(window);
  EXPECT_EQ(rect.left, left);
  EXPECT_EQ(rect.top, top);
  EXPECT_EQ(rect.right - rect.left, width);
  EXPECT_EQ(rect.bottom - rect.top, height);
}

class ReposAppTest : public ::testing::Test {
 protected:
  ReposAppTest()
      : scratch(TestName()),
        // Hidden unless a test shows it: without a window manager Wine waits two seconds
        // for every shown window to disappear again.
        form(CreateForm(WS_OVERLAPPEDWINDOW, false)),
        screenWidth(GetSystemMetrics(SM_CXSCREEN)),
        screenHeight(GetSystemMetrics(SM_CYSCREEN)),
        repos(form) {
    repos.InifileName = "\\" + scratch.Path();
  }
  ~ReposAppTest() override { DestroyWindow(form); }

  // Stores the four geometry values and the flag as decimal texts.
  void Store(const std::string& left, const std::string& top, const std::string& width,
             const std::string& height, const std::string& showCmd = "0") {
    const std::pair<const char*, const std::string&> values[] = {
        {"Left", left}, {"Top", top}, {"Width", width}, {"Height", height}, {"ShowCmd", showCmd}};
    for (const auto& [name, text] : values) {
      scratch.Set("WindowPosition", name, REG_SZ, text + '\0');
    }
  }

  std::string Stored(const char* name) {
    const std::string data = scratch.Get("WindowPosition", name).data;
    return data.substr(0, data.find('\0'));
  }

  void ExpectCentred(LONG width, LONG height) {
    // Wine has a single monitor, the primary screen.
    ExpectBounds(form, (screenWidth - width) / 2, (screenHeight - height) / 2, width, height);
  }

  RegistryScratch scratch;
  HWND form;
  int screenWidth;
  int screenHeight;
  TRePosApp repos;
};

TEST_F(ReposAppTest, SavedPlaceComesBackFromTheRegistry) {
  SetWindowPos(form, nullptr, 50, 60, 420, 310, SWP_NOZORDER | SWP_NOACTIVATE);
  repos.SaveAppPosition(false);
  const char* names[] = {"ShowCmd", "Top", "Left", "Width", "Height"};
  const char* texts[] = {"0", "60", "50", "420", "310"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(scratch.Get("WindowPosition", names[i]).type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(Stored(names[i]), texts[i]) << names[i];
  }
  SetWindowPos(form, nullptr, 5, 6, 300, 250, SWP_NOZORDER | SWP_NOACTIVATE);
  repos.LoadAppPosition(false);
  ExpectBounds(form, 50, 60, 420, 310);
}

TEST_F(ReposAppTest, SavedPlaceComesBackFromAFile) {
  char directory[MAX_PATH] = {};
  GetTempPathA(sizeof directory, directory);
  const std::string file = std::string(directory) + "ReposAppTest.ini";
  DeleteFileA(file.c_str());
  repos.InifileName = file;
  repos.SectionName = "Fenster";
  SetWindowPos(form, nullptr, 70, 80, 430, 320, SWP_NOZORDER | SWP_NOACTIVATE);
  repos.SaveAppPosition(true);
  EXPECT_EQ(GetPrivateProfileIntA("Fenster", "Left", -7, file.c_str()), 70);
  EXPECT_EQ(GetPrivateProfileIntA("Fenster", "Height", -7, file.c_str()), 320);
  EXPECT_EQ(GetPrivateProfileIntA("Fenster", "ShowCmd", -7, file.c_str()), 0);
  SetWindowPos(form, nullptr, 5, 6, 300, 250, SWP_NOZORDER | SWP_NOACTIVATE);
  repos.LoadAppPosition(true);
  ExpectBounds(form, 70, 80, 430, 320);
  // A value that is no whole number centres the window, as a missing one does.
  WritePrivateProfileStringA("Fenster", "Top", "12px", file.c_str());
  repos.LoadAppPosition(true);
  ExpectCentred(430, 320);
  DeleteFileA(file.c_str());
}

TEST(ReposAppDefaultsTest, WithoutANameTheFileLiesBesideTheProgram) {
  HWND form = CreateForm(WS_OVERLAPPEDWINDOW, false);
  TRePosApp repos(form);
  repos.SaveAppPosition(true);
  const std::string program = ExecutablePath();
  const std::string expected = program.substr(0, program.rfind('.')) + ".ini";
  EXPECT_EQ(repos.InifileName, expected);
  EXPECT_NE(GetPrivateProfileIntA("WindowPosition", "Width", -7, expected.c_str()), -7);
  DeleteFileA(expected.c_str());
  DestroyWindow(form);
}

TEST_F(ReposAppTest, FirstStartCentresTheWindowAtItsSize) {
  repos.LoadAppPosition(false);
  ExpectCentred(400, 300);
  // Loading created the area's key but not its section.
  EXPECT_TRUE(scratch.KeyExists(""));
  EXPECT_FALSE(scratch.KeyExists("WindowPosition"));
}

TEST_F(ReposAppTest, UnreadableOrIncompleteValuesCentreTheWindow) {
  const struct {
    const char* name;
    DWORD type;
    std::string data;
  } spoilers[] = {{"Height", REG_SZ, std::string("abc\0", 4)},
                  {"Width", REG_DWORD, std::string("\x90\x01\0\0", 4)},
                  {"Left", REG_SZ, std::string("\0", 1)},
                  {"Top", REG_SZ, std::string("-1\0", 3)},
                  {"Top", REG_BINARY, std::string(100000, '7')}};
  for (const auto& spoiler : spoilers) {
    Store("10", "20", "500", "400");
    scratch.Set("WindowPosition", spoiler.name, spoiler.type, spoiler.data);
    SetWindowPos(form, nullptr, 3, 4, 410, 290, SWP_NOZORDER | SWP_NOACTIVATE);
    repos.LoadAppPosition(false);
    ExpectCentred(410, 290);
  }
}

TEST_F(ReposAppTest, AWindowFarOffTheScreenComesBackOntoIt) {
  Store("1000000000", "2000000000", "500", "400");
  repos.LoadAppPosition(false);
  ExpectBounds(form, screenWidth - 500, screenHeight - 400, 500, 400);
  // Wider than the remaining space: the right edge meets the screen's.
  Store(std::to_string(screenWidth - 100), "10", "300", "200");
  repos.LoadAppPosition(false);
  ExpectBounds(form, screenWidth - 300, 10, 300, 200);
  // Wider than the screen: the left edge at 0.
  Store("30", "10", std::to_string(screenWidth + 4), "200");
  repos.LoadAppPosition(false);
  ExpectBounds(form, 0, 10, screenWidth + 4, 200);
}

TEST_F(ReposAppTest, AbsurdSizesStayWithinTheWindowsLimits) {
  Store("10", "20", "1", "1");
  repos.LoadAppPosition(false);
  ExpectBounds(form, 10, 20, kMinWidth, kMinHeight);
  Store("10", "20", "2147483647", "2147483647");
  repos.LoadAppPosition(false);
  const RECT rect = BoundsOf(form);
  EXPECT_EQ(rect.right - rect.left, GetSystemMetrics(SM_CXMAXTRACK));
  EXPECT_EQ(rect.bottom - rect.top, GetSystemMetrics(SM_CYMAXTRACK));
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
}

TEST_F(ReposAppTest, TheMaximisedFlagNeedsAllowMaximized) {
  ShowWindow(form, SW_SHOWNOACTIVATE);  // only a shown window changes its state
  Store("15", "25", "450", "350", "1");
  repos.LoadAppPosition(false);
  EXPECT_FALSE(IsZoomed(form));
  ExpectBounds(form, 15, 25, 450, 350);
  repos.AllowMaximized = true;
  repos.LoadAppPosition(false);
  EXPECT_TRUE(IsZoomed(form));
  repos.SaveAppPosition(false);
  EXPECT_EQ(Stored("ShowCmd"), "1");
  // A stored 0 brings a maximised window back to normal at the stored place.
  Store("15", "25", "450", "350", "0");
  repos.LoadAppPosition(false);
  EXPECT_FALSE(IsZoomed(form));
  ExpectBounds(form, 15, 25, 450, 350);
}

TEST_F(ReposAppTest, AMinimisedWindowIsNotSaved) {
  Store("10", "20", "500", "400");
  ShowWindow(form, SW_SHOWMINNOACTIVE);
  ASSERT_TRUE(IsIconic(form));
  repos.SaveAppPosition(false);
  EXPECT_EQ(Stored("Left"), "10");
  EXPECT_EQ(Stored("Width"), "500");
  EXPECT_EQ(Stored("ShowCmd"), "0");
}

TEST_F(ReposAppTest, AFixedBorderKeepsItsSize) {
  DestroyWindow(form);
  form = CreateForm(WS_POPUP | WS_CAPTION | WS_SYSMENU, false);
  TRePosApp fixed(form);
  fixed.InifileName = repos.InifileName;
  Store("3000", "25", "450", "350");
  fixed.LoadAppPosition(false);
  ExpectBounds(form, 3000, 25, 400, 300);
}

TEST_F(ReposAppTest, AKeyThatCannotBeOpenedLeavesTheWindowCentred) {
  // A second leading separator makes a path the registry refuses.
  repos.InifileName = "\\\\" + scratch.Path();
  repos.SaveAppPosition(false);
  repos.LoadAppPosition(false);
  ExpectCentred(400, 300);
  EXPECT_FALSE(scratch.KeyExists(""));
}

}  // namespace
}  // namespace reminder
