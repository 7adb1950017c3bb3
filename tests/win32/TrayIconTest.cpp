#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "win32/components/TrayIco.h"
#include "win32/support/MsgBoxCatcher.h"

namespace reminder {
namespace {

using testing::FlushEvents;
using testing::PumpUntil;

struct ShellCall {
  DWORD message;
  TNotifyIconRecord record;
  bool result;
};

// Keeps a copy of every record with the shell's answer. Wine's notification area takes
// about two seconds to delete an icon when no window manager runs, so only the tests about
// the shell's answers pass the records on; the others answer success themselves.
class ShellRecorder {
 public:
  TShellNotify Notify() {
    return [this](DWORD message, TNotifyIconRecord& record) {
      const bool result =
          !toShell ||
          Shell_NotifyIconA(message, reinterpret_cast<PNOTIFYICONDATAA>(&record)) != FALSE;
      calls.push_back({message, record, result});
      return result;
    };
  }

  bool toShell = false;

  std::vector<DWORD> Messages() const {
    std::vector<DWORD> messages;
    for (const auto& call : calls) messages.push_back(call.message);
    return messages;
  }

  // The icons sent with NIM_MODIFY from the given call on.
  std::vector<HICON> ModifiedIcons(size_t from = 0) const {
    std::vector<HICON> icons;
    for (size_t i = from; i < calls.size(); ++i) {
      if (calls[i].message == NIM_MODIFY) icons.push_back(calls[i].record.hIcon);
    }
    return icons;
  }

  std::vector<ShellCall> calls;
};

std::string TipOf(const TNotifyIconRecord& record) {
  return std::string(record.szTip, strnlen(record.szTip, sizeof record.szTip));
}

class TrayIconTest : public ::testing::Test {
 protected:
  TrayIconTest() : icon(std::make_unique<TTrayIcon95>(shell.Notify())) {
    icon->SetIconID(57);
    icon->SetDefaultIcon(LoadIconA(nullptr, IDI_APPLICATION));
  }

  // The icons 1 to 4 given are set; the others stay empty.
  void SetFrames(std::initializer_list<int> numbers) {
    const LPCSTR images[] = {IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK};
    for (int n : numbers) icon->SetIcon(n, LoadIconA(nullptr, images[n - 1]));
  }

  // Waits for count more NIM_MODIFY calls and returns their icons.
  std::vector<HICON> NextModifiedIcons(size_t count) {
    const size_t from = shell.calls.size();
    EXPECT_TRUE(PumpUntil([&] { return shell.ModifiedIcons(from).size() >= count; }));
    std::vector<HICON> icons = shell.ModifiedIcons(from);
    icons.resize(count);
    return icons;
  }

  ShellRecorder shell;
  std::unique_ptr<TTrayIcon95> icon;
};

TEST_F(TrayIconTest, SwitchingOnAddsTheIconWithThe88ByteRecord) {
  shell.toShell = true;
  icon->SetToolTip("Zelto - Reminder");
  EXPECT_TRUE(shell.calls.empty());  // nothing reaches the shell while inactive
  icon->SetActive(true);
  ASSERT_EQ(shell.Messages(), std::vector<DWORD>{NIM_ADD});
  const TNotifyIconRecord& record = shell.calls[0].record;
  EXPECT_EQ(record.cbSize, 88u);
  EXPECT_EQ(record.hWnd, icon->Handle());
  EXPECT_EQ(record.uID, 57u);
  EXPECT_EQ(record.uFlags, 7u);
  EXPECT_EQ(record.uCallbackMessage, 2123u);
  EXPECT_EQ(record.hIcon, icon->DefaultIcon());
  char tip[64] = "Zelto - Reminder";
  EXPECT_EQ(std::memcmp(record.szTip, tip, sizeof tip), 0);
  // Wine's notification area takes the icon.
  EXPECT_TRUE(shell.calls[0].result);
  FlushEvents();
  EXPECT_EQ(shell.calls.size(), 1u);
  // The same icon added twice is refused, and AddIcon says so.
  const bool again = icon->AddIcon();
  EXPECT_EQ(again, shell.calls.back().result);
  EXPECT_FALSE(again);
}

TEST_F(TrayIconTest, ToolTipIsCutTo62CharactersAndSentAsAModify) {
  icon->SetActive(true);
  FlushEvents();
  const size_t before = shell.calls.size();
  const std::string seventy = std::string(60, 'a') + "bcdefghijk";
  icon->SetToolTip(seventy);
  EXPECT_EQ(icon->ToolTip(), seventy.substr(0, 62));
  ASSERT_EQ(shell.calls.size(), before + 1);
  EXPECT_EQ(shell.calls.back().message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(TipOf(shell.calls.back().record), seventy.substr(0, 62));
  EXPECT_EQ(shell.calls.back().record.szTip[63], 0);
}

TEST_F(TrayIconTest, AnIconAddedWithoutTipSendsItOnceTheQueueRuns) {
  icon->SetActive(true);
  ASSERT_EQ(shell.Messages(), std::vector<DWORD>{NIM_ADD});
  FlushEvents();
  EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD, NIM_MODIFY}));
}

