// The main window's tray icon and its menu: the icon animates between due checks when
// the settings say so; the menu offers "Anzeigen" or "Minimieren" by the window's state.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "core/store/NotifyInfo.h"
#include "win32/components/TrayIco.h"
#include "win32/toolkit/Menu.h"
#include "win32/ui/MainSettings.h"

namespace reminder {

class TMainTray {
 public:
  // Puts the icon up for appWindow, which receives the menu's commands; onDblClick runs
  // on a double click, onBalloonClick on a click on a balloon.
  void Create(HWND appWindow, HIMAGELIST menuImages, TShellNotify notify, TShellBalloon balloon,
              std::function<void()> onDblClick, std::function<void()> onBalloonClick);
  // The firing of a reminder as a balloon, when the settings ask for it.
  void ShowFired(const TMainSettings& settings, const TNotifyInfo& record);
  // Takes the icon down.
  void Remove() { icon_.reset(); }
  // The check interval drives the animation; the icon shows with the tool tip.
  void Apply(const TMainSettings& settings);
  void WindowShown(bool shown);
  // The sync's status line becomes the tip; "" gives back the program's name.
  void SetSyncStatus(const std::string& text);

  HMENU Menu() const { return menu_->Handle(); }
  const TTrayIcon95& Icon() const { return *icon_; }

 private:
  std::unique_ptr<TPopupMenu> menu_;
  std::unique_ptr<TTrayIcon95> icon_;
  std::string syncStatus_;

  std::string ToolTip() const;
};

}  // namespace reminder
