// The icon in the taskbar's notification area: tool tip, an animation through up to four
// further icons, a pop-up menu on a right click, click and double-click events, and
// re-registration when the shell has been restarted.
#pragma once

#include <windows.h>
// After windows.h, whose declarations it needs.
#include <shellapi.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/components/TrayAnimation.h"
#include "win32/system/Handles.h"
#include "win32/toolkit/WindowTimer.h"

namespace reminder {

// Messages of the icon's own window.
constexpr UINT WM_TRAYICONNOTIFY = 2123;  // the shell reports mouse actions on the icon
constexpr UINT WM_TRAYREFRESHTIP = 2124;  // sends the tool tip again

// The shell's first form of the notification-icon record, 8-bit characters.
struct TNotifyIconRecord {
  DWORD cbSize;
  HWND hWnd;
  UINT uID;
  UINT uFlags;
  UINT uCallbackMessage;
  HICON hIcon;
  CHAR szTip[64];
};
static_assert(sizeof(TNotifyIconRecord) == 88, "the shell expects the 88-byte record");

// How a record reaches the shell; the system's Shell_NotifyIconA unless a test records it.
using TShellNotify = std::function<bool(DWORD message, TNotifyIconRecord& record)>;
// How a balloon reaches the shell: the later, longer record with its info fields, as a
// modification of the icon; the system's Shell_NotifyIconA unless a test records it.
using TShellBalloon = std::function<bool(const NOTIFYICONDATAA& record)>;

enum class TMouseButton { Left, Right, Middle };
using TShiftState = unsigned;  // no shift keys: 0

class TTrayIcon95 {
 public:
  using TIcon = TSharedIcon;
  using TNotifyEvent = std::function<void(TTrayIcon95&)>;
  using TMouseEvent = std::function<void(TTrayIcon95&, TMouseButton, TShiftState, int x, int y)>;
  using TPopupEvent = std::function<void(TTrayIcon95&, bool& showMenu)>;

  explicit TTrayIcon95(TShellNotify shellNotify = nullptr, TShellBalloon shellBalloon = nullptr);
  ~TTrayIcon95();
  TTrayIcon95(const TTrayIcon95&) = delete;
  TTrayIcon95& operator=(const TTrayIcon95&) = delete;

  bool Active() const { return active_; }
  void SetActive(bool active);
  // Switched only while the icon is active.
  bool Animate() const { return animate_; }
  void SetAnimate(bool animate);
  // The icons are copied; the handles given stay the caller's. A null handle empties the
  // icon, and an empty animation icon is skipped.
  HICON DefaultIcon() const { return defaultIcon_.get(); }
  void SetDefaultIcon(HICON icon);
  HICON Icon(int number) const;  // 1 to 4
  void SetIcon(int number, HICON icon);
  int32_t Interval() const { return interval_; }
  void SetInterval(int32_t milliseconds);
  const std::string& ToolTip() const { return toolTip_; }
  void SetToolTip(const std::string& text);
  HMENU PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(HMENU menu) { popupMenu_ = menu; }
  int32_t IconID() const { return iconId_; }
  void SetIconID(int32_t id) { iconId_ = id; }
  // 1 to 4 shows that animation icon while not animating, anything else the default.
  int32_t ShowIcon() const { return showIcon_; }
  void SetShowIcon(int32_t showIcon);
  // The application's window: brought to the foreground before the menu pops up, owner
  // of the menu's commands, and hidden after a shell restart while it is minimised.
  // Without one the icon's own window stands in.
  HWND AppWindow() const { return appWindow_; }
  void SetAppWindow(HWND window) { appWindow_ = window; }

  HWND Handle() const { return window_; }
  HICON CurrentIcon() const { return currentIcon_.get(); }
  uint8_t FrameIndex() const { return frameIndex_; }
  const TNotifyIconRecord& IconData() const { return iconData_; }

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnRightClick;      // after the menu
  TNotifyEvent OnRefresh;        // the icon was registered again after a shell restart
  TNotifyEvent OnBalloonClick;   // the user clicked the balloon
  TPopupEvent OnPopupMenuPopup;  // may clear the flag to keep the menu from popping up

  // A balloon at the active icon with a title and a text, cut to what the shell takes;
  // Windows shows it as a notification and keeps it in its notification centre.
  bool ShowBalloon(const std::string& title, const std::string& text);

  void BuildIconData();
  bool AddIcon();
  bool ModifyIcon();
  bool DeleteIcon();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Notify(DWORD message, bool& accepted);
  void AnimationTick();
  void StartAnimation();
  void RightClick();
  void ShellRestarted(HWND shellWindow);
  TTrayFrames PresentFrames() const;

  TShellNotify shellNotify_;
  TShellBalloon shellBalloon_;
  HWND window_ = nullptr;
  TWindowTimer frameTimer_;
  UINT taskbarCreated_ = 0;
  bool active_ = false;
  bool animate_ = false;
  TIcon defaultIcon_;
  std::array<TIcon, kTrayAnimationIcons> icons_;
  TIcon currentIcon_;
  int32_t interval_ = 1000;
  std::string toolTip_;
  HMENU popupMenu_ = nullptr;
  int32_t iconId_ = 0;
  int32_t showIcon_ = -1;
  HWND appWindow_ = nullptr;
  uint8_t frameIndex_ = 0;
  HWND shellWindow_ = nullptr;
  bool refreshing_ = false;
  TNotifyIconRecord iconData_ = {};
};

}  // namespace reminder
