// The rules of the alert window: its texts, the countdown, which actions run by themselves,
// when a restart or shutdown came too late to run, postponing, and how each action is
// carried out and reported.
#pragma once

#include <cstdint>
#include <string>

#include "core/common/DateTime.h"
#include "core/common/FormatSettings.h"
#include "core/host/WMsgBox.h"
#include "core/store/NotifyInfo.h"

namespace reminder {

constexpr int kCountdownSeconds = 30;
// A restart or shutdown that fires later than this after it was due does not run by itself.
constexpr double kLateLimitDays = 10.0 / (24.0 * 60.0);

extern const char* const kAlertCaption;
extern const char* const kLateActionText;

// The date the alert shows: when a repeating reminder fired, else its own date.
TDateTime AlertDate(const TNotifyInfo& record);
// The title strip's date, e.g. "Montag, 24. Juli 2000" followed by two blanks.
std::string PanelDateText(TDateTime today, const TFormatSettings& fs);
// "30 Sekunden" ... "0 Sekunden".
std::string SecondsLeftText(int secondsLeft);

// Program, restart, shutdown and hang-up run by themselves at the end of a countdown.
bool CountsDown(uint8_t actionKind);

// One countdown tick: the tick count after it, the text to show (empty once it has run
// out) and whether the action is now carried out and the window closed.
struct TCountdownStep {
  int TickCount = 0;
  std::string Text;
  bool CarryOut = false;
};
TCountdownStep CountdownTick(int tickCount);

// The moment a reminder that fired at firedAt was due: a once-only one at its date, a
// repeating one at its time of day on the day of the occurrence that fired.
TDateTime DueMoment(const TNotifyInfo& record, TDateTime firedAt);
// A date reminder that fired more than kLateLimitDays after it was due.
bool FiredLate(const TNotifyInfo& record, TDateTime firedAt);

// The choices of "Später erinnern:", in the order shown: a text and the wait in minutes.
struct TSnoozeChoice {
  const char* Text;
  int Minutes;
};
extern const TSnoozeChoice kSnoozeChoices[7];
// When a reminder snoozed at now with that choice fires again; "morgen um diese Zeit" is
// the same time of day on the next day.
TDateTime SnoozeUntil(TDateTime now, const TSnoozeChoice& choice);

// How the alert for a record that fired at firedAt looks.
struct TAlertLayout {
  bool Countdown = false;  // the timer runs, "Aktion ausführen in:" and the seconds show
  bool LateNote = false;   // the automatic action was skipped: kLateActionText shows
  bool Postpone = false;   // "Termin verschieben:" and the date field show
};
TAlertLayout AlertLayout(const TNotifyInfo& record, TDateTime firedAt);

// Postponing is offered for once-only date reminders only: moving a repeating reminder's
// last firing would make it fire again at the next check instead of later.
bool OffersPostpone(const TNotifyInfo& record);
// Moves the record to the day of newDate, keeping its time of day, and makes it pending.
void Postpone(TNotifyInfo& record, TDateTime newDate);

// What the alert may do to the machine. The shell carries these out; tests record them.
class IAlertActions {
 public:
  virtual ~IAlertActions() = default;
  // The shell's "open" of target, owned by the given window; false when the shell failed.
  virtual bool ShellOpen(void* ownerWindow, const std::string& target) = 0;
  // True when a process was started.
  virtual bool LaunchProgram(const std::string& path, const std::string& parameters, int showState,
                             bool waitForInputIdle) = 0;
  // Restart or shutdown; true when the system accepted the request.
  virtual bool ShutdownWindows(uint32_t flags) = 0;
  // Hangs up the dial-up connection; reports by itself, in boxes owned by the window given.
  virtual void HangUpConnection(void* ownerWindow) = 0;
};

constexpr int kShowStateShow = 5;
constexpr uint32_t kExitShutdown = 0x1;
constexpr uint32_t kExitReboot = 0x2;
constexpr uint32_t kExitPowerOff = 0x8;

// The error text of a failed action; null for the kinds that cannot fail here.
const char* ActionFailureText(uint8_t actionKind);

// Carries out the action of kind with its parameter (the link's Url); a failure is shown
// as an error box owned by ownerWindow, so that the window stays behind it until it is
// answered. A website that is no web address and an e-mail address that is not plain are
// refused the same way, without reaching the shell. Kinds without an action, and unknown
// ones, do nothing.
void CarryOutAction(uint8_t actionKind, const std::string& param, void* ownerWindow,
                    IAlertActions& actions, IMsgBox& msgBox);

}  // namespace reminder