TEST_F(TrayIconTest, SwitchingOffAndDestroyingDeleteTheIcon) {
  shell.toShell = true;
  icon->SetToolTip("Zelto - Reminder");
  icon->SetActive(true);
  icon->SetActive(false);
  EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD, NIM_DELETE}));
  const size_t afterOff = shell.calls.size();
  icon->SetToolTip("nur gespeichert");
  EXPECT_EQ(shell.calls.size(), afterOff);
  // The shell took the deletion: the same icon can be added again.
  icon->SetActive(true);
  EXPECT_EQ(shell.calls.back().message, static_cast<DWORD>(NIM_ADD));
  EXPECT_TRUE(shell.calls.back().result);
  EXPECT_EQ(TipOf(shell.calls.back().record), "nur gespeichert");
  const HWND window = icon->Handle();
  icon.reset();
  ASSERT_EQ(shell.Messages().back(), static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(shell.calls.back().record.hWnd, window);
  EXPECT_EQ(shell.calls.back().record.uID, 57u);
  EXPECT_FALSE(IsWindow(window));
}

TEST(TrayIconLifetimeTest, AnInactiveIconLeavesTheShellAlone) {
  ShellRecorder shell;
  { TTrayIcon95 icon(shell.Notify()); }
  EXPECT_TRUE(shell.calls.empty());
}

TEST_F(TrayIconTest, AnimationNeedsAnActiveIcon) {
  SetFrames({1});
  icon->SetInterval(10);
  icon->SetAnimate(true);
  EXPECT_FALSE(icon->Animate());
  FlushEvents(100);
  EXPECT_TRUE(shell.calls.empty());
}

TEST_F(TrayIconTest, AnimationStepsThroughTheSetIconsOnTheTimer) {
  SetFrames({1, 3});
  icon->SetToolTip("Zelto - Reminder");
  icon->SetInterval(10);
  icon->SetActive(true);
  icon->SetAnimate(true);
  const HICON a = icon->DefaultIcon(), one = icon->Icon(1), three = icon->Icon(3);
  EXPECT_EQ(NextModifiedIcons(6), (std::vector<HICON>{one, three, a, one, three, a}));
  icon->SetAnimate(false);
  EXPECT_EQ(shell.calls.back().record.hIcon, a);
  EXPECT_EQ(icon->CurrentIcon(), a);
  const size_t stopped = shell.calls.size();
  FlushEvents(100);
  EXPECT_EQ(shell.calls.size(), stopped);
}

TEST_F(TrayIconTest, WithoutAnimationIconsEveryTickShowsTheDefault) {
  icon->SetInterval(10);
  icon->SetActive(true);
  icon->SetAnimate(true);
  const HICON a = icon->DefaultIcon();
  EXPECT_EQ(NextModifiedIcons(3), (std::vector<HICON>{a, a, a}));
}

