#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win32/host/OnlyOne.h"
#include "win32/support/MsgBoxCatcher.h"
#include "win32/system/Win32MsgBox.h"

namespace reminder {
namespace {

using testing::FlushEvents;
using testing::MsgBoxCatcher;

struct SysCommand {
  HWND window;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<SysCommand> g_sysCommands;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SYSCOMMAND) {
    g_sysCommands.push_back({window, wParam, lParam});
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Registered for another module's instance, so that it never meets the main window's own
// class of this program.
HINSTANCE ForeignInstance() {
  return GetModuleHandleA("kernel32.dll");
}

void RegisterClassOnce(const char* name) {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  if (GetClassInfoExA(ForeignInstance(), name, &windowClass)) return;
  windowClass.lpfnWndProc = &RecordingProc;
  windowClass.hInstance = ForeignInstance();
  windowClass.lpszClassName = name;
  RegisterClassExA(&windowClass);
}

class TopWindow {
 public:
  TopWindow(const char* className, const char* title) {
    RegisterClassOnce(className);
    window_ = CreateWindowExA(0, className, title, WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                              ForeignInstance(), nullptr);
  }
  ~TopWindow() { DestroyWindow(window_); }
  TopWindow(const TopWindow&) = delete;
  TopWindow& operator=(const TopWindow&) = delete;
  HWND Handle() const { return window_; }

 private:
  HWND window_;
};

TEST(OnlyOne, AMainWindowIsOfClassTMainWithTheLowestStyleBitClear) {
  TopWindow main("TMain", "Zelto - Reminder");
  TopWindow other("TMainX", "Zelto - Reminder");
  EXPECT_TRUE(IsReminderMainWindow(main.Handle()));
  EXPECT_FALSE(IsReminderMainWindow(other.Handle()));
  EXPECT_FALSE(IsReminderMainWindow(nullptr));
  SetWindowLongA(main.Handle(), GWL_STYLE, GetWindowLongA(main.Handle(), GWL_STYLE) | 1);
  EXPECT_FALSE(IsReminderMainWindow(main.Handle()));
}

TEST(OnlyOne, LibraryModeOnlyClearsTheFlag) {
  MsgBoxCatcher catcher;
  TWin32MsgBox box;
  TOnlyOne first;
  first.Start(false, box);
  TOnlyOne library;
  library.SetDoNotStart();
  library.Start(true, box);
  FlushEvents();
  EXPECT_FALSE(library.DoNotStart());
  EXPECT_TRUE(catcher.Boxes().empty());
}

TEST(OnlyOne, ASecondInstanceIsToldAndRestoresTheRunningOne) {
  MsgBoxCatcher catcher;
  TWin32MsgBox box;
  TOnlyOne first;
  first.Start(false, box);
  EXPECT_FALSE(first.DoNotStart());
  EXPECT_TRUE(catcher.Boxes().empty());

  // The matching window lies below a main-window look-alike without "Reminder" in its
  // title and a window of another class.
  TopWindow running("TMain", "Zelto - Reminder");
  TopWindow stranger("Static", "Reminder");
  TopWindow untitled("TMain", "Zelto");
  g_sysCommands.clear();

  TOnlyOne second;
  second.Start(false, box);
  FlushEvents();
  EXPECT_TRUE(second.DoNotStart());
  ASSERT_EQ(catcher.Boxes().size(), 1u);
  EXPECT_EQ(catcher.Boxes()[0].caption, "Fehler");
  EXPECT_EQ(catcher.Boxes()[0].text,
            "Zelto - Reminder läuft bereits! Nutzen Sie die vorhandene Instanz.");
  ASSERT_EQ(g_sysCommands.size(), 1u);
  EXPECT_EQ(g_sysCommands[0].window, running.Handle());
  EXPECT_EQ(g_sysCommands[0].wParam, 0xF120u);
  EXPECT_EQ(g_sysCommands[0].lParam, 0xF120);
}

TEST(OnlyOne, TheSecondInstanceEndsEvenWithoutAWindowToRestore) {
  MsgBoxCatcher catcher;
  TWin32MsgBox box;
  TOnlyOne first;
  first.Start(false, box);
  TopWindow untitled("TMain", "Zelto");
  g_sysCommands.clear();
  TOnlyOne second;
  second.Start(false, box);
  FlushEvents();
  EXPECT_TRUE(second.DoNotStart());
  EXPECT_EQ(catcher.Boxes().size(), 1u);
  EXPECT_TRUE(g_sysCommands.empty());
  EXPECT_EQ(FindRunningMainWindow(), nullptr);
}

}  // namespace
}  // namespace reminder
