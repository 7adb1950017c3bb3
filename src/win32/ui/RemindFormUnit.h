// The alert window: shows a due reminder's date, action and text, offers the action as a
// link and, for programs, restarts, shutdowns and hang-ups, carries it out by itself after
// a countdown of 30 seconds. Each firing gets a window of its own; it frees itself when
// closed.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "core/common/Clock.h"
#include "core/common/FormatSettings.h"
#include "core/host/WMsgBox.h"
#include "core/store/IOUnit.h"
#include "core/ui/RemindFormRules.h"
#include "win32/components/HTTPLabel.h"
#include "win32/components/MyPanel.h"
#include "win32/system/Handles.h"
#include "win32/toolkit/CommonControls.h"
#include "win32/toolkit/Controls.h"
#include "win32/toolkit/Form.h"
#include "win32/toolkit/ListView.h"

namespace reminder {

// What an alert needs of the main window and the module.
struct TRemindFormContext {
  TFileIO* Store = nullptr;  // the list the record lives in
  IAlertActions* Actions = nullptr;
  IMsgBox* MsgBox = nullptr;
  IClock* Clock = nullptr;
  TFormatSettings Format;
  HWND Owner = nullptr;  // the main window
  // Closing without postponing: refresh the record's list image.
  std::function<void(TNotifyInfo*)> OnUpdateImage;
  // Closing after postponing, once the list is saved: rebuild the main window's list.
  std::function<void()> OnRescheduled;
  UINT CountdownIntervalMs = 1000;
};

class TRemindForm : public TForm {
 public:
  static constexpr char kClassName[] = "ReminderRemindForm";
  static constexpr UINT_PTR kCountdownTimer = 1;
  // Posted to every alert of a main window when one of them opens or closes.
  static constexpr UINT kAlertsChangedMessage = WM_APP + 17;
  static constexpr int kSnoozeBtnId = 105;
  static constexpr int kCloseAllBtnId = 106;

  explicit TRemindForm(TRemindFormContext context);

  // Creates the window and fills it for the record; Show() then starts any countdown.
  void Open(TNotifyInfo* record);
  // Carries out the action of the link; what a click on it does.
  void ActionLabelClick();
  // Closes the alert without its action and lets the reminder fire again after the wait
  // chosen under "Später erinnern:".
  void Snooze();
  // Closes every open alert of the main window, none running its action.
  void CloseAll();

  TNotifyInfo* Record() const { return record_; }
  int TickCount() const { return tickCount_; }
  bool CountdownRunning() const { return timerOn_; }
  bool Postponed() const { return postponed_; }

  TMyPanel& Panel() { return panel_; }
  THTTPLabel& ActionLabel() { return actionLabel_; }
  TLabel DateLabel() const { return dateLabel_; }
  TEdit ReminderText() const { return reminderText_; }
  TLabel Label4() const { return label4_; }
  TDateTimePicker DateEdit() const { return dateEdit_; }
  TLabel Label5() const { return label5_; }
  TLabel TimeLabel() const { return timeLabel_; }
  TLabel LateLabel() const { return lateLabel_; }
  // What the action opens or starts, cut in the middle when long; hidden for the kinds
  // without a target.
  TLabel TargetLabel() const { return targetLabel_; }
  TButton CloseBtn() const { return closeBtn_; }
  TComboBox SnoozeChoice() const { return snoozeChoice_; }
  TButton SnoozeBtn() const { return snoozeBtn_; }
  TButton CloseAllBtn() const { return closeAllBtn_; }

 protected:
  void OnCreate() override;
  void OnShow() override;
  void OnCommand(int id, int code, HWND control) override;
  LRESULT OnNotify(NMHDR* header) override;
  void OnTimer(UINT_PTR id) override;
  bool OnClose() override;
  void OnDestroy() override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void ShowTextScrollBar();
  void StartTimer();
  void StopTimer();
  void DateEditChange();
  bool RecordInList() const;
  void CloseStep();
  std::vector<HWND> OpenAlerts() const;
  void AlertsChanged(bool includingThis);

  TRemindFormContext context_;
  TNotifyInfo* record_ = nullptr;
  uint64_t recordSerial_ = 0;
  TAlertLayout layout_;
  int tickCount_ = 0;
  bool timerOn_ = false;
  bool postponed_ = false;
  bool opening_ = true;
  bool closed_ = false;
  // The caption label's font; declared before the panel, it goes after the label.
  TGdiObject<HFONT> captionFont_;

  TMyPanel panel_;
  TLabel captionLabel_;
  TLabel dateLabel_;
  THTTPLabel actionLabel_;
  TLabel targetLabel_;
  TEdit reminderText_;
  TLabel label4_;
  TDateTimePicker dateEdit_;
  TLabel label5_;
  TLabel timeLabel_;
  TLabel lateLabel_;
  TButton closeBtn_;
  TLabel snoozeLabel_;
  TComboBox snoozeChoice_;
  TButton snoozeBtn_;
  TButton closeAllBtn_;
};

// Opens a new alert window for the due record, shown without waiting; it frees itself when
// closed and is destroyed with its owner.
TRemindForm* ShowReminder(const TRemindFormContext& context, TNotifyInfo& record);

}  // namespace reminder
