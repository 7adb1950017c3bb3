#include "win32/components/TrayIco.h"

#include <algorithm>
#include <cstring>

#include "win32/toolkit/Application.h"
#include "win32/toolkit/HiddenWindow.h"

namespace reminder {

namespace {

const char kClassName[] = "ReminderTrayIcon";
// The shell's desktop window; a new one means the shell has been restarted.
const char kShellWindowTitle[] = "Program Manager";
constexpr UINT kIconDataFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;

bool SystemShellNotify(DWORD message, TNotifyIconRecord& record) {
  return Shell_NotifyIconA(message, reinterpret_cast<PNOTIFYICONDATAA>(&record)) != FALSE;
}

bool SystemShellBalloon(const NOTIFYICONDATAA& record) {
  auto copy = record;
  return Shell_NotifyIconA(NIM_MODIFY, &copy) != FALSE;
}

// Copies text into a field of the shell's record, cut so that its end stays in it.
template <size_t N>
void CopyCut(CHAR (&field)[N], const std::string& text) {
  const size_t length = std::min(text.size(), N - 1);
  std::memcpy(field, text.data(), length);
  field[length] = '\0';
}

TSharedIcon CopyOf(HICON icon) {
  return ShareIcon(TIconHandle(icon ? CopyIcon(icon) : nullptr));
}

HWND FindShellWindow() {
  return FindWindowA(nullptr, kShellWindowTitle);
}

void ProcessPendingMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The loop that owns the quit request must still see it.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace

TTrayIcon95::TTrayIcon95(TShellNotify shellNotify, TShellBalloon shellBalloon)
    : shellNotify_(shellNotify ? std::move(shellNotify) : TShellNotify(&SystemShellNotify)),
      shellBalloon_(shellBalloon ? std::move(shellBalloon) : TShellBalloon(&SystemShellBalloon)) {
  // A hidden top-level window rather than a message-only one: only top-level windows
  // receive the shell's broadcast after a restart.
  window_ = CreateHiddenWindow(kClassName, WS_EX_TOOLWINDOW, WS_POPUP, nullptr, &WindowProc, this);
  taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
  frameTimer_.SetOnTick([this] { AnimationTick(); });
  shellWindow_ = FindShellWindow();
}

TTrayIcon95::~TTrayIcon95() {
  if (active_) DeleteIcon();
  frameTimer_.SetEnabled(false);
  if (window_) {
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

void TTrayIcon95::SetActive(bool active) {
  if (active == active_) return;
  active_ = active;
  if (active) {
    AddIcon();
  } else {
    DeleteIcon();
  }
}

void TTrayIcon95::SetAnimate(bool animate) {
  if (animate == animate_ || !active_) return;
  animate_ = animate;
  frameTimer_.SetEnabled(false);
  if (animate) {
    StartAnimation();
    return;
  }
  frameTimer_.SetOnTick(nullptr);
  currentIcon_ = defaultIcon_;
  ModifyIcon();
  // A tick may have slipped in between; the default icon must be what stays.
  if (iconData_.hIcon != defaultIcon_.get()) {
    ProcessPendingMessages();
    currentIcon_ = defaultIcon_;
    ModifyIcon();
  }
}

void TTrayIcon95::StartAnimation() {
  frameIndex_ = 0;
  frameTimer_.SetOnTick([this] { AnimationTick(); });
  frameTimer_.SetIntervalMs(TrayFramePeriodMs(interval_));
  frameTimer_.SetEnabled(true);
}

void TTrayIcon95::SetDefaultIcon(HICON icon) {
  defaultIcon_ = CopyOf(icon);
  currentIcon_ = defaultIcon_;
  ModifyIcon();
}

HICON TTrayIcon95::Icon(int number) const {
  if (number < 1 || number > static_cast<int>(kTrayAnimationIcons)) return nullptr;
  return icons_[number - 1].get();
}

void TTrayIcon95::SetIcon(int number, HICON icon) {
  if (number < 1 || number > static_cast<int>(kTrayAnimationIcons)) return;
  icons_[number - 1] = CopyOf(icon);
}

void TTrayIcon95::SetInterval(int32_t milliseconds) {
  if (milliseconds == interval_) return;
  frameTimer_.SetEnabled(false);
  interval_ = milliseconds;
  if (animate_) StartAnimation();
}

void TTrayIcon95::SetToolTip(const std::string& text) {
  toolTip_ = CutTrayToolTip(text);
  ModifyIcon();
}

void TTrayIcon95::SetShowIcon(int32_t showIcon) {
  if (showIcon == showIcon_) return;
  const uint8_t frame = ShownTrayFrame(showIcon);
  currentIcon_ = frame == 0 ? defaultIcon_ : icons_[frame - 1];
  showIcon_ = showIcon;
  ModifyIcon();
}

void TTrayIcon95::BuildIconData() {
  if (!animate_ && showIcon_ < 0) currentIcon_ = defaultIcon_;
  toolTip_ = CutTrayToolTip(toolTip_);
  iconData_ = {};
  iconData_.cbSize = sizeof iconData_;
  iconData_.hWnd = window_;
  iconData_.uID = static_cast<UINT>(iconId_);
  iconData_.uFlags = kIconDataFlags;
  iconData_.uCallbackMessage = WM_TRAYICONNOTIFY;
  iconData_.hIcon = currentIcon_.get();
  std::memcpy(iconData_.szTip, toolTip_.data(), toolTip_.size());
}

bool TTrayIcon95::ShowBalloon(const std::string& title, const std::string& text) {
  if (!active_) return false;
  NOTIFYICONDATAA record = {};
  record.cbSize = NOTIFYICONDATAA_V2_SIZE;
  record.hWnd = window_;
  record.uID = static_cast<UINT>(iconId_);
  record.uFlags = NIF_INFO;
  record.uTimeout = 10000;
  record.dwInfoFlags = NIIF_INFO;
  CopyCut(record.szInfoTitle, title);
  // An empty text would take a balloon down rather than show one.
  CopyCut(record.szInfo, text.empty() ? std::string(" ") : text);
  return shellBalloon_(record);
}

bool TTrayIcon95::AddIcon() {
  BuildIconData();
  const bool accepted = shellNotify_(NIM_ADD, iconData_);
  // An icon switched on before its tip was set gets the tip once the queue runs.
  if (toolTip_.empty()) PostMessageA(window_, WM_TRAYREFRESHTIP, 0, 0);
  return accepted;
}

bool TTrayIcon95::ModifyIcon() {
  BuildIconData();
  if (!active_) return true;
  return shellNotify_(NIM_MODIFY, iconData_);
}

bool TTrayIcon95::DeleteIcon() {
  SetAnimate(false);
  BuildIconData();
  return shellNotify_(NIM_DELETE, iconData_);
}

TTrayFrames TTrayIcon95::PresentFrames() const {
  TTrayFrames present = {};
  for (size_t i = 0; i < kTrayAnimationIcons; ++i) present[i] = icons_[i] != nullptr;
  return present;
}

void TTrayIcon95::AnimationTick() {
  frameTimer_.SetEnabled(false);
  frameIndex_ = NextTrayFrame(frameIndex_, PresentFrames());
  currentIcon_ = frameIndex_ == 0 ? defaultIcon_ : icons_[frameIndex_ - 1];
  if (animate_) {
    ModifyIcon();
    frameTimer_.SetEnabled(true);
  }
}

void TTrayIcon95::RightClick() {
  POINT cursor = {};
  GetCursorPos(&cursor);
  if (popupMenu_) {
    const HWND owner = appWindow_ ? appWindow_ : window_;
    // Without the foreground the menu would stay open when the user clicks elsewhere.
    SetForegroundWindow(owner);
    ProcessPendingMessages();
    bool showMenu = true;
    if (OnPopupMenuPopup) OnPopupMenuPopup(*this, showMenu);
    if (showMenu) {
      TrackPopupMenu(popupMenu_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, owner,
                     nullptr);
      // Lets the menu close properly when it is opened again right away.
      PostMessageA(owner, WM_NULL, 0, 0);
    }
  }
  if (OnRightClick) OnRightClick(*this, TMouseButton::Right, 0, cursor.x, cursor.y);
}

void TTrayIcon95::ShellRestarted(HWND shellWindow) {
  if (refreshing_) return;
  refreshing_ = true;
  // Taken before the queue is processed, so that a restart is repaired once.
  shellWindow_ = shellWindow;
  const bool wasActive = active_;
  SetActive(false);
  SetActive(wasActive);
  if (appWindow_ && IsIconic(appWindow_)) ShowWindow(appWindow_, SW_HIDE);
  if (OnRefresh) OnRefresh(*this);
  ProcessPendingMessages();
  refreshing_ = false;
}

LRESULT TTrayIcon95::HandleMessage(UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case WM_QUERYENDSESSION:
      return 1;
    case WM_TRAYREFRESHTIP:
      SetToolTip(toolTip_);
      return 0;
    case WM_TRAYICONNOTIFY:
      if (lParam == WM_LBUTTONDOWN && OnClick) OnClick(*this);
      if (lParam == WM_LBUTTONDBLCLK && OnDblClick) OnDblClick(*this);
      if (lParam == WM_RBUTTONDOWN) RightClick();
      if (lParam == NIN_BALLOONUSERCLICK && OnBalloonClick) OnBalloonClick(*this);
      return 0;
  }
  if (message == taskbarCreated_) {
    ShellRestarted(FindShellWindow());
    return 0;
  }
  if (message >= WM_USER) {
    const HWND shellWindow = FindShellWindow();
    if (shellWindow == shellWindow_) return 1;
    ShellRestarted(shellWindow);
    return 0;
  }
  return 1;
}

LRESULT CALLBACK TTrayIcon95::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  THandlerScope scope;
  auto* self = HiddenWindowObject<TTrayIcon95>(window);
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    // No exception may cross the window procedure into the system.
    return 0;
  }
}

}  // namespace reminder
