// The settings dialog: whether the reminder opens by itself, whether the tray icon
// animates, whether a firing also shows as a Windows notification, and the check interval
// in seconds; on its second page the calendar server the reminders are synced with. The
// main window fills it, shows it and stores what it holds on OK.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/sync/CalDav.h"
#include "core/ui/SyncRules.h"
#include "win32/components/AlignEdit.h"
#include "win32/toolkit/CommonControls.h"
#include "win32/toolkit/Controls.h"
#include "win32/toolkit/Form.h"

namespace reminder {

class TCfgDlg : public TForm {
 public:
  // Identifiers of the controls; OK is not IDOK, so that Enter in a field does not confirm.
  enum : int {
    kTC = 301,
    kWinStartUpChkBox,
    kAnimateIconChkBox,
    kIntervalEdit,
    kUpDown,
    kOKBtn,
    kNotificationChkBox,
    kSyncChkBox,
    kServerEdit,
    kUserEdit,
    kPasswordEdit,
    kCalendarCombo,
    kFindCalendarsBtn,
    kMakeCalendarBtn,
    kSyncNowBtn,
    kCancelBtn = IDCANCEL,
  };

  explicit TCfgDlg(bool libraryMode) : libraryMode_(libraryMode) {}
  // Creates the hidden window, owned by owner; ShowModal answers IDOK or IDCANCEL.
  void CreateFor(HWND owner);

  // The controls the main window fills and reads.
  TButton WinStartUpChkBox;
  TButton AnimateIconChkBox;
  TButton NotificationChkBox;
  TAlignEdit IntervalEdit;
  TUpDown UpDown;
  TButton OKBtn;
  TButton CancelBtn;
  // The sync page.
  TButton SyncChkBox;
  TEdit ServerEdit;
  TEdit UserEdit;
  TEdit PasswordEdit;
  TComboBox CalendarCombo;
  TButton FindCalendarsBtn;
  TButton MakeCalendarBtn;
  TButton SyncNowBtn;
  TLabel SyncInfoLabel;  // what the last search found, or why it found nothing

  // The sync page's fields from settings, and the settings they hold now.
  void SetSyncSettings(const TSyncSettings& settings);
  TSyncSettings SyncSettings() const;
  // Whether the dialog was closed with "Jetzt synchronisieren", which also confirms it.
  bool SyncNowRequested() const { return syncNow_; }
  void ShowPage(int index);

 protected:
  void OnCreate() override;
  void OnCommand(int id, int code, HWND control) override;
  LRESULT OnNotify(NMHDR* header) override;

 private:
  void FormCreate();
  void IntervalEditExit();
  void CreateSyncPage();
  // Ask the server typed in for the user's calendars (or make one) and offer them.
  void FindCalendarsClick();
  void MakeCalendarClick();
  void SyncNowClick();
  // Confirms unless the sync page holds settings that cannot work; then it says why.
  void OKClick();
  void OfferCalendars(const std::vector<TCalendarInfo>& calendars, const std::string& selectUrl);

  bool libraryMode_;
  bool syncNow_ = false;
  TTabControl TC;
  std::vector<HWND> pages_[2];
  std::vector<TCalendarInfo> calendars_;  // as offered in CalendarCombo, in its order
};

}  // namespace reminder
