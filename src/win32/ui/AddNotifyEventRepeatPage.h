// The extended repetition on the editor's page "Wiederholung": the button "alle" with the
// interval and its unit, the weekdays, the day of the month and the end. The editor owns
// them; what is enabled and how they map to a rule comes from TRepeatPageModel.
#pragma once

#include <windows.h>

#include <functional>

#include "core/ui/RepeatPageRules.h"
#include "win32/toolkit/CommonControls.h"
#include "win32/toolkit/Controls.h"

namespace reminder {

class TRepeatRuleControls {
 public:
  // Control identifiers, after the editor's own.
  enum : int {
    kRuleRB = 440,
    kIntervalEdit,
    kUnitCB,
    kWeekdayBox,  // seven, Monday first
    kStartDayRB = kWeekdayBox + 7,
    kOrdinalRB,
    kLastDayRB,
    kOrdinalCB,
    kWeekdayCB,
    kNeverRB,
    kUntilRB,
    kCountRB,
    kUntilPicker,
    kCountEdit,
  };

  // Creates the button "alle" at the end of the repetition buttons' group, then the rest;
  // add takes each control for the page.
  void Create(HWND parent, const std::function<void(HWND)>& add);
  bool Owns(int id) const { return id >= kRuleRB && id <= kCountEdit; }

  TRepeatPageModel Read() const;
  void Write(const TRepeatPageModel& model);
  // extended: "alle" is checked and enabled; available: the trigger allows repetitions.
  void Enable(const TRepeatPageModel& model, bool extended, bool available);

  TButton ruleRB;
  TEdit IntervalEdit;
  TComboBox UnitCB;
  TButton Weekdays[7];
  TButton StartDayRB, OrdinalRB, LastDayRB;
  TComboBox OrdinalCB, WeekdayCB;
  TButton NeverRB, UntilRB, CountRB;
  TDateTimePicker UntilPicker;
  TEdit CountEdit;

 private:
  TLabel weekdaysLabel_, endLabel_, countLabel_;
};

}  // namespace reminder