TEST_F(TrayIconTest, ANewIntervalRestartsTheAnimationAtTheFirstIcon) {
  SetFrames({1, 2, 3, 4});
  icon->SetToolTip("Zelto - Reminder");
  icon->SetInterval(10);
  icon->SetActive(true);
  icon->SetAnimate(true);
  EXPECT_EQ(NextModifiedIcons(2), (std::vector<HICON>{icon->Icon(1), icon->Icon(2)}));
  icon->SetInterval(20);
  EXPECT_EQ(icon->FrameIndex(), 0);
  EXPECT_TRUE(icon->Animate());
  EXPECT_EQ(NextModifiedIcons(2), (std::vector<HICON>{icon->Icon(1), icon->Icon(2)}));
}

TEST_F(TrayIconTest, AFixedChoiceShowsThatIcon) {
  SetFrames({2});
  icon->SetActive(true);
  icon->SetShowIcon(2);
  EXPECT_EQ(icon->CurrentIcon(), icon->Icon(2));
  EXPECT_EQ(shell.calls.back().record.hIcon, icon->Icon(2));
  icon->SetShowIcon(7);
  EXPECT_EQ(shell.calls.back().record.hIcon, icon->DefaultIcon());
}

TEST_F(TrayIconTest, LeftButtonRaisesClickAndDoubleClick) {
  int clicks = 0, doubleClicks = 0;
  icon->OnClick = [&](TTrayIcon95& sender) {
    EXPECT_EQ(&sender, icon.get());
    ++clicks;
  };
  icon->OnDblClick = [&](TTrayIcon95&) { ++doubleClicks; };
  for (LPARAM mouse : {WM_MOUSEMOVE, WM_LBUTTONUP, WM_RBUTTONUP, WM_LBUTTONDOWN}) {
    SendMessageA(icon->Handle(), WM_TRAYICONNOTIFY, 57, mouse);
  }
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(doubleClicks, 0);
  SendMessageA(icon->Handle(), WM_TRAYICONNOTIFY, 57, WM_LBUTTONDBLCLK);
  EXPECT_EQ(doubleClicks, 1);
}

// A window standing in for the application's: it records the menus that pop up for it
// and closes each at once.
class MenuOwner {
 public:
  MenuOwner() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TrayTestMenuOwner";
    RegisterClassA(&wc);
    window = CreateWindowExA(0, wc.lpszClassName, "Reminder", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                             nullptr, nullptr, wc.hInstance, this);
  }
  ~MenuOwner() { DestroyWindow(window); }

  HWND window = nullptr;
  std::vector<std::string>* events = nullptr;
  std::vector<HMENU> shown;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<MenuOwner*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && message == WM_INITMENUPOPUP) {
      self->shown.push_back(reinterpret_cast<HMENU>(wParam));
      if (self->events) self->events->push_back("menu");
      SetTimer(hwnd, 1, 10, nullptr);
    }
    if (message == WM_ENTERIDLE || (message == WM_TIMER && wParam == 1)) {
      KillTimer(hwnd, 1);
      EndMenu();
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
};

class TrayIconMenuTest : public TrayIconTest {
 protected:
  TrayIconMenuTest() : menu(CreatePopupMenu()) {
    AppendMenuA(menu, MF_STRING, 1, "Beenden");
    owner.events = &events;
    icon->SetAppWindow(owner.window);
    icon->SetPopupMenu(menu);
    icon->OnPopupMenuPopup = [this](TTrayIcon95&, bool& showMenu) {
      EXPECT_TRUE(showMenu);
      events.push_back("popup");
      showMenu = allowMenu;
    };
    icon->OnRightClick = [this](TTrayIcon95&, TMouseButton button, TShiftState shift, int x,
                                int y) {
      events.push_back("right");
      EXPECT_EQ(button, TMouseButton::Right);
      EXPECT_EQ(shift, 0u);
      rightAt = {x, y};
    };
  }
  ~TrayIconMenuTest() override { DestroyMenu(menu); }

