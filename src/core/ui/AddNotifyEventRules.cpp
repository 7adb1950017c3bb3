#include "core/ui/AddNotifyEventRules.h"

#include <cctype>
#include <cmath>
#include <cstdint>

#include "core/store/ActionTarget.h"
#include "core/store/RepeatRule.h"

namespace reminder {

namespace {

constexpr int64_t kMSecsPerDayInt = 86400000;

// Splits a date-time into its day (toward zero) and its time of day, rounded to the
// millisecond first, so that a value a rounding error short of midnight lands on the next
// day at 00:00 instead of showing the old day at 23:59:59.
void SplitDateTime(TDateTime value, TDateTime& date, TDateTime& time) {
  if (!std::isfinite(value)) {
    date = 0;
    time = 0;
    return;
  }
  const int64_t ms = std::llround(std::fabs(value) * kMSecsPerDayInt);
  const TDateTime days = static_cast<TDateTime>(ms / kMSecsPerDayInt);
  date = value < 0 ? -days : days;
  time = static_cast<TDateTime>(ms % kMSecsPerDayInt) / kMSecsPerDayInt;
}

// Before 30 December 1899 the time of day counts away from zero, as the date does.
TDateTime CombineDateTime(TDateTime date, TDateTime time) {
  return date < 0 ? date - time : date + time;
}

// A time of day as the user types or picks it: whole seconds, the milliseconds a clock or
// a time field carries along dropped.
TDateTime WholeSeconds(TDateTime time) {
  const TTimeParts parts = DecodeTime(time);
  return EncodeTime(parts.Hour, parts.Minute, parts.Second, 0);
}

// The field behind a parameter, for the const and the mutable model alike.
template <typename Model>
auto ParamTextOf(Model& model, TParamField field) -> decltype(&model.EmailEdit) {
  switch (field) {
    case TParamField::Email:
      return &model.EmailEdit;
    case TParamField::Website:
      return &model.WebsiteEdit;
    case TParamField::Program:
      return &model.ProgramEdit;
    case TParamField::Document:
      return &model.DocumentEdit;
    case TParamField::None:
      break;
  }
  return nullptr;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool AllDigits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

}  // namespace

TAddNotifyEventModel::TAddNotifyEventModel(TDateTime now) : DaysEdit(std::to_string(kDaysDefault)) {
  SplitDateTime(now + kDefaultLeadTime, DatePicker, TimePicker);
  TimePicker = WholeSeconds(TimePicker);
  Rule.Fill(std::nullopt, DatePicker);
}

bool TAddNotifyEventModel::OKEnabled() const {
  if (notText.empty()) return false;
  const std::string* param = ParamText(ParamFieldOf(ActionCB));
  return !param || !param->empty();
}

void TAddNotifyEventModel::RBClick(int triggerButton) {
  if (triggerButton < 0 || triggerButton >= kTriggerButtonCount) return;
  TriggerRB = triggerButton;
  if (TriggerRB == nkDialUp) RepeatRB = 0;
}

bool TAddNotifyEventModel::DateControlsEnabled() const {
  return TriggerRB == nkAtDate;
}

bool TAddNotifyEventModel::LaterRepeatsEnabled() const {
  return TriggerRB != nkDialUp;
}

bool TAddNotifyEventModel::RuleChecked() const {
  return RepeatRB == kRuleButton && LaterRepeatsEnabled();
}

TParamField TAddNotifyEventModel::ActionCBChange(int actionIndex) {
  ActionCB = actionIndex >= 0 && actionIndex < kActionCount ? actionIndex : kNoChoice;
  return ParamFieldOf(ActionCB);
}

TActionPage TAddNotifyEventModel::ActionNB() const {
  return ActionPageOf(ActionCB);
}

std::string* TAddNotifyEventModel::ParamText(TParamField field) {
  return ParamTextOf(*this, field);
}

const std::string* TAddNotifyEventModel::ParamText(TParamField field) const {
  return ParamTextOf(*this, field);
}

void TAddNotifyEventModel::Fill(const TNotifyInfo& record) {
  if (record.NotifyKind < kTriggerButtonCount && record.NotifyKind != TriggerRB) {
    RBClick(record.NotifyKind);
  }
  SplitDateTime(record.NotifyDate, DatePicker, TimePicker);
  notText = LimitFieldText(record.NotifyText);
  // A kind the list has no item for leaves it without a selection.
  ActionCB = record.ActionKind < kActionCount ? record.ActionKind : kNoChoice;
  if (std::string* param = ParamText(ParamFieldOf(record.ActionKind))) {
    *param = LimitFieldText(record.ActionParam);
  }
  RepeatRB = record.RepeatKind >= rkOnce && record.RepeatKind <= rkYearly
                 ? record.RepeatKind - rkOnce
                 : kNoChoice;
  DaysEdit = std::to_string(record.DaysBefore);
  const std::optional<TRepeatRule> rule = RuleOf(record);
  Rule.Fill(rule, record.NotifyDate);
  if (rule) RepeatRB = kRuleButton;
}

TNotifyInfo TAddNotifyEventModel::ToNotifyInfo() const {
  TNotifyInfo record;
  record.NotifyKind = static_cast<uint8_t>(TriggerRB);
  record.NotifyDate = CombineDateTime(DatePicker, WholeSeconds(TimePicker));
  record.NotifyText = LimitFieldText(notText);
  // Without a selection the reminder does nothing, rather than carry a kind no table has.
  record.ActionKind = static_cast<uint8_t>(ActionCB == kNoChoice ? akNothing : ActionCB);
  if (const std::string* param = ParamText(ParamFieldOf(ActionCB))) {
    record.ActionParam = LimitFieldText(*param);
  }
  // With no button checked the chain of the buttons ends at the last one: yearly.
  record.RepeatKind = static_cast<uint8_t>(RepeatRB == kNoChoice     ? rkYearly
                                           : RepeatRB == kRuleButton ? BaseRepeat(Rule.ToRule())
                                                                     : RepeatRB + rkOnce);
  record.DaysBefore = DaysFromText(DaysEdit);
  if (RuleChecked()) SetRule(record, Rule.ToRule());
  return record;
}

std::string LimitFieldText(const std::string& text) {
  return text.substr(0, kMaxFieldLength);
}

TParamField ParamFieldOf(int actionKind) {
  switch (actionKind) {
    case akEmail:
      return TParamField::Email;
    case akWebsite:
      return TParamField::Website;
    case akProgram:
      return TParamField::Program;
    case akDocument:
      return TParamField::Document;
    default:
      return TParamField::None;
  }
}

TActionPage ActionPageOf(int actionKind) {
  return actionKind >= akWarning && actionKind <= akDocument ? static_cast<TActionPage>(actionKind)
                                                             : npNoAction;
}

int DaysFromText(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return 0;
  const size_t last = text.find_last_not_of(' ');
  std::string number = text.substr(first, last - first + 1);
  bool negative = false;
  if (number[0] == '-' || number[0] == '+') {
    negative = number[0] == '-';
    number.erase(0, 1);
  }
  const size_t comma = number.find(',');
  const std::string whole = number.substr(0, comma);
  const std::string fraction = comma == std::string::npos ? "" : number.substr(comma + 1);
  if (whole.empty() && fraction.empty()) return 0;
  if ((!whole.empty() && !AllDigits(whole)) || (!fraction.empty() && !AllDigits(fraction))) {
    return 0;
  }
  if (negative) return kDaysMin;
  int days = 0;
  for (char c : whole) {
    days = days * 10 + (c - '0');
    if (days > kDaysMax) return kDaysMax;
  }
  return days;
}

std::optional<std::string> FieldExitMessage(TParamField field, const std::string& text,
                                            const TFileExists& fileExists) {
  if (text.empty()) return std::nullopt;
  switch (field) {
    case TParamField::Email:
      if (!IsPlainEmailAddress(text)) return std::string(kEmailInvalidText);
      break;
    case TParamField::Website:
      if (!WebAddress(text)) return std::string(kWebsiteInvalidText);
      break;
    case TParamField::Program:
      if (!fileExists(text)) return std::string(kProgramMissingText);
      break;
    case TParamField::Document:
      if (!fileExists(text)) return std::string(kDocumentMissingText);
      break;
    case TParamField::None:
      break;
  }
  return std::nullopt;
}

bool FieldExit(TParamField field, const std::string& text, const TFileExists& fileExists,
               IMsgBox& box) {
  const std::optional<std::string> message = FieldExitMessage(field, text, fileExists);
  if (!message) return true;
  ShowMsgBox(box, *message, kFieldCheckCaption, mkError, mbOK);
  return false;
}

bool TryDatePickerText(const std::string& text, const TFormatSettings& fs, TDateTime& date) {
  std::array<std::string, 3> parts;
  size_t part = 0;
  for (char c : text) {
    if (c == fs.DateSeparator) {
      if (++part == parts.size()) return false;
    } else {
      parts[part] += c;
    }
  }
  if (part != parts.size() - 1) return false;
  // The order of day, month and year follows the first letter of each in the format.
  std::string order;
  for (char c : fs.ShortDateFormat) {
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if ((letter == 'd' || letter == 'm' || letter == 'y') && order.find(letter) == order.npos) {
      order += letter;
    }
  }
  if (order.size() != parts.size()) order = "dmy";
  int day = 0;
  int month = 0;
  int year = 0;
  for (size_t i = 0; i < parts.size(); ++i) {
    const std::string& digits = parts[i];
    const size_t width = order[i] == 'y' ? 4 : 2;
    if (!AllDigits(digits) || digits.size() > width || (order[i] == 'y' && digits.size() != 4)) {
      return false;
    }
    const int value = std::stoi(digits);
    (order[i] == 'd' ? day : order[i] == 'm' ? month : year) = value;
  }
  return TryEncodeDate(year, month, day, date);
}

}  // namespace reminder
