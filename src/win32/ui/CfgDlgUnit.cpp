#include "win32/ui/CfgDlgUnit.h"

#include "core/ui/CfgDlgRules.h"

namespace reminder {

void TCfgDlg::CreateFor(HWND owner) {
  TFormParams params;
  params.ClassName = "ReminderCfgDlg";
  params.Caption = "Konfiguration";
  params.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN;
  params.ExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  params.ClientWidth = 345;
  params.ClientHeight = 322;
  params.Parent = owner;
  Create(params);
  CenterOnScreen();
}

void TCfgDlg::OnCreate() {
  SetDialogKeys(true);
  const HWND self = Handle();
  // The tab control only frames the controls, which are its siblings drawn on top of it.
  TC.Create(self, kTC, {8, 8, 329, 270}, WS_CLIPSIBLINGS);
  TC.AddTab("Einstellungen");
  TC.AddTab("Synchronisation");
  SetPageTabs(TC.Handle());
  WinStartUpChkBox.Create(self, kWinStartUpChkBox, WinStartUpCaption(false), {20, 40, 305, 20},
                          BS_AUTOCHECKBOX | WS_TABSTOP);
  AnimateIconChkBox.Create(self, kAnimateIconChkBox,
                           " Symbol in Taskleiste (neben der Uhr) &animieren", {20, 66, 305, 20},
                           BS_AUTOCHECKBOX | WS_TABSTOP);
  NotificationChkBox.Create(self, kNotificationChkBox,
                            " Zusätzlich als Windows-&Benachrichtigung anzeigen", {20, 92, 305, 20},
                            BS_AUTOCHECKBOX | WS_TABSTOP);
  TLabel label1;
  label1.Create(self, "Aktualisierungs&intervall:", {20, 130, 130, 18});
  IntervalEdit.SetAlignment(TAlignment::Right);
  IntervalEdit.Create(self, kIntervalEdit, {155, 126, 60, 22});
  IntervalEdit.SetText("1");
  UpDown.Create(self, kUpDown, IntervalEdit.Handle());
  UpDown.SetRange(kIntervalMin, kIntervalMax);
  UpDown.SetPosition(kIntervalMin);
  TLabel label2;
  label2.Create(self, "Sekunden", {225, 130, 80, 18});
  pages_[0] = {WinStartUpChkBox.Handle(),
               AnimateIconChkBox.Handle(),
               NotificationChkBox.Handle(),
               label1.Handle(),
               IntervalEdit.Handle(),
               UpDown.Handle(),
               label2.Handle()};
  CreateSyncPage();
  OKBtn.Create(self, kOKBtn, "OK", {176, 288, 75, 26});
  CancelBtn.Create(self, kCancelBtn, "Abbrechen", {262, 288, 75, 26});
  SetActiveControl(WinStartUpChkBox.Handle());
  ShowPage(0);
  FormCreate();
}

void TCfgDlg::FormCreate() {
  if (libraryMode_) WinStartUpChkBox.SetText(WinStartUpCaption(true));
}

void TCfgDlg::OnCommand(int id, int code, HWND) {
  switch (id) {
    case kIntervalEdit:
      if (code == EN_KILLFOCUS) IntervalEditExit();
      break;
    case kOKBtn:
      if (code == BN_CLICKED) OKClick();
      break;
    case kCancelBtn:
      if (code == BN_CLICKED || code == 0) SetModalResult(IDCANCEL);
      break;
    case kFindCalendarsBtn:
      if (code == BN_CLICKED) FindCalendarsClick();
      break;
    case kMakeCalendarBtn:
      if (code == BN_CLICKED) MakeCalendarClick();
      break;
    case kSyncNowBtn:
      if (code == BN_CLICKED) SyncNowClick();
      break;
    default:
      break;
  }
}

LRESULT TCfgDlg::OnNotify(NMHDR* header) {
  if (header->idFrom == kTC && header->code == TCN_SELCHANGE) ShowPage(TC.Selected());
  return 0;
}

void TCfgDlg::ShowPage(int index) {
  if (TC.Selected() != index) TC.SetSelected(index);
  for (int page = 0; page < 2; ++page) {
    for (HWND control : pages_[page]) ShowWindow(control, page == index ? SW_SHOW : SW_HIDE);
  }
}

void TCfgDlg::IntervalEditExit() {
  const std::string text = IntervalEdit.Text();
  const std::string corrected = reminder::IntervalEditExit(text);
  if (corrected != text) IntervalEdit.SetText(corrected);
}

}  // namespace reminder
