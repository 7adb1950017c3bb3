// The main window: the list of reminders in four columns with its tool bar, menus and
// status bar; it lives hidden behind its tray icon, owns the scheduler and opens a window
// for every reminder that falls due.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/common/FormatSettings.h"
#include "core/store/ReminderClassUnit.h"
#include "win32/components/MyCompInfo.h"
#include "win32/host/ModuleStart.h"
#include "win32/settings/RegIni.h"
#include "win32/toolkit/CommonControls.h"
#include "win32/toolkit/Form.h"
#include "win32/toolkit/ImageList.h"
#include "win32/ui/MainBars.h"
#include "win32/ui/MainList.h"
#include "win32/ui/MainServices.h"
#include "win32/ui/MainSettings.h"
#include "win32/ui/MainSync.h"
#include "win32/ui/MainTray.h"

namespace reminder {

constexpr UINT WM_REMINDERCLOSE = 32002;

class TMain : public TForm {
 public:
  // services: the machine's (the entry points, over "Reminder.dat" beside the running
  // executable) or a test's.
  explicit TMain(TMainServices services);
  // Clears Main when it refers to this window.
  ~TMain() override;
  // Creates the hidden window of class "TMain" and runs the creation handler: settings,
  // list, scheduler switched on (first check), tray icon. Throws on failure.
  void CreateMain();
  void SetHostWindow(HWND host) { hostWindow_ = host; }
  // The module is closing: from now on the scheduler stays off, so that no reminder fires
  // unseen while the window waits for its release.
  void BeginClose();
  HWND HostWindow() const { return hostWindow_; }
  TReminder& Scheduler();
  // Opens the alert for a due record (OnNotify of the scheduler); refreshes one row's image.
  void ShowReminder(TReminder& sender, TNotifyInfo& record);
  void UpdateReminderImage(TNotifyInfo* record);
  void BringLastAlertForward();
  // Loads the rows anew from the store, as after a reminder was rescheduled.
  void RefillList();
  // What the editor's OK does when adding: stores a copy, appends its row (pending), and
  // refreshes the selection state. Returns the stored record.
  TNotifyInfo* AddReminder(const TNotifyInfo& values);
  // What the editor's OK does when changing: the record becomes pending and never fired,
  // keeps its identity, and the file is rewritten.
  void ChangeReminder(TNotifyInfo& record, const TNotifyInfo& values);

  bool AnimateIcon() const { return settings_.AnimateIcon; }
  int32_t RefreshInterval() const { return settings_.RefreshInterval; }
  const TListView& LV() const { return list_.View(); }
  const TToolBar& ToolBar() const { return toolBar_; }
  const TStatusBar& StatusBar() const { return statusBar_; }
  HWND CoolBar() const { return coolBar_; }
  HMENU TrayMenu() const { return tray_.Menu(); }
  HMENU ListMenu() const { return listMenu_->Handle(); }
  const TTrayIcon95& TrayIcon() const { return tray_.Icon(); }
  const TReminderRows& Rows() const { return list_.Rows(); }
  TMainSync& Sync() { return *sync_; }

  // The handlers behind the buttons and menu items.
  void Beenden1Click();
  void Hinzufgen1Click();
  void ndern1Click();
  void Lschen1Click();
  void Einstellungen1Click();
  void Kalender1Click();
  void Info1Click();
  void mnuRestoreClick() { TrayIconDblClick(); }
  void mnuMinimizeClick();
  void SyncNowClick();
  void TrayIconDblClick();
  void LVColumnClick(int column);
  void LVSelectItem();
  void LVPopupMenuPopup();

  bool PreTranslateMessage(MSG& message) override;

 protected:
  void OnCreate() override;
  void OnShow() override;
  void OnCommand(int id, int code, HWND control) override;
  LRESULT OnNotify(NMHDR* header) override;
  void OnDestroy() override;
  void OnSize(int clientWidth, int clientHeight) override;
  void OnTimer(UINT_PTR id) override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void CreateControls();
  void CreateMenus();
  void SavePosition();
  void LoadPosition();
  void HideToTray();
  bool ShowFirstTime();
  bool BringModalToFront();
  void ResumeScheduler();
  bool AppMessage(MSG& message);
  bool SysCommand(unsigned command, WPARAM wParam, LPARAM lParam);
  void RunDueCheckNow();
  // The interval and the tray icon's animation as the settings say.
  void ApplySettings();
  void ContextMenu(LPARAM lParam);
  // The sync's status line in the status bar's second part and the tray tip.
  void ShowSyncStatus(const std::string& text);
  // Takes in what a sync wrote, unless a dialog of the window is open: then the next due
  // check does, after the dialog.
  void TakeInSync();
  void CreateSync();
  // The editor over record (none: a new reminder); true with values on OK.
  bool Edit(const TNotifyInfo* record, TNotifyInfo& values);

  TMainServices services_;
  HWND hostWindow_ = nullptr;
  bool firstShow_ = true;
  TMainSettings settings_;
  bool listHandlersAttached_ = true;
  bool closeRequested_ = false;  // WM_REMINDERCLOSE went to the host
  bool closing_ = false;
  TFormatSettings fs_;
  std::unique_ptr<TReminder> scheduler_;
  std::unique_ptr<TMainSync> sync_;

  TImageList listImages_;
  TImageList toolbarImages_;
  HWND coolBar_ = nullptr;
  TToolBar toolBar_;
  TMainList list_{fs_};
  TStatusBar statusBar_;
  HMENU mainMenu_ = nullptr;  // the window destroys it
  std::unique_ptr<TPopupMenu> listMenu_;
  TMainTray tray_;
  HWND lastAlert_ = nullptr;  // the alert the latest balloon tells of
  TTheRegIniFile regIniFile_;
  const TCompileInfo compileInfo_ = MainCompileInfo();
};

// The module-wide reference to the main window (null before the create call and from the
// close call on); the entry points set and clear it.
extern TMain* Main;

}  // namespace reminder
