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
#include "core/dialup/HangupUnit.h"
#include "core/store/ReminderClassUnit.h"
#include "core/ui/ReminderRows.h"
#include "win32/components/MyCompInfo.h"
#include "win32/components/TrayIco.h"
#include "win32/dialup/RASAPI32.h"
#include "win32/host/AutoStrt.h"
#include "win32/host/ModuleStart.h"
#include "win32/settings/RegIni.h"
#include "win32/store/Win32DataFile.h"
#include "win32/system/Win32Clock.h"
#include "win32/system/Win32MsgBox.h"
#include "win32/toolkit/CommonControls.h"
#include "win32/toolkit/Form.h"
#include "win32/toolkit/ImageList.h"
#include "win32/toolkit/ListView.h"
#include "win32/toolkit/Menu.h"
#include "win32/toolkit/ToolBar.h"
#include "win32/ui/AlertActions.h"

namespace reminder {

constexpr UINT WM_REMINDERCLOSE = 32002;
constexpr char kRegistryArea[] = "\\Software\\Orvandel Software\\Reminder";

// Commands of the main window's buttons and menus.
enum TMainCommand : UINT {
  cmExit = 101,
  cmAdd,
  cmChange,
  cmDelete,
  cmSettings,
  cmCalendar,
  cmMinimize,
  cmInfo,
  cmRestore,
};

class TMain : public TForm {
 public:
  // dataFile: the full path of "Reminder.dat" (the entry points pass the file beside the
  // running executable; tests pass a scratch path).
  explicit TMain(std::string dataFile);
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
  // Loads the rows anew from the store, as after a reminder was rescheduled.
  void RefillList();
  // What the editor's OK does when adding: stores a copy, appends its row (pending), and
  // refreshes the selection state. Returns the stored record.
  TNotifyInfo* AddReminder(const TNotifyInfo& values);
  // What the editor's OK does when changing: the record becomes pending and never fired,
  // keeps its identity, and the file is rewritten.
  void ChangeReminder(TNotifyInfo& record, const TNotifyInfo& values);

  // Before CreateMain: where the settings live (below HKEY_CURRENT_USER), how the tray
  // icon reaches the shell, how a system sound is played, and what carries out the
  // alerts' actions.
  void SetRegistryArea(const std::string& area) { registryArea_ = area; }
  void SetAlertActions(IAlertActions& actions) { alertActions_ = &actions; }
  void SetShellNotify(TShellNotify notify) { shellNotify_ = std::move(notify); }
  void SetSoundPlayer(std::function<void(const char* alias)> play) { playSound_ = std::move(play); }
  // Where the settings dialog finds the log-on Run entry (standalone mode).
  void SetRunEntryPlace(TRunEntryPlace place) { runEntryPlace_ = std::move(place); }

  bool AnimateIcon() const { return animateIcon_; }
  int32_t RefreshInterval() const { return refreshInterval_; }
  const TListView& LV() const { return lv_; }
  const TToolBar& ToolBar() const { return toolBar_; }
  const TStatusBar& StatusBar() const { return statusBar_; }
  HWND CoolBar() const { return coolBar_; }
  HMENU TrayMenu() const { return trayMenu_->Handle(); }
  HMENU ListMenu() const { return listMenu_->Handle(); }
  const TTrayIcon95& TrayIcon() const { return *trayIcon_; }
  const TReminderRows& Rows() const { return rows_; }

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
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void CreateControls();
  void CreateMenus();
  void ReadSettings();
  void SavePosition();
  void LoadPosition();
  void HideToTray();
  bool ShowFirstTime();
  void SetTrayMenuState();
  bool BringModalToFront();
  void ResumeScheduler();
  bool AppMessage(MSG& message);
  bool SysCommand(unsigned command, WPARAM wParam, LPARAM lParam);
  void RunDueCheckNow();
  void ShowRows();
  void SelectRows(const std::vector<const TNotifyInfo*>& records);
  std::vector<int> SelectedIndexes() const;
  LRESULT SupplyRow(NMLVDISPINFOA& info);
  void ContextMenu(LPARAM lParam);
  static std::string LocaleSortKey(const std::string& text);

  std::string dataFile_;
  std::string registryArea_ = kRegistryArea;
  HWND hostWindow_ = nullptr;
  bool firstShow_ = true;
  bool animateIcon_ = false;
  int32_t refreshInterval_ = 60;
  bool listHandlersAttached_ = true;
  bool closeRequested_ = false;  // WM_REMINDERCLOSE went to the host
  bool closing_ = false;
  TFormatSettings fs_;

  TWin32MsgBox msgBox_;
  TWin32DataFile file_;
  TWin32Clock clock_;
  TRasService rasService_{RasApi()};
  TDialUpControl dialUp_{rasService_, msgBox_};
  TAlertActions systemActions_{dialUp_};
  IAlertActions* alertActions_ = &systemActions_;
  std::unique_ptr<TReminder> scheduler_;
  TReminderRows rows_;

  TImageList listImages_;
  TImageList toolbarImages_;
  HWND coolBar_ = nullptr;
  TToolBar toolBar_;
  TListView lv_;
  TStatusBar statusBar_;
  HMENU mainMenu_ = nullptr;  // the window destroys it
  std::unique_ptr<TPopupMenu> trayMenu_;
  std::unique_ptr<TPopupMenu> listMenu_;
  TShellNotify shellNotify_;
  std::unique_ptr<TTrayIcon95> trayIcon_;
  TTheRegIniFile regIniFile_{&msgBox_};
  const TCompileInfo compileInfo_ = MainCompileInfo();
  std::function<void(const char*)> playSound_;
  std::string dispText_;  // the text last handed to the list for painting
  TRunEntryPlace runEntryPlace_;
};

// The module-wide reference to the main window (null before the create call and from the
// close call on); the entry points set and clear it.
extern TMain* Main;

}  // namespace reminder
