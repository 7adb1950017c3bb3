// What the reminder editor decides, as values of its controls: the creation defaults, when
// OK is enabled, what a trigger or an action choice enables and shows, the checks of the
// parameter fields, the days field, and how the controls map to and from a reminder. The
// dialog binds these to its controls; tools that compose reminders use the same rules.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "core/common/DateTime.h"
#include "core/common/FormatSettings.h"
#include "core/host/WMsgBox.h"
#include "core/store/NotifyInfo.h"
#include "core/ui/RepeatPageRules.h"

namespace reminder {

// No radio button of a group checked, no item of a list selected.
constexpr int kNoChoice = -1;
// The trigger buttons notRB1, notRB2, notRB3: a button's index is the trigger kind it sets.
constexpr int kTriggerButtonCount = 3;
// The repetition buttons repOnce ... repOncePerYear: a button's index + 1 is its kind.
constexpr int kRepeatButtonCount = 5;
// The button "alle", after them: the extended rule of the page's further controls.
constexpr int kRuleButton = kRepeatButtonCount;

// The pages of the action notebook, in their order.
enum TActionPage : int {
  npNoAction = 0,
  npWarn = 1,
  npEMail = 2,
  npWebsite = 3,
  npExecProgram = 4,
  npOpenDocument = 5,
};

// The parameter fields of the action pages.
enum class TParamField { None, Email, Website, Program, Document };

// The data file stores a text with a 16-bit length, so the text field and the parameter
// fields hold no more characters than that can count.
constexpr size_t kMaxFieldLength = 65535;

constexpr int kDaysMin = 0;
constexpr int kDaysMax = 30;
constexpr int kDaysDefault = 3;

// The creation defaults put the reminder this far (20 minutes) after the current time.
constexpr TDateTime kDefaultLeadTime = 20.0 / (24 * 60);

constexpr char kFieldCheckCaption[] = "Fehler";
constexpr char kProgramMissingText[] = "Das angegebene Programm existiert nicht!";
constexpr char kDocumentMissingText[] = "Das angegebene Dokument existiert nicht!";
constexpr char kEmailInvalidText[] = "Bitte geben Sie die E-Mail Adresse korrekt an!";

constexpr char kProgramFilter[] = "Anwendungen|*.exe|Alle Dateien|*.*";
constexpr char kDocumentFilter[] = "Dokumente|*.doc;*.txt;*.htm;*.html|Alle Dateien|*.*";

// Whether a file of that name exists; the shell asks the file system, tests pass a set.
using TFileExists = std::function<bool(const std::string&)>;

// The editor's controls as values, named after the controls they stand for.
struct TAddNotifyEventModel {
  // The creation defaults: the current time plus 20 minutes in the date and time fields,
  // the date trigger, no text, "Nichts tun", 3 days, "nur einmal".
  explicit TAddNotifyEventModel(TDateTime now);

  int TriggerRB = nkAtDate;  // index of the checked trigger button
  TDateTime DatePicker = 0;  // whole days
  TDateTime TimePicker = 0;  // time of day, a fraction of a day
  std::string notText;
  int ActionCB = akNothing;  // item index, kNoChoice when nothing is selected
  std::string EmailEdit;
  std::string WebsiteEdit;
  std::string ProgramEdit;
  std::string DocumentEdit;
  std::string DaysEdit;
  int RepeatRB = 0;  // index of the checked repetition button, kRuleButton, or kNoChoice
  TRepeatPageModel Rule;

  // UpdateOKBtn: a text, and for the actions with a parameter, that parameter too.
  bool OKEnabled() const;

  // RBClick after the user checked a trigger button: the dial-up trigger can only fire
  // once, so it checks "nur einmal".
  void RBClick(int triggerButton);
  // DatePicker, TimePicker, atLabel, atNotifyLabel, DaysEdit and DaysLabel: only for the
  // date trigger.
  bool DateControlsEnabled() const;
  // repOncePerDay ... repOncePerYear and "alle": for every trigger but the dial-up one.
  bool LaterRepeatsEnabled() const;
  // The controls of the extended rule follow "alle" being checked and enabled.
  bool RuleChecked() const;

  // ActionCBChange after the user chose an action: returns the parameter field that takes
  // the focus (None when the page has none). The other fields keep their texts.
  TParamField ActionCBChange(int actionIndex);
  // The notebook page that shows the options of the selected action.
  TActionPage ActionNB() const;

  // The text of a parameter field; null for None.
  std::string* ParamText(TParamField field);
  const std::string* ParamText(TParamField field) const;

  // Sets the controls from a reminder, as the change command does: trigger first, with the
  // effect of a click when it checks another button; the parameter only into the field of
  // its kind; every repetition button set or cleared.
  void Fill(const TNotifyInfo& record);
  // The reminder the controls describe: pending, never fired, reserved fields zero, the
  // parameter only of the chosen action, the extended rule when "alle" is checked (and the
  // repetition its base); the form the store's Add takes.
  TNotifyInfo ToNotifyInfo() const;
};

// The text as a field holds it: cut after kMaxFieldLength characters.
std::string LimitFieldText(const std::string& text);

// The action kind's parameter field, or None for the kinds without a parameter.
TParamField ParamFieldOf(int actionKind);
// The notebook page of an action kind; the kinds without options show page 0.
TActionPage ActionPageOf(int actionKind);

// The days field's value: a whole number 0..30 (beyond 30 reads as 30, below 0 as 0, a
// fraction after the decimal comma is cut off, blanks around the number are ignored); a
// text that is not a number reads as 0.
int DaysFromText(const std::string& text);

// The message for a parameter field the focus leaves, or none when it passes. An empty
// field is never checked (OK stays disabled for it); an e-mail address must be plain, a web
// address must be one, a program or document must exist.
std::optional<std::string> FieldExitMessage(TParamField field, const std::string& text,
                                            const TFileExists& fileExists);
// Runs that check and shows its message as an error box; false when the focus has to go
// back into the field.
bool FieldExit(TParamField field, const std::string& text, const TFileExists& fileExists,
               IMsgBox& box);

// A date as the date field takes it: day, month and four-digit year in the order of the
// short date format, parted by the date separator. False, and the date left alone, for a
// text that is no existing date: the field refuses it.
bool TryDatePickerText(const std::string& text, const TFormatSettings& fs, TDateTime& date);

}  // namespace reminder
