#include "win32/ui/MainTray.h"

#include <utility>

#include "core/store/ReminderClassUnit.h"
#include "core/ui/MainRules.h"
#include "win32/ui/MainBars.h"
#include "win32/ui/MainImages.h"

namespace reminder {

namespace {

constexpr int kTrayIconId = 57;
constexpr char kToolTip[] = "Zelto - Reminder";

}  // namespace

void TMainTray::Create(HWND appWindow, HIMAGELIST menuImages, TShellNotify notify,
                       TShellBalloon balloon, std::function<void()> onDblClick,
                       std::function<void()> onBalloonClick) {
  menu_ = std::make_unique<TPopupMenu>(TrayMenuItems(), menuImages);
  icon_ = std::make_unique<TTrayIcon95>(std::move(notify), std::move(balloon));
  icon_->SetIconID(kTrayIconId);
  icon_->SetShowIcon(-1);
  icon_->SetPopupMenu(menu_->Handle());
  icon_->SetAppWindow(appWindow);
  icon_->OnDblClick = [onDblClick = std::move(onDblClick)](TTrayIcon95&) { onDblClick(); };
  icon_->OnBalloonClick = [onBalloonClick = std::move(onBalloonClick)](TTrayIcon95&) {
    onBalloonClick();
  };
  // The tray icon keeps copies of its own.
  const TIconHandle rest = MakeTrayIcon(0);
  const TIconHandle other = MakeTrayIcon(1);
  icon_->SetDefaultIcon(rest.get());
  icon_->SetIcon(1, other.get());
}

void TMainTray::Apply(const TMainSettings& settings) {
  icon_->SetInterval(static_cast<int32_t>(TimerPeriodMs(settings.RefreshInterval)));
  icon_->SetToolTip(ToolTip());
  icon_->SetActive(true);
  icon_->SetAnimate(settings.AnimateIcon);
}

void TMainTray::ShowFired(const TMainSettings& settings, const TNotifyInfo& record) {
  if (settings.Notification) icon_->ShowBalloon(FiredBalloonTitle(record), record.NotifyText);
}

void TMainTray::SetSyncStatus(const std::string& text) {
  syncStatus_ = text;
  if (icon_) icon_->SetToolTip(ToolTip());
}

std::string TMainTray::ToolTip() const {
  return syncStatus_.empty() ? kToolTip : syncStatus_;
}

void TMainTray::WindowShown(bool shown) {
  const TTrayMenuState state = TrayMenuState(shown);
  menu_->Enable(cmRestore, state.Restore);
  menu_->Enable(cmMinimize, state.Minimize);
}

}  // namespace reminder
