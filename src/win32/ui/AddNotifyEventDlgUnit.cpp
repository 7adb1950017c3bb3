#include "win32/ui/AddNotifyEventDlgUnit.h"

#include <commdlg.h>

#include <cmath>
#include <vector>

#include "core/ui/NextDatesText.h"
#include "win32/system/LocaleFormat.h"

namespace reminder {

namespace {

constexpr int kActionTab = 1;
constexpr int kTabImages[] = {0, 2, 3};

bool FileExistsOnDisk(const std::string& name) {
  const DWORD attributes = GetFileAttributesA(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool RunOpenDialog(HWND owner, const std::string& filter, std::string& fileName) {
  // The dialog takes its filter as pairs of zero-terminated texts, ended by an empty one.
  std::string pairs = filter + '|';
  for (char& c : pairs) {
    if (c == '|') c = '\0';
  }
  pairs += '\0';
  std::vector<char> name(MAX_PATH * 4, '\0');
  fileName.copy(name.data(), name.size() - 1);
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = pairs.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
              OFN_NODEREFERENCELINKS | OFN_ENABLESIZING;
  if (!GetOpenFileNameA(&ofn)) return false;
  fileName = name.data();
  return true;
}

TAddNotifyEventDlg::TAddNotifyEventDlg(IClock& clock, IMsgBox& msgBox)
    : clock_(clock), msgBox_(msgBox), fs_(LocaleFormatSettings()), fileExists_(&FileExistsOnDisk) {}

void TAddNotifyEventDlg::CreateFor(HWND owner, HIMAGELIST images) {
  TFormParams params;
  params.ClassName = "ReminderAddNotifyEventDlg";
  params.Caption = "Erinnerung hinzufügen";
  params.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN;
  params.ExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  params.ClientWidth = 512;
  params.ClientHeight = 444;
  params.Parent = owner;
  Create(params);
  if (images) PC.SetImageList(images);
  for (int page = 0; page < 3; ++page) {
    TCITEMA item = {};
    item.mask = TCIF_IMAGE;
    item.iImage = images ? kTabImages[page] : -1;
    PC.Send(TCM_SETITEMA, page, reinterpret_cast<LPARAM>(&item));
  }
  CenterOnScreen();
}

void TAddNotifyEventDlg::OnCreate() {
  SetDialogKeys(true);
  PC.Create(Handle(), kPC, {8, 8, 496, 356}, WS_TABSTOP | WS_CLIPSIBLINGS | TCS_HOTTRACK);
  PC.AddTab("Erinnerung");
  PC.AddTab("Aktion");
  PC.AddTab("Wiederholung");
  SetPageTabs(PC.Handle());
  CreateTriggerPage();
  CreateActionPage();
  CreateRepeatPage();
  // WS_GROUP ends the repetition buttons' group.
  TLabel nextDatesCaption;
  nextDatesCaption.Create(Handle(), kNextDatesLabel, {8, 372, 100, 16},
                          SS_LEFT | SS_NOPREFIX | WS_GROUP);
  NextDates.Create(Handle(), "", {110, 372, 394, 30}, SS_LEFT | SS_NOPREFIX);
  OKBtn.Create(Handle(), kOKBtn, "OK", {344, 410, 75, 26}, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP);
  CancelBtn.Create(Handle(), kCancelBtn, "Abbrechen", {429, 410, 75, 26});
  FormCreate();
}

TButton* TAddNotifyEventDlg::TriggerButtons(int index) {
  TButton* buttons[] = {&notRB1, &notRB2, &notRB3};
  return index >= 0 && index < kTriggerButtonCount ? buttons[index] : nullptr;
}

TButton* TAddNotifyEventDlg::RepeatButtons(int index) {
  TButton* buttons[] = {&repOnce,         &repOncePerDay,  &repOncePerWeek,
                        &repOncePerMonth, &repOncePerYear, &Rule.ruleRB};
  return index >= 0 && index <= kRuleButton ? buttons[index] : nullptr;
}

TEdit* TAddNotifyEventDlg::ParamEdit(TParamField field) {
  switch (field) {
    case TParamField::Email:
      return &EmailEdit;
    case TParamField::Website:
      return &WebsiteEdit;
    case TParamField::Program:
      return &ProgramEdit;
    case TParamField::Document:
      return &DocumentEdit;
    case TParamField::None:
      break;
  }
  return nullptr;
}

void TAddNotifyEventDlg::FormCreate() {
  const TAddNotifyEventModel model(clock_.Now());
  ActionCB.Clear();
  for (const char* name : ActionNames) ActionCB.Add(name);
  WriteModel(model);
  ApplyTriggerState(model);
  SetActionPage(npNoAction);
  ShowPage(0);
  SetActiveControl(notRB3.Handle());
}

void TAddNotifyEventDlg::OnShow() {
  UpdateOKBtn();
}

TAddNotifyEventModel TAddNotifyEventDlg::Model() const {
  TAddNotifyEventModel model(0);
  auto self = const_cast<TAddNotifyEventDlg*>(this);
  model.TriggerRB = nkNever;
  for (int i = 0; i < kTriggerButtonCount; ++i) {
    if (self->TriggerButtons(i)->Checked()) {
      model.TriggerRB = i;
      break;
    }
  }
  model.DatePicker = std::floor(DatePicker.Value());
  const TDateTime time = TimePicker.Value();
  model.TimePicker = time - std::floor(time);
  model.notText = notText.Text();
  model.ActionCB = ActionCB.ItemIndex();
  model.EmailEdit = EmailEdit.Text();
  model.WebsiteEdit = WebsiteEdit.Text();
  model.ProgramEdit = ProgramEdit.Text();
  model.DocumentEdit = DocumentEdit.Text();
  model.DaysEdit = DaysEdit.Text();
  model.RepeatRB = kNoChoice;
  for (int i = 0; i <= kRuleButton; ++i) {
    if (self->RepeatButtons(i)->Checked()) {
      model.RepeatRB = i;
      break;
    }
  }
  model.Rule = Rule.Read();
  return model;
}

void TAddNotifyEventDlg::WriteModel(const TAddNotifyEventModel& model) {
  for (int i = 0; i < kTriggerButtonCount; ++i) {
    TriggerButtons(i)->SetChecked(i == model.TriggerRB);
  }
  DatePicker.SetValue(model.DatePicker);
  TimePicker.SetValue(model.DatePicker + model.TimePicker);
  notText.SetText(model.notText);
  ActionCB.SetItemIndex(model.ActionCB);
  EmailEdit.SetText(model.EmailEdit);
  WebsiteEdit.SetText(model.WebsiteEdit);
  ProgramEdit.SetText(model.ProgramEdit);
  DocumentEdit.SetText(model.DocumentEdit);
  DaysEdit.SetText(model.DaysEdit);
  for (int i = 0; i <= kRuleButton; ++i) RepeatButtons(i)->SetChecked(i == model.RepeatRB);
  Rule.Write(model.Rule);
  // A multi-line edit reports no change for a text set from outside.
  UpdateOKBtn();
  UpdateNextDates();
}

void TAddNotifyEventDlg::ApplyTriggerState(const TAddNotifyEventModel& model) {
  const bool dateControls = model.DateControlsEnabled();
  for (TControl* control : std::initializer_list<TControl*>{
           &DatePicker, &TimePicker, &atLabel, &atNotifyLabel, &DaysEdit, &DaysLabel}) {
    control->SetEnabled(dateControls);
  }
  for (int i = 0; i <= kRuleButton; ++i) RepeatButtons(i)->SetChecked(i == model.RepeatRB);
  const bool laterRepeats = model.LaterRepeatsEnabled();
  for (int i = 1; i < kRepeatButtonCount; ++i) RepeatButtons(i)->SetEnabled(laterRepeats);
  ApplyRuleState(model);
}

void TAddNotifyEventDlg::ApplyRuleState(const TAddNotifyEventModel& model) {
  Rule.Enable(model.Rule, model.RuleChecked(), model.LaterRepeatsEnabled());
}

void TAddNotifyEventDlg::Fill(const TNotifyInfo& record) {
  TAddNotifyEventModel model = Model();
  model.Fill(record);
  WriteModel(model);
  ApplyTriggerState(model);
  SetActionPage(model.ActionNB());
}

TNotifyInfo TAddNotifyEventDlg::ToNotifyInfo() const {
  return Model().ToNotifyInfo();
}

void TAddNotifyEventDlg::ShowPage(int index) {
  pageIndex_ = index;
  PC.SetSelected(index);
  for (int page = 0; page < 3; ++page) {
    for (HWND control : pages_[page]) ShowWindow(control, page == index ? SW_SHOW : SW_HIDE);
  }
  SetActionPage(actionPage_);
}

void TAddNotifyEventDlg::SetActionPage(int page) {
  actionPage_ = page;
  for (int i = 0; i < 6; ++i) {
    const bool shown = i == page && pageIndex_ == 1;
    for (HWND control : notebook_[i]) ShowWindow(control, shown ? SW_SHOW : SW_HIDE);
  }
}

void TAddNotifyEventDlg::UpdateNextDates() {
  if (!NextDates.Handle()) return;
  const std::string text = NextDatesLine(ToNotifyInfo(), clock_.Now(), fs_);
  if (text != NextDates.Text()) NextDates.SetText(text);
}

void TAddNotifyEventDlg::UpdateOKBtn() {
  if (!OKBtn.Handle()) return;
  OKBtn.SetEnabled(Model().OKEnabled());
}

void TAddNotifyEventDlg::RBClick() {
  TAddNotifyEventModel model = Model();
  model.RBClick(model.TriggerRB);
  ApplyTriggerState(model);
}

void TAddNotifyEventDlg::ActionCBChange() {
  TAddNotifyEventModel model = Model();
  const TParamField focus = model.ActionCBChange(ActionCB.ItemIndex());
  SetActionPage(model.ActionNB());
  if (TEdit* edit = ParamEdit(focus)) edit->SetFocus();
  UpdateOKBtn();
}

TButton* TAddNotifyEventDlg::BrowseButton(TParamField field) {
  if (field == TParamField::Program) return &BrowseBtn;
  if (field == TParamField::Document) return &DocumentBrowseBtn;
  return nullptr;
}

void TAddNotifyEventDlg::FieldLeft(TParamField field) {
  // Checked once the focus has arrived where it goes: a box shown in the middle of the
  // move would lose the focus it gives back to the field.
  PostMessageA(Handle(), kFieldLeftMessage, static_cast<WPARAM>(field), 0);
}

void TAddNotifyEventDlg::FieldExit(TParamField field) {
  TEdit* edit = ParamEdit(field);
  if (!edit || !IsWindowVisible(edit->Handle())) return;
  // Only a move to another control of the dialog leaves the field; closing the dialog,
  // switching to another program or to another page does not: OK checks the field itself,
  // also when Enter presses it without leaving the field.
  const HWND focus = GetFocus();
  if (!focus || !IsChild(Handle(), focus) || ModalResult() != 0 || focus == edit->Handle()) {
    return;
  }
  // The field and its browse button, which fills it, are left together.
  const TButton* browse = BrowseButton(field);
  if (browse && focus == browse->Handle()) return;
  // A click on OK checks by itself, one on Cancel drops the field.
  if (GetKeyState(VK_LBUTTON) < 0 && (focus == OKBtn.Handle() || focus == CancelBtn.Handle())) {
    return;
  }
  if (!reminder::FieldExit(field, edit->Text(), fileExists_, msgBox_)) edit->SetFocus();
}

bool TAddNotifyEventDlg::ParamFieldPasses() {
  const TParamField field = ParamFieldOf(ActionCB.ItemIndex());
  TEdit* edit = ParamEdit(field);
  if (!edit || reminder::FieldExit(field, edit->Text(), fileExists_, msgBox_)) return true;
  ShowPage(kActionTab);
  edit->SetFocus();
  return false;
}

void TAddNotifyEventDlg::BrowseBtnClick(int sender) {
  const bool program = sender == kBrowseBtn;
  TEdit& edit = program ? ProgramEdit : DocumentEdit;
  std::string fileName = edit.Text();
  if (chooseFile_(Handle(), program ? kProgramFilter : kDocumentFilter, fileName)) {
    edit.SetText(fileName);
  }
}

void TAddNotifyEventDlg::EnterKeyPress() {
  PostMessageA(Handle(), WM_NEXTDLGCTL, 0, 0);
}

void TAddNotifyEventDlg::NextControl(bool previous) {
  HWND current = GetFocus();
  while (current && GetParent(current) != Handle()) current = GetParent(current);
  const HWND next = GetNextDlgTabItem(Handle(), current, previous);
  if (next) ::SetFocus(next);
}

bool TAddNotifyEventDlg::PreTranslateMessage(MSG& message) {
  if ((message.message == WM_KEYDOWN || message.message == WM_CHAR) &&
      message.wParam == VK_RETURN && GetKeyState(VK_CONTROL) >= 0) {
    HWND control = message.hwnd;
    while (control && GetParent(control) != Handle()) control = GetParent(control);
    if (control == notRB1.Handle() || control == notRB2.Handle() || control == notRB3.Handle() ||
        control == TimePicker.Handle()) {
      if (message.message == WM_KEYDOWN) EnterKeyPress();
      return true;
    }
    // Enter alone never breaks the line of the reminder text.
    if (control == notText.Handle()) return true;
  }
  return TForm::PreTranslateMessage(message);
}

bool TAddNotifyEventDlg::DatePickerUserString(const std::string& text, SYSTEMTIME& date) {
  TDateTime value = std::floor(DatePicker.Value());
  // A text that is no date leaves the field's date as it was.
  TryDatePickerText(text, fs_, value);
  date = ToSystemTime(value);
  return true;
}

LRESULT TAddNotifyEventDlg::OnNotify(NMHDR* header) {
  if (header->idFrom == kPC && header->code == TCN_SELCHANGE) {
    ShowPage(PC.Selected());
  } else if (header->idFrom == kDatePicker && header->code == DTN_USERSTRINGA) {
    auto* info = reinterpret_cast<NMDATETIMESTRINGA*>(header);
    DatePickerUserString(info->pszUserString ? info->pszUserString : "", info->st);
    info->dwFlags = GDT_VALID;
  } else if (header->idFrom == kDatePicker && header->code == DTN_USERSTRINGW) {
    auto* info = reinterpret_cast<NMDATETIMESTRINGW*>(header);
    char text[256] = {};
    if (info->pszUserString) {
      WideCharToMultiByte(CP_ACP, 0, info->pszUserString, -1, text, sizeof text - 1, nullptr,
                          nullptr);
    }
    DatePickerUserString(text, info->st);
    info->dwFlags = GDT_VALID;
  } else if (header->code == DTN_DATETIMECHANGE) {
    UpdateNextDates();
  }
  return 0;
}

void TAddNotifyEventDlg::OnCommand(int id, int code, HWND) {
  switch (id) {
    case kNotRB1:
    case kNotRB2:
    case kNotRB3:
      if (code == BN_CLICKED) RBClick();
      break;
    case kNotText:
      if (code == EN_CHANGE) UpdateOKBtn();
      break;
    case kEmailEdit:
    case kWebsiteEdit:
    case kProgramEdit:
    case kDocumentEdit: {
      const TParamField field = id == kEmailEdit     ? TParamField::Email
                                : id == kWebsiteEdit ? TParamField::Website
                                : id == kProgramEdit ? TParamField::Program
                                                     : TParamField::Document;
      if (code == EN_CHANGE) UpdateOKBtn();
      if (code == EN_KILLFOCUS) FieldLeft(field);
      break;
    }
    case kActionCB:
      if (code == CBN_SELCHANGE) ActionCBChange();
      break;
    case kBrowseBtn:
    case kDocumentBrowseBtn:
      if (code == BN_CLICKED) BrowseBtnClick(id);
      if (code == BN_KILLFOCUS) {
        FieldLeft(id == kBrowseBtn ? TParamField::Program : TParamField::Document);
      }
      break;
    case kOKBtn:
      if (code == BN_CLICKED && ParamFieldPasses()) SetModalResult(IDOK);
      break;
    case kCancelBtn:
      if (code == BN_CLICKED) SetModalResult(IDCANCEL);
      break;
    default:
      break;
  }
  // A repetition choice enables the rule's controls that belong to it.
  if ((code == BN_CLICKED || code == CBN_SELCHANGE) &&
      (Rule.Owns(id) || (id >= kRepOnce && id <= kRepOncePerYear))) {
    ApplyRuleState(Model());
  }
  // Any change of a field may move the next dates.
  if (code == BN_CLICKED || code == EN_CHANGE || code == CBN_SELCHANGE) UpdateNextDates();
}

bool TAddNotifyEventDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                       LRESULT& result) {
  if (message == kFieldLeftMessage) {
    FieldExit(static_cast<TParamField>(wParam));
    result = 0;
    return true;
  }
  if (message == WM_NEXTDLGCTL && LOWORD(lParam) == 0) {
    NextControl(wParam != 0);
    result = 0;
    return true;
  }
  if (message == WM_DRAWITEM) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item->CtlID == kBrowseBtn || item->CtlID == kDocumentBrowseBtn) {
      DrawMagnifier(*item);
      result = TRUE;
      return true;
    }
  }
  return false;
}

}  // namespace reminder
