#include "win32/ui/CalendarWnd.h"

#include <cctype>
#include <memory>
#include <stdexcept>

#include "core/common/FormatDateTime.h"
#include "core/common/MyTools.h"
#include "core/ui/CalendarRules.h"
#include "core/ui/DateTimeUnit.h"
#include "win32/system/LocaleFormat.h"
#include "win32/system/Win32Clock.h"
#include "win32/system/Win32MsgBox.h"
#include "win32/toolkit/Application.h"

namespace reminder {

namespace {

// Posted when a field has lost the focus; wParam is its identifier. The check runs once the
// focus has arrived elsewhere, so it can tell a move inside the window from leaving it.
constexpr UINT kFieldLeftMessage = WM_APP + 1;

constexpr int kYearMin = 1000;
constexpr int kYearMax = 5000;

TDateTime Today() {
  TWin32Clock clock;
  return static_cast<TDateTime>(static_cast<int64_t>(clock.Now()));
}

bool ReadYear(const std::string& text, int& year) {
  const std::string digits = RemoveBlanks(text);
  if (digits.empty() || digits.size() > kYearFieldLength) return false;
  for (char c : digits) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  year = std::stoi(digits);
  return true;
}

}  // namespace

TCalendarForm* TCalendarForm::Open(HWND owner) {
  std::unique_ptr<TCalendarForm> form(new TCalendarForm);
  TFormParams params;
  params.ClassName = "ReminderCalendarForm";
  params.Caption = "Kalender";
  params.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
  params.ClientWidth = 369;
  params.ClientHeight = 369;
  params.Parent = owner;
  form->Create(params);
  // From here on the window frees the form when it is closed or destroyed with its owner.
  form->SetCloseAction(TCloseAction::Free);
  form->CenterOnScreen();
  form->Show();
  return form.release();
}

void TCalendarForm::OnCreate() {
  SetDialogKeys(true);
  fs_ = LocaleFormatSettings();
  CreateControls();
  FormCreate();
}

void TCalendarForm::CreateControls() {
  const HWND self = Handle();
  AddFrame({4, 4, 361, 200});
  MonthsComboBox.Create(self, kMonthsComboBox, {12, 12, 150, 300});
  YearEdit.Create(self, kYearEdit, {172, 12, 64, 22}, ES_NUMBER | ES_AUTOHSCROLL | WS_TABSTOP);
  YearEdit.SetMaxLength(static_cast<int>(kYearFieldLength));
  UpDown.Create(self, kUpDown, YearEdit.Handle());
  UpDown.SetRange(kYearMin, kYearMax);
  Calendar.Create(self, kCalendar, {12, 42, 345, 156}, WS_TABSTOP | MCS_NOTODAYCIRCLE);
  Calendar.SetFirstDayOfWeek(0);

  AddFrame({4, 208, 361, 74});
  TLabel caption;
  caption.Create(self, "&vom:", {12, 219, 30, 18});
  DateFromEdit.Create(self, kDateFromEdit, {44, 216, 88, 22});
  DateFromEdit.SetMaxLength(static_cast<int>(kDateFieldLength));
  FromDateSpinButton.Create(self, kFromDateSpinButton, nullptr, 0);
  FromDateSpinButton.SetBounds(Scaled(TBounds{132, 216, 16, 22}));
  FromDateSpinButton.SetRange(0, 100);
  FromDateSpinButton.SetPosition(50);  // never at an end, so both arrows always report
  caption.Create(self, "&bis:", {186, 219, 30, 18});
  DateToEdit.Create(self, kDateToEdit, {218, 216, 88, 22});
  DateToEdit.SetMaxLength(static_cast<int>(kDateFieldLength));
  ToDateSpinButton.Create(self, kToDateSpinButton, nullptr, 0);
  ToDateSpinButton.SetBounds(Scaled(TBounds{306, 216, 16, 22}));
  ToDateSpinButton.SetRange(0, 100);
  ToDateSpinButton.SetPosition(50);
  CalcDateBtn.Create(self, kCalcDateBtn, "Be&rechne", {12, 248, 80, 25});
  DayLabel.Create(self, "0 Tag(e)", {104, 253, 200, 18}, SS_LEFT, kDayLabel);

  AddFrame({4, 286, 361, 79});
  caption.Create(self, "vo&n:", {12, 297, 30, 18});
  TimeFrom.Create(self, kTimeFrom, {44, 294, 70, 22});
  TimeFrom.SetMaxLength(static_cast<int>(kTimeFieldLength));
  TimeFrom.SetText("00:00:00");
  caption.Create(self, "Uhr", {118, 297, 30, 18});
  caption.Create(self, "b&is:", {186, 297, 30, 18});
  TimeTo.Create(self, kTimeTo, {218, 294, 70, 22});
  TimeTo.SetMaxLength(static_cast<int>(kTimeFieldLength));
  TimeTo.SetText("00:00:00");
  caption.Create(self, "Uhr", {292, 297, 30, 18});
  CalcTimeBtn.Create(self, kCalcTimeBtn, "Berechn&e", {12, 328, 80, 25});
  TimeLabel.Create(self, "", {104, 326, 255, 34}, SS_LEFT, kTimeLabel);
}

void TCalendarForm::FormCreate() {
  Calendar.SetDate(Today());
  for (int month = 1; month <= 12; ++month) {
    MonthsComboBox.Add(FormatDateTime("mmmm", EncodeDate(1996, month, 1), fs_));
  }
  TimeLabel.SetText(SecondsToTimeText(0, fs_.TimeSeparator) + " Stunde(n)");
  CalendarChange();
  const std::string sep(1, fs_.DateSeparator);
  const std::string today = FormatDateTime("dd" + sep + "mm" + sep + "yyyy", Today(), fs_);
  // Each write runs the date check, which leaves the day counter's button enabled.
  DateFromEdit.SetText(today);
  DateToEdit.SetText(today);
}

bool TCalendarForm::FormKeyUpDown(int key) {
  switch (key) {
    case VK_PRIOR:
      StepGridMonth(-1);
      return true;
    case VK_NEXT:
      StepGridMonth(1);
      return true;
    case VK_ESCAPE:
      Close();
      return true;
  }
  return false;
}

bool TCalendarForm::PreTranslateMessage(MSG& message) {
  const HWND target = message.hwnd;
  const bool keyDownOrUp = message.message == WM_KEYDOWN || message.message == WM_KEYUP;
  const int key = static_cast<int>(message.wParam);
  const bool textField = target == YearEdit.Handle() || target == DateFromEdit.Handle() ||
                         target == DateToEdit.Handle() || target == TimeFrom.Handle() ||
                         target == TimeTo.Handle();

  if (target == MonthsComboBox.Handle()) {
    // The list itself reacts to no key: the arrows do not change the month. Enter moves
    // on, as in the text fields.
    if (keyDownOrUp && key != VK_TAB) {
      if (key == VK_RETURN) {
        if (message.message == WM_KEYDOWN) PostMessageA(Handle(), WM_NEXTDLGCTL, 0, 0);
      } else {
        FormKeyUpDown(key);
      }
      return true;
    }
    if (message.message == WM_CHAR) return true;
  }
  if (keyDownOrUp &&
      (target == Handle() || target == Calendar.Handle() || target == YearEdit.Handle())) {
    if (FormKeyUpDown(key)) return true;
  }
  if (textField && key == VK_RETURN &&
      (message.message == WM_KEYDOWN || message.message == WM_CHAR)) {
    // Enter moves on once the key has been handled.
    if (message.message == WM_KEYDOWN) PostMessageA(Handle(), WM_NEXTDLGCTL, 0, 0);
    return true;
  }
  if (message.message == WM_CHAR &&
      (target == DateFromEdit.Handle() || target == DateToEdit.Handle() ||
       target == TimeFrom.Handle() || target == TimeTo.Handle())) {
    // Digits, the separator and editing keys only.
    const char c = static_cast<char>(message.wParam);
    const char separator = (target == TimeFrom.Handle() || target == TimeTo.Handle())
                               ? fs_.TimeSeparator
                               : fs_.DateSeparator;
    if (static_cast<unsigned char>(c) >= ' ' && !std::isdigit(static_cast<unsigned char>(c)) &&
        c != separator && c != ' ') {
      return true;
    }
  }
  return TForm::PreTranslateMessage(message);
}

bool TCalendarForm::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  result = 0;
  if (message == kFieldLeftMessage) {
    HWND focus = GetFocus();
    // Only a move to another control of this window counts as leaving a field; a field
    // that has the focus back by now was not left.
    const int id = static_cast<int>(wParam);
    if (focus && IsChild(Handle(), focus) && focus != GetDlgItem(Handle(), id)) FieldLeft(id);
    return true;
  }
  return false;
}

