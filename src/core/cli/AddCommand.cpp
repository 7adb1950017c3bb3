#include <optional>
#include <utility>

#include "core/cli/Commands.h"
#include "core/cli/KindKeys.h"
#include "core/cli/RecordRewrite.h"
#include "core/cli/TerminalText.h"
#include "core/common/MyTools.h"
#include "core/store/RepeatRule.h"
#include "core/store/RuleText.h"
#include "core/ui/AddNotifyEventRules.h"

namespace reminder {

namespace {

// The index of a value given as its key, its number or (for the tables that have one) its
// German display text, which is compared without regard to case.
std::optional<int> Choice(const std::string& value, const char* const* keys, int count, int first,
                          const char* (*displayName)(uint8_t)) {
  for (int i = first; i < count; ++i) {
    if (value == keys[i] || value == std::to_string(i)) return i;
    if (displayName && UpperCaseGerman(value) == UpperCaseGerman(displayName(i))) return i;
  }
  return std::nullopt;
}

// A whole number within the editor's range; the editor's field would round or limit any
// other, which a script would not notice.
bool IsDaysInRange(const std::string& text) {
  if (text.empty() || text.size() > 2) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  const int days = std::stoi(text);
  return days >= kDaysMin && days <= kDaysMax;
}

// The editor's model filled from the options, or a message why it cannot be.
class TAddOptions {
 public:
  explicit TAddOptions(TCtlContext& context) : context_(context), model_(context.Env.Clock.Now()) {
    // The editor shows its choice of "Nichts tun", which never reminds; a reminder added
    // here without --action warns on its day instead.
    model_.ActionCBChange(akWarning);
    model_.DaysEdit = "0";
  }

  std::optional<TNotifyInfo> Read() {
    if (!ReadTrigger() || !ReadDateTime() || !ReadText() || !ReadAction() || !ReadRepeat() ||
        !ReadDays()) {
      return std::nullopt;
    }
    if (!Check()) return std::nullopt;
    TNotifyInfo record = model_.ToNotifyInfo();
    return ReadRule(record) ? std::optional<TNotifyInfo>(record) : std::nullopt;
  }

 private:
  const std::string* Option(const char* name) const { return context_.Args.Value(name); }

  bool Fail(const std::string& message) {
    context_.Fail(message);
    return false;
  }

  // A text in Windows-1252, as the data file stores it.
  bool Text(const char* name, std::string& cp1252) {
    const std::string* value = Option(name);
    if (!value) return true;
    if (!FromTerminal(*value, context_.Env.Charset, cp1252)) {
      return Fail(std::string("Der Wert von ") + name +
                  " enthält Zeichen, die es in Windows-1252 nicht gibt.");
    }
    if (cp1252.size() > kMaxFieldLength) {
      return Fail(std::string("Der Wert von ") + name + " ist länger als " +
                  std::to_string(kMaxFieldLength) + " Zeichen.");
    }
    return true;
  }

  bool ReadTrigger() {
    const std::string* value = Option("--trigger");
    if (!value) return true;
    const std::optional<int> trigger =
        Choice(*value, kTriggerKeys, kTriggerButtonCount, 0, nullptr);
    if (!trigger) return Fail("Unbekannter Auslöser: \"" + context_.Shown(*value) + "\".");
    if (*trigger != model_.TriggerRB) model_.RBClick(*trigger);
    return true;
  }

  bool ReadDateTime() {
    const std::string* date = Option("--date");
    const std::string* time = Option("--time");
    if ((date || time) && !model_.DateControlsEnabled()) {
      return Fail("--date und --time gelten nur mit --trigger date.");
    }
    if (date) {
      TDateAndTime given;
      if (!ParseDateText(*date, context_.Format, given)) {
        return Fail("Ungültiges Datum: \"" + context_.Shown(*date) +
                    "\" (erwartet TT.MM.JJJJ oder JJJJ-MM-TT, auch mit Uhrzeit).");
      }
      if (given.Time && time) return Fail("--date nennt schon eine Uhrzeit; --time entfällt dann.");
      model_.DatePicker = given.Date;
      if (given.Time) model_.TimePicker = *given.Time;
    }
    if (time && !ParseTimeText(*time, model_.TimePicker)) {
      return Fail("Ungültige Uhrzeit: \"" + context_.Shown(*time) +
                  "\" (erwartet hh:mm oder hh:mm:ss).");
    }
    return true;
  }