  POINT RightClick() {
    POINT cursor = {};
    GetCursorPos(&cursor);
    SendMessageA(icon->Handle(), WM_TRAYICONNOTIFY, 57, WM_RBUTTONDOWN);
    return cursor;
  }

  HMENU menu;
  MenuOwner owner;
  std::vector<std::string> events;
  bool allowMenu = true;
  POINT rightAt = {-1, -1};
};

TEST_F(TrayIconMenuTest, RightClickPopsTheMenuUpBeforeRaisingTheEvent) {
  const POINT cursor = RightClick();
  EXPECT_EQ(events, (std::vector<std::string>{"popup", "menu", "right"}));
  EXPECT_EQ(owner.shown, std::vector<HMENU>{menu});
  EXPECT_EQ(rightAt.x, cursor.x);
  EXPECT_EQ(rightAt.y, cursor.y);
}

TEST_F(TrayIconMenuTest, ThePopupEventCanSuppressTheMenuButNotTheRightClick) {
  allowMenu = false;
  RightClick();
  FlushEvents();
  EXPECT_EQ(events, (std::vector<std::string>{"popup", "right"}));
  EXPECT_TRUE(owner.shown.empty());
}

class ProgramManager {
 public:
  ProgramManager() {
    window = CreateWindowExA(0, "STATIC", "Program Manager", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                             nullptr, nullptr);
  }
  ~ProgramManager() { DestroyWindow(window); }
  HWND window;
};

TEST_F(TrayIconMenuTest, ANewShellWindowMakesTheIconRegisterAgainOnce) {
  int refreshes = 0;
  icon->OnRefresh = [&](TTrayIcon95&) { ++refreshes; };
  icon->SetToolTip("Zelto - Reminder");
  icon->SetActive(true);
  const HWND window = icon->Handle();
  // Nothing changed: the message is answered and nothing happens.
  EXPECT_EQ(SendMessageA(window, WM_USER + 100, 0, 0), 1);
  EXPECT_EQ(refreshes, 0);

  ShowWindow(owner.window, SW_SHOWMINNOACTIVE);
  ASSERT_TRUE(IsIconic(owner.window));
  ProgramManager newShell;
  ASSERT_EQ(FindWindowA(nullptr, "Program Manager"), newShell.window);
  SendMessageA(window, WM_USER + 100, 0, 0);
  EXPECT_EQ(refreshes, 1);
  EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD, NIM_DELETE, NIM_ADD}));
  EXPECT_TRUE(icon->Active());
  EXPECT_FALSE(IsWindowVisible(owner.window));  // a minimised application leaves the task bar

  EXPECT_EQ(SendMessageA(window, WM_USER + 100, 0, 0), 1);
  EXPECT_EQ(SendMessageA(window, 0x8000, 0, 0), 1);
  EXPECT_EQ(refreshes, 1);
  EXPECT_EQ(shell.calls.size(), 3u);
}

TEST_F(TrayIconTest, TheShellsBroadcastAfterARestartAddsTheIconAgain) {
  shell.toShell = true;
  int refreshes = 0;
  icon->OnRefresh = [&](TTrayIcon95&) { ++refreshes; };
  icon->SetToolTip("Zelto - Reminder");
  icon->SetActive(true);
  PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return refreshes > 0; }));
  FlushEvents();
  EXPECT_EQ(refreshes, 1);
  EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD, NIM_DELETE, NIM_ADD}));
  EXPECT_TRUE(shell.calls.back().result);
}

TEST_F(TrayIconTest, SystemMessagesAreAnsweredWithoutDefaultHandling) {
  // Log-off and shutdown are never held up by the icon.
  EXPECT_EQ(SendMessageA(icon->Handle(), WM_QUERYENDSESSION, 0, 0), 1);
  EXPECT_EQ(SendMessageA(icon->Handle(), WM_CLOSE, 0, 0), 1);
  EXPECT_TRUE(IsWindow(icon->Handle()));
}

}  // namespace
}  // namespace reminder