void TCalendarForm::OnCommand(int id, int code, HWND) {
  if (code == EN_KILLFOCUS || code == CBN_KILLFOCUS) {
    PostMessageA(Handle(), kFieldLeftMessage, static_cast<WPARAM>(id), 0);
    return;
  }
  switch (id) {
    case kMonthsComboBox:
      if (code == CBN_SELCHANGE) MonthsComboBoxChange();
      break;
    case kYearEdit:
      if (code == EN_CHANGE) YearEditChange();
      break;
    case kDateFromEdit:
      if (code == EN_CHANGE) DateEditExit(DateFromEdit, DateToEdit);
      break;
    case kDateToEdit:
      if (code == EN_CHANGE) DateEditExit(DateToEdit, DateFromEdit);
      break;
    case kCalcDateBtn:
      if (code == BN_CLICKED) CalcDateBtnClick();
      break;
    case kCalcTimeBtn:
      if (code == BN_CLICKED) CalcTimeBtnClick();
      break;
  }
}

void TCalendarForm::FieldLeft(int id) {
  switch (id) {
    case kMonthsComboBox:
      MonthsComboBoxExit();
      break;
    case kYearEdit:
      YearEditExit();
      break;
    case kDateFromEdit:
      DateEditExit(DateFromEdit, DateToEdit);
      break;
    case kDateToEdit:
      DateEditExit(DateToEdit, DateFromEdit);
      break;
    case kTimeFrom:
      TimeEditExit(TimeFrom, true);
      break;
    case kTimeTo:
      TimeEditExit(TimeTo, false);
      break;
  }
}