  bool ReadText() { return Text("--text", model_.notText); }

  bool ReadAction() {
    if (const std::string* value = Option("--action")) {
      std::string name;
      FromTerminal(*value, context_.Env.Charset, name);
      const std::optional<int> action = Choice(name, kActionKeys, kActionCount, 0, ActionName);
      if (!action) return Fail("Unbekannte Aktion: \"" + context_.Shown(*value) + "\".");
      model_.ActionCBChange(*action);
    }
    const TParamField field = ParamFieldOf(model_.ActionCB);
    if (!Option("--param")) return true;
    if (field == TParamField::None) {
      return Fail(std::string("Die Aktion \"") + ActionName(model_.ActionCB) +
                  "\" hat keinen Parameter.");
    }
    return Text("--param", *model_.ParamText(field));
  }

  bool ReadRepeat() {
    const std::string* value = Option("--repeat");
    if (!value) return true;
    std::string name;
    FromTerminal(*value, context_.Env.Charset, name);
    const std::optional<int> repeat = Choice(name, kRepeatKeys, kRepeatCount, rkOnce, RepeatName);
    if (!repeat) return Fail("Unbekannte Wiederholung: \"" + context_.Shown(*value) + "\".");
    if (*repeat != rkOnce && !model_.LaterRepeatsEnabled()) {
      return Fail("Eine Erinnerung an die DFÜ-Verbindung erinnert nur einmal.");
    }
    model_.RepeatRB = *repeat - rkOnce;
    return true;
  }

  bool ReadRule(TNotifyInfo& record) {
    const std::string* value = Option("--rrule");
    if (!value) return true;
    if (Option("--repeat")) return Fail("--rrule und --repeat schließen einander aus.");
    if (record.NotifyKind != nkAtDate) return Fail("--rrule gilt nur mit --trigger date.");
    std::string error;
    const std::optional<TRepeatRule> rule = ParseRRule(*value, record.NotifyDate, error);
    if (!rule)
      return Fail("Die Regel \"" + context_.Shown(*value) + "\" geht nicht: " + error + ".");
    SetRule(record, rule);
    return true;
  }

  bool ReadDays() {
    const std::string* value = Option("--days");
    if (!value) return true;
    if (!IsDaysInRange(*value)) {
      return Fail("Ungültige Anzahl Tage: \"" + context_.Shown(*value) + "\" (" +
                  std::to_string(kDaysMin) + " bis " + std::to_string(kDaysMax) + ").");
    }
    model_.DaysEdit = *value;
    return true;
  }

  // The editor's OK state and its field check, with its own words where it has them.
  bool Check() {
    if (model_.notText.empty()) return Fail("Der Text der Erinnerung fehlt (--text).");
    if (!model_.OKEnabled()) {
      return Fail(std::string("Die Aktion \"") + ActionName(model_.ActionCB) +
                  "\" braucht einen Parameter (--param).");
    }
    const TParamField field = ParamFieldOf(model_.ActionCB);
    if (field == TParamField::None) return true;
    const std::optional<std::string> message =
        FieldExitMessage(field, *model_.ParamText(field), context_.Env.FileExists);
    return message ? Fail(*message) : true;
  }

  TCtlContext& context_;
  TAddNotifyEventModel model_;
};

}  // namespace

int RunAdd(TCtlContext& context) {
  std::optional<TNotifyInfo> record = TAddOptions(context).Read();
  if (!record) return kExitFailure;
  TRecordRewrite rewrite;
  // As given, so that the rule in its reserved bytes comes along.
  rewrite.Appended.push_back(std::move(*record));
  size_t count = 0;
  rewrite.Check = [&count](size_t read) {
    count = read;
    return true;
  };
  if (!RewriteDataFile(context, rewrite, true)) return kExitFailure;
  context.Print(ListLine(count + 1, rewrite.Appended.back(), context.Format));
  return kExitOk;
}

}  // namespace reminder
