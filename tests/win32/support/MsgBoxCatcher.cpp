#include "win32/support/MsgBoxCatcher.h"

#include <algorithm>
#include <utility>

namespace reminder::testing {

namespace {

// One catcher per thread at a time; the timer callback has no other way to find it.
thread_local MsgBoxCatcher* t_active = nullptr;

std::string WindowText(HWND window) {
  char buffer[4096] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

std::string ClassName(HWND window) {
  char buffer[256] = {};
  GetClassNameA(window, buffer, sizeof buffer);
  return buffer;
}

BoxIcon IconKind(HICON icon) {
  if (!icon) return BoxIcon::None;
  if (icon == LoadIconA(nullptr, IDI_HAND)) return BoxIcon::Stop;
  if (icon == LoadIconA(nullptr, IDI_QUESTION)) return BoxIcon::Question;
  if (icon == LoadIconA(nullptr, IDI_EXCLAMATION)) return BoxIcon::Exclamation;
  if (icon == LoadIconA(nullptr, IDI_ASTERISK)) return BoxIcon::Information;
  return BoxIcon::Other;
}

struct Children {
  std::string text;
  HICON icon = nullptr;
  std::vector<std::pair<LONG, int>> buttons;  // left edge, identifier
};

BOOL CALLBACK OnChild(HWND child, LPARAM found) {
  auto* children = reinterpret_cast<Children*>(found);
  const std::string className = ClassName(child);
  if (_stricmp(className.c_str(), "Button") == 0) {
    // The box keeps the buttons of the other layouts hidden.
    if (!IsWindowVisible(child)) return TRUE;
    RECT rect;
    GetWindowRect(child, &rect);
    children->buttons.emplace_back(rect.left, GetDlgCtrlID(child));
    return TRUE;
  }
  if (_stricmp(className.c_str(), "Static") != 0) return TRUE;
  if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
    children->icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
  } else {
    const std::string text = WindowText(child);
    if (text.size() > children->text.size()) children->text = text;
  }
  return TRUE;
}

}  // namespace

MsgBoxCatcher::MsgBoxCatcher(int answer) : answer_(answer) {
  t_active = this;
  timer_ = SetTimer(nullptr, 0, 20, &OnTimer);
}

MsgBoxCatcher::~MsgBoxCatcher() {
  KillTimer(nullptr, timer_);
  t_active = nullptr;
}

void CALLBACK MsgBoxCatcher::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (t_active)
    EnumThreadWindows(GetCurrentThreadId(), &OnThreadWindow, reinterpret_cast<LPARAM>(t_active));
}

BOOL CALLBACK MsgBoxCatcher::OnThreadWindow(HWND window, LPARAM self) {
  if (ClassName(window) == "#32770" && IsWindowVisible(window)) {
    reinterpret_cast<MsgBoxCatcher*>(self)->Catch(window);
  }
  return TRUE;
}

void MsgBoxCatcher::Catch(HWND box) {
  if (std::find(answered_.begin(), answered_.end(), box) != answered_.end()) return;
  answered_.push_back(box);
  CaughtBox caught;
  caught.caption = WindowText(box);
  Children children;
  EnumChildWindows(box, &OnChild, reinterpret_cast<LPARAM>(&children));
  caught.text = children.text;
  caught.icon = IconKind(children.icon);
  caught.owner = GetWindow(box, GW_OWNER);
  caught.topmostOrForeground =
      GetForegroundWindow() == box || (GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  std::sort(children.buttons.begin(), children.buttons.end());
  for (const auto& button : children.buttons) caught.buttons.push_back(button.second);
  boxes_.push_back(caught);
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer_, BN_CLICKED), 0);
}

void FlushEvents(DWORD quietMs, DWORD maxMs) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < maxMs) {
    if (MsgWaitForMultipleObjects(0, nullptr, FALSE, quietMs, QS_ALLINPUT) == WAIT_TIMEOUT) return;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD maxMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > maxMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  return true;
}

}  // namespace reminder::testing