LRESULT TCalendarForm::OnNotify(NMHDR* header) {
  if (header->idFrom == kCalendar && header->code == MCN_SELCHANGE) {
    CalendarChange();
  } else if (header->code == UDN_DELTAPOS &&
             (header->idFrom == kFromDateSpinButton || header->idFrom == kToDateSpinButton)) {
    const auto* change = reinterpret_cast<NMUPDOWN*>(header);
    // The arrows' own position is never used: each click steps the date by one day.
    StepDateField(header->idFrom == kFromDateSpinButton ? DateFromEdit : DateToEdit,
                  change->iDelta > 0 ? 1 : -1);
    return TRUE;
  }
  return 0;
}

void TCalendarForm::CalendarChange() {
  const TDateParts date = DecodeDate(Calendar.Date());
  MonthsComboBox.SetItemIndex(date.Month - 1);
  // Rewriting the same text would put the caret back to the start while the user types.
  const std::string year = std::to_string(date.Year);
  if (YearEdit.Text() != year) YearEdit.SetText(year);
}

void TCalendarForm::MonthsComboBoxChange() {
  const TDateParts date = DecodeDate(Calendar.Date());
  int year = 0;
  if (!ReadYear(YearEdit.Text(), year)) {
    // The month still changes; the grid keeps its year.
    SetGridDate(date.Year, MonthsComboBox.ItemIndex() + 1, date.Day);
    Application().ShowException("Die Jahreszahl ist keine gültige Zahl.");
    return;
  }
  SetGridDate(year, MonthsComboBox.ItemIndex() + 1, date.Day);
}

