// The settings dialog: whether the reminder opens by itself, whether the tray icon
// animates, whether a firing also shows as a Windows notification, and the check interval
// in seconds. The main window fills it, shows it and
// stores what it holds on OK.
#pragma once

#include <windows.h>

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

 protected:
  void OnCreate() override;
  void OnCommand(int id, int code, HWND control) override;

 private:
  void FormCreate();
  void IntervalEditExit();

  bool libraryMode_;
  TTabControl TC;
};

}  // namespace reminder
