// The calendar window: a month grid with month list and year field, a day counter between
// two dates and an hour counter between two times of day. The three tools do not touch
// each other. What a field check or a count answers is decided in core/ui/CalendarRules.h.
#pragma once

#include <windows.h>

#include "core/common/FormatSettings.h"
#include "win32/toolkit/CommonControls.h"
#include "win32/toolkit/Controls.h"
#include "win32/toolkit/Form.h"

namespace reminder {

class TCalendarForm : public TForm {
 public:
  // Control identifiers, for the owner and for tests that drive the window by messages.
  enum : int {
    kMonthsComboBox = 101,
    kYearEdit,
    kUpDown,
    kCalendar,
    kDateFromEdit,
    kFromDateSpinButton,
    kDateToEdit,
    kToDateSpinButton,
    kCalcDateBtn,
    kDayLabel,
    kTimeFrom,
    kTimeTo,
    kCalcTimeBtn,
    kTimeLabel,
  };

  // A new window each time, owned by owner, shown without blocking it; closing it frees it.
  static TCalendarForm* Open(HWND owner);

  // The date the month grid shows.
  TDateTime GridDate() const { return Calendar.Date(); }

 protected:
  void OnCreate() override;
  void OnCommand(int id, int code, HWND control) override;
  LRESULT OnNotify(NMHDR* header) override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool PreTranslateMessage(MSG& message) override;

 private:
  TCalendarForm() = default;
  void CreateControls();

  void FormCreate();
  // True when the key was one of the window's keys.
  bool FormKeyUpDown(int key);
  void MonthsComboBoxChange();
  void MonthsComboBoxExit();
  void CalendarChange();
  void YearEditChange();
  void YearEditExit();
  void DateEditExit(TEdit& own, TEdit& other);
  void StepDateField(TEdit& field, int step);
  void CalcDateBtnClick();
  void TimeEditExit(TEdit& field, bool from);
  void CalcTimeBtnClick();
  void FieldLeft(int id);

  // The grid's date changes only through these; a value equal to the current one does
  // nothing. A day past the new month's end is cut to its last day.
  void SetGridDate(int year, int month, int day);
  void StepGridMonth(int months);

  TFormatSettings fs_;

  TComboBox MonthsComboBox;
  TEdit YearEdit;
  TUpDown UpDown;
  TMonthCalendar Calendar;
  TEdit DateFromEdit;
  TUpDown FromDateSpinButton;
  TEdit DateToEdit;
  TUpDown ToDateSpinButton;
  TButton CalcDateBtn;
  TLabel DayLabel;
  TEdit TimeFrom;
  TEdit TimeTo;
  TButton CalcTimeBtn;
  TLabel TimeLabel;
};

}  // namespace reminder