void TCalendarForm::MonthsComboBoxExit() {
  if (MonthsComboBox.ItemIndex() >= 0) return;
  // Back to today, and the list and the year field with it.
  Calendar.SetDate(Today());
  CalendarChange();
}

void TCalendarForm::YearEditChange() {
  int year = 0;
  if (!IsFieldComplete(YearEdit.Text(), kYearFieldLength) || !ReadYear(YearEdit.Text(), year)) {
    return;
  }
  const TDateParts date = DecodeDate(Calendar.Date());
  SetGridDate(year, MonthsComboBox.ItemIndex() + 1, date.Day);
  // The up-down control writes its position into the field: only a new one is set.
  const int gridYear = DecodeDate(Calendar.Date()).Year;
  if (UpDown.Position() != gridYear) UpDown.SetPosition(gridYear);
}

void TCalendarForm::YearEditExit() {
  if (IsFieldComplete(YearEdit.Text(), kYearFieldLength)) return;
  // Writing the year runs YearEditChange through the field's change notification.
  YearEdit.SetText(std::to_string(DecodeDate(Today()).Year));
}

void TCalendarForm::DateEditExit(TEdit& own, TEdit& other) {
  switch (CheckDateFields(own.Text(), other.Text())) {
    case TButtonChange::Enable:
      CalcDateBtn.SetEnabled(true);
      break;
    case TButtonChange::Disable:
      CalcDateBtn.SetEnabled(false);
      break;
    case TButtonChange::Keep:
      break;
  }
}

void TCalendarForm::StepDateField(TEdit& field, int step) {
  const auto stepped = reminder::StepDateField(field.Text(), step, fs_.DateSeparator);
  // The new text is a change of the field, so the date check runs after it.
  if (stepped) field.SetText(*stepped);
}

void TCalendarForm::CalcDateBtnClick() {
  const auto days = CountDays(DateFromEdit.Text(), DateToEdit.Text(), fs_.DateSeparator);
  if (!days) {
    CalcDateBtn.SetEnabled(false);
    return;
  }
  DayLabel.SetText(DayCountText(*days));
}

void TCalendarForm::TimeEditExit(TEdit& field, bool from) {
  const TTimeFieldCheck check =
      CheckTimeField(field.Text(), from ? TTimeField::From : TTimeField::To);
  // The button counts both times: a wrong one in the other field keeps it off.
  const TEdit& other = from ? TimeTo : TimeFrom;
  const bool otherPasses =
      CheckTimeField(other.Text(), from ? TTimeField::To : TTimeField::From).EnableButton;
  CalcTimeBtn.SetEnabled(check.EnableButton && otherPasses);
  if (!check.Message.empty()) ShowMsgBox(check.Message, "", mkError, mbOK);
  // Also the control that gets the focus back when the window is activated again after the
  // message, which may happen only after this returns.
  if (check.Refocus) SetActiveControl(field.Handle());
}

void TCalendarForm::CalcTimeBtnClick() {
  const THourCount count = CountHours(TimeFrom.Text(), TimeTo.Text(), fs_.TimeSeparator);
  if (!count.Message.empty()) {
    ShowMsgBox(count.Message, "", mkError, mbOK);
    return;
  }
  TimeLabel.SetText(count.Label);
}

void TCalendarForm::SetGridDate(int year, int month, int day) {
  if (year <= 0 || month <= 0 || month > 12 || day <= 0) return;
  if (day > DaysInMonth(year, month)) day = DaysInMonth(year, month);
  TDateTime date = 0;
  if (!TryEncodeDate(year, month, day, date) || date == Calendar.Date()) return;
  Calendar.SetDate(date);
  // The control reports only the user's choices; a change made here is passed on alike.
  CalendarChange();
}

void TCalendarForm::StepGridMonth(int months) {
  const TDateParts date = DecodeDate(Calendar.Date());
  const int index = date.Year * 12 + (date.Month - 1) + months;
  SetGridDate(index / 12, index % 12 + 1, date.Day);
}

}  // namespace reminder
