// The reminder editor: trigger and text, action with its parameter, repetition. The main
// window creates one for each add or change, fills it from a record when changing, shows it
// modally and reads a record back on OK. What is enabled, shown and checked comes from
// TAddNotifyEventModel; the dialog only binds it to the controls.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/common/Clock.h"
#include "core/common/FormatSettings.h"
#include "core/host/WMsgBox.h"
#include "core/store/NotifyInfo.h"
#include "core/store/RepeatRule.h"
#include "core/ui/AddNotifyEventRules.h"
#include "win32/toolkit/CommonControls.h"
#include "win32/toolkit/Controls.h"
#include "win32/toolkit/Form.h"
#include "win32/ui/AddNotifyEventRepeatPage.h"

namespace reminder {

// Runs the file-open dialog with a filter ("Text|*.ext|...") and a starting file name;
// true with the chosen full name in fileName when the user confirms.
using TFileChooser =
    std::function<bool(HWND owner, const std::string& filter, std::string& fileName)>;

// The system's file-open dialog: existing files in existing folders, no read-only box,
// shortcuts returned as themselves, resizable.
bool RunOpenDialog(HWND owner, const std::string& filter, std::string& fileName);

class TAddNotifyEventDlg : public TForm {
 public:
  // Control identifiers; OK is not IDOK, so that Enter in a field does not confirm.
  enum : int {
    kPC = 401,
    kNotRB1,
    kNotRB2,
    kNotRB3,
    kDatePicker,
    kTimePicker,
    kNotText,
    kActionCB,
    kDaysEdit,
    kEmailEdit,
    kWebsiteEdit,
    kProgramEdit,
    kBrowseBtn,
    kDocumentEdit,
    kDocumentBrowseBtn,
    kRepOnce,
    kRepOncePerDay,
    kRepOncePerWeek,
    kRepOncePerMonth,
    kRepOncePerYear,
    kOKBtn,
    kCancelBtn = IDCANCEL,
  };

  // clock: the creation defaults start from its time; msgBox: shows the field checks.
  TAddNotifyEventDlg(IClock& clock, IMsgBox& msgBox);
  // Creates the hidden window owned by owner, with the defaults set; images: the tab icons.
  void CreateFor(HWND owner, HIMAGELIST images = nullptr);
  // Posted when the focus left a parameter field (wParam: its TParamField).
  static constexpr UINT kFieldLeftMessage = WM_APP + 28;

  // Sets the controls from a reminder (changing); the trigger as if clicked.
  void Fill(const TNotifyInfo& record);
  // The reminder the controls describe (read after OK).
  TNotifyInfo ToNotifyInfo() const;
  // The controls as the rules see them.
  TAddNotifyEventModel Model() const;

  int ActionPage() const { return actionPage_; }
  int PageIndex() const { return pageIndex_; }
  void ShowPage(int index);
  void SetFileChooser(TFileChooser chooser) { chooseFile_ = std::move(chooser); }
  void SetFileExists(TFileExists exists) { fileExists_ = std::move(exists); }

  bool PreTranslateMessage(MSG& message) override;

  // The controls, by their designer names.
  TTabControl PC;
  TButton notRB1, notRB2, notRB3;
  TDateTimePicker DatePicker, TimePicker;
  TLabel atLabel, atNotifyLabel;
  TEdit notText;
  TComboBox ActionCB;
  TEdit DaysEdit;
  TLabel DaysLabel;
  TEdit EmailEdit, WebsiteEdit, ProgramEdit, DocumentEdit;
  // Flat picture buttons in the tab order; the field is checked when the focus leaves both.
  TButton BrowseBtn, DocumentBrowseBtn;
  TButton repOnce, repOncePerDay, repOncePerWeek, repOncePerMonth, repOncePerYear;
  // "alle [n] Tage/Wochen/...", the weekdays, the day of the month and the end.
  TRepeatRuleControls Rule;
  TButton OKBtn, CancelBtn;
  // When the reminder as the fields describe it fires next, kept up to date while editing.
  TLabel NextDates;

 protected:
  void OnCreate() override;
  void OnShow() override;
  void OnCommand(int id, int code, HWND control) override;
  LRESULT OnNotify(NMHDR* header) override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void CreateTriggerPage();
  void CreateActionPage();
  void CreateRepeatPage();
  HWND AddToPage(int page, HWND control);
  HWND AddToNotebook(int page, HWND control);
  HWND AddLabel(int page, const std::string& text, const TBounds& bounds, int notebookPage = -1);
  TButton* TriggerButtons(int index);
  TButton* RepeatButtons(int index);
  TEdit* ParamEdit(TParamField field);

  void FormCreate();
  void UpdateOKBtn();
  void UpdateNextDates();
  void RBClick();
  void ActionCBChange();
  TButton* BrowseButton(TParamField field);
  // The focus left a parameter field or its browse button: the check follows.
  void FieldLeft(TParamField field);
  void FieldExit(TParamField field);
  // The chosen action's field as its check sees it; on a failure the field gets the focus.
  bool ParamFieldPasses();
  void BrowseBtnClick(int sender);
  void EnterKeyPress();
  void NextControl(bool previous);
  bool DatePickerUserString(const std::string& text, SYSTEMTIME& date);
  void SetActionPage(int page);
  void WriteModel(const TAddNotifyEventModel& model);
  void ApplyTriggerState(const TAddNotifyEventModel& model);
  void ApplyRuleState(const TAddNotifyEventModel& model);
  void DrawMagnifier(const DRAWITEMSTRUCT& item);

  IClock& clock_;
  IMsgBox& msgBox_;
  TFormatSettings fs_;
  int pageIndex_ = 0;
  int actionPage_ = 0;
  std::vector<HWND> pages_[3];
  std::vector<HWND> notebook_[6];
  TFileChooser chooseFile_ = &RunOpenDialog;
  TFileExists fileExists_;
};

}  // namespace reminder
