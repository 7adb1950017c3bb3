#include "win32/ui/AddNotifyEventRepeatPage.h"

#include <cmath>

namespace reminder {

void TRepeatRuleControls::Create(HWND parent, const std::function<void(HWND)>& add) {
  // "alle [n] [Wochen]", one sentence on one line, as the trigger's date.
  ruleRB.Create(parent, kRuleRB, " a&lle", {40, 216, 50, 20}, BS_AUTORADIOBUTTON);
  IntervalEdit.Create(parent, kIntervalEdit, {92, 215, 44, 22},
                      ES_RIGHT | ES_NUMBER | ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP);
  IntervalEdit.SetMaxLength(3);
  UnitCB.Create(parent, kUnitCB, {142, 214, 100, 160});
  for (const char* name : kRuleUnitNames) UnitCB.Add(name);
  for (TControl* control : std::initializer_list<TControl*>{&ruleRB, &IntervalEdit, &UnitCB}) {
    add(control->Handle());
  }

  weekdaysLabel_.Create(parent, "a&n:", {60, 246, 30, 18}, SS_LEFT | WS_GROUP);
  add(weekdaysLabel_.Handle());
  for (int day = 0; day < 7; ++day) {
    Weekdays[day].Create(parent, kWeekdayBox + day, kWeekdayShortNames[day],
                         {92 + 46 * day, 244, 42, 20},
                         BS_AUTOCHECKBOX | WS_TABSTOP | (day == 0 ? WS_GROUP : 0));
    add(Weekdays[day].Handle());
  }

  // The three choices of the day form one group, before the lists on their line.
  StartDayRB.Create(parent, kStartDayRB, " am Ta&g des Datums", {60, 270, 150, 20},
                    BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP);
  OrdinalRB.Create(parent, kOrdinalRB, " &am", {214, 270, 40, 20}, BS_AUTORADIOBUTTON);
  LastDayRB.Create(parent, kLastDayRB, " am l&etzten Tag des Monats", {60, 294, 220, 20},
                   BS_AUTORADIOBUTTON);
  OrdinalCB.Create(parent, kOrdinalCB, {256, 268, 76, 160},
                   CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP);
  for (const char* name : kOrdinalNames) OrdinalCB.Add(name);
  WeekdayCB.Create(parent, kWeekdayCB, {338, 268, 110, 200});
  for (const char* name : kWeekdayNames) WeekdayCB.Add(name);
  for (TControl* control : std::initializer_list<TControl*>{&StartDayRB, &OrdinalRB, &LastDayRB,
                                                            &OrdinalCB, &WeekdayCB}) {
    add(control->Handle());
  }

  // "endet nie / am [Datum] / nach [n] Terminen"
  endLabel_.Create(parent, "endet", {40, 324, 40, 18}, SS_LEFT | WS_GROUP);
  NeverRB.Create(parent, kNeverRB, " n&ie", {82, 322, 50, 20},
                 BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP);
  UntilRB.Create(parent, kUntilRB, " am", {134, 322, 42, 20}, BS_AUTORADIOBUTTON);
  CountRB.Create(parent, kCountRB, " na&ch", {288, 322, 54, 20}, BS_AUTORADIOBUTTON);
  UntilPicker.Create(parent, kUntilPicker, {178, 320, 102, 22},
                     DTS_SHORTDATECENTURYFORMAT | WS_TABSTOP | WS_GROUP);
  CountEdit.Create(parent, kCountEdit, {344, 320, 50, 22},
                   ES_RIGHT | ES_NUMBER | ES_AUTOHSCROLL | WS_TABSTOP);
  CountEdit.SetMaxLength(4);
  countLabel_.Create(parent, "Terminen", {400, 324, 70, 18});
  for (TControl* control : std::initializer_list<TControl*>{
           &endLabel_, &NeverRB, &UntilRB, &CountRB, &UntilPicker, &CountEdit, &countLabel_}) {
    add(control->Handle());
  }
}

TRepeatPageModel TRepeatRuleControls::Read() const {
  TRepeatPageModel model;
  model.IntervalEdit = IntervalEdit.Text();
  model.UnitCB = UnitCB.ItemIndex();
  model.Weekdays = 0;
  for (int day = 0; day < 7; ++day) {
    if (Weekdays[day].Checked()) model.Weekdays |= static_cast<uint8_t>(1u << day);
  }
  model.MonthDayRB = OrdinalRB.Checked() ? mdOrdinal : LastDayRB.Checked() ? mdLastDay : mdStartDay;
  model.OrdinalCB = OrdinalCB.ItemIndex();
  model.WeekdayCB = WeekdayCB.ItemIndex();
  model.EndRB = UntilRB.Checked() ? reUntil : CountRB.Checked() ? reCount : reNever;
  model.UntilPicker = std::floor(UntilPicker.Value());
  model.CountEdit = CountEdit.Text();
  return model;
}

void TRepeatRuleControls::Write(const TRepeatPageModel& model) {
  IntervalEdit.SetText(model.IntervalEdit);
  UnitCB.SetItemIndex(model.UnitCB);
  for (int day = 0; day < 7; ++day) Weekdays[day].SetChecked(model.Weekdays & (1u << day));
  StartDayRB.SetChecked(model.MonthDayRB == mdStartDay);
  OrdinalRB.SetChecked(model.MonthDayRB == mdOrdinal);
  LastDayRB.SetChecked(model.MonthDayRB == mdLastDay);
  OrdinalCB.SetItemIndex(model.OrdinalCB);
  WeekdayCB.SetItemIndex(model.WeekdayCB);
  NeverRB.SetChecked(model.EndRB == reNever);
  UntilRB.SetChecked(model.EndRB == reUntil);
  CountRB.SetChecked(model.EndRB == reCount);
  UntilPicker.SetValue(model.UntilPicker);
  CountEdit.SetText(model.CountEdit);
}

void TRepeatRuleControls::Enable(const TRepeatPageModel& model, bool extended, bool available) {
  ruleRB.SetEnabled(available);
  for (TControl* control : std::initializer_list<TControl*>{
           &IntervalEdit, &UnitCB, &endLabel_, &NeverRB, &UntilRB, &CountRB, &countLabel_}) {
    control->SetEnabled(extended);
  }
  const bool weekdays = model.WeekdaysEnabled(extended);
  weekdaysLabel_.SetEnabled(weekdays);
  for (TButton& day : Weekdays) day.SetEnabled(weekdays);
  const bool monthDay = model.MonthDayEnabled(extended);
  for (TButton* button : {&StartDayRB, &OrdinalRB, &LastDayRB}) button->SetEnabled(monthDay);
  OrdinalCB.SetEnabled(model.OrdinalEnabled(extended));
  WeekdayCB.SetEnabled(model.OrdinalEnabled(extended));
  UntilPicker.SetEnabled(model.UntilEnabled(extended));
  CountEdit.SetEnabled(model.CountEnabled(extended));
}

}  // namespace reminder
