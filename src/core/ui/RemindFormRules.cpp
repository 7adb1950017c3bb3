#include "core/ui/RemindFormRules.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/common/FormatDateTime.h"
#include "core/store/ActionTarget.h"
#include "core/store/DueRules.h"
#include "core/store/RepeatRule.h"
#include "core/store/RuleOccurrences.h"

namespace reminder {

const char* const kAlertCaption = "Zelto - Reminder";
const char* const kLateActionText =
    "Die automatische Aktion wurde übersprungen, weil die Erinnerung verspätet kam.";

TDateTime AlertDate(const TNotifyInfo& record) {
  return record.LastNotified != 0.0 ? record.LastNotified : record.NotifyDate;
}

std::string PanelDateText(TDateTime today, const TFormatSettings& fs) {
  return FormatDateTime("dddd\",\" dd/ mmmm yyyy  ", today, fs);
}

std::string SecondsLeftText(int secondsLeft) {
  return std::to_string(secondsLeft) + " Sekunden";
}

bool CountsDown(uint8_t actionKind) {
  return actionKind == akProgram || actionKind == akRestart || actionKind == akShutdown ||
         actionKind == akHangUp;
}

TCountdownStep CountdownTick(int tickCount) {
  TCountdownStep step;
  step.TickCount = tickCount + 1;
  const int secondsLeft = kCountdownSeconds - step.TickCount;
  if (secondsLeft >= 0) step.Text = SecondsLeftText(secondsLeft);
  step.CarryOut = step.TickCount > kCountdownSeconds;
  return step;
}

namespace {

bool EndsSession(uint8_t actionKind) {
  return actionKind == akRestart || actionKind == akShutdown;
}

TDateTime OnDay(int64_t day, TDateTime timeOf) {
  return static_cast<TDateTime>(day) + TimeOfDay(timeOf);
}

int64_t CivilDay(int year, int month, int day) {
  return DaysFromCivil(year, month, std::min(day, DaysInMonth(year, month)));
}

}  // namespace

TDateTime DueMoment(const TNotifyInfo& record, TDateTime firedAt) {
  const auto day = static_cast<int64_t>(std::trunc(firedAt));
  const TDateParts fired = DecodeDate(firedAt);
  const TDateParts own = DecodeDate(record.NotifyDate);
  TDateTime due = record.NotifyDate - LeadDays(record);
  if (const std::optional<TRepeatRule> rule = RuleOf(record)) {
    const std::optional<TDateTime> alarm =
        LastAlarm(*rule, record.NotifyDate, LeadDays(record), firedAt);
    return std::min(alarm.value_or(due), firedAt);
  }
  switch (record.RepeatKind) {
    case rkDaily:
      due = OnDay(day, record.NotifyDate);
      break;
    case rkWeekly: {
      const int sinceOwnWeekday = (DayOfWeek(firedAt) - DayOfWeek(record.NotifyDate) + 7) % 7;
      due = OnDay(day - sinceOwnWeekday, record.NotifyDate);
      break;
    }
    case rkMonthly:
      if (fired.Year != 0 && own.Year != 0) {
        due = OnDay(CivilDay(fired.Year, fired.Month, own.Day), record.NotifyDate);
      }
      break;
    case rkYearly:
      if (fired.Year != 0 && own.Year != 0) {
        due = OnDay(CivilDay(fired.Year, own.Month, own.Day), record.NotifyDate);
      }
      break;
    default:
      break;
  }
  // An occurrence cannot be due after it fired.
  return std::min(due, firedAt);
}

bool FiredLate(const TNotifyInfo& record, TDateTime firedAt) {
  if (record.NotifyKind != nkAtDate) return false;
  // Compared in whole milliseconds, so that exactly ten minutes is not late.
  const double lateMs = std::round((firedAt - DueMoment(record, firedAt)) * kMSecsPerDay);
  return lateMs > std::round(kLateLimitDays * kMSecsPerDay);
}

TAlertLayout AlertLayout(const TNotifyInfo& record, TDateTime firedAt) {
  TAlertLayout layout;
  layout.LateNote = EndsSession(record.ActionKind) && FiredLate(record, firedAt);
  layout.Countdown = CountsDown(record.ActionKind) && !layout.LateNote;
  layout.Postpone = OffersPostpone(record);
  return layout;
}

bool OffersPostpone(const TNotifyInfo& record) {
  return record.NotifyKind == nkAtDate && record.RepeatKind == rkOnce;
}

void Postpone(TNotifyInfo& record, TDateTime newDate) {
  TDateTime& moved = record.LastNotified != 0.0 ? record.LastNotified : record.NotifyDate;
  moved = EncodeDateTime(DecodeDate(newDate), DecodeTime(moved));
  record.Notified = 0;
}

const char* ActionFailureText(uint8_t actionKind) {
  switch (actionKind) {
    case akEmail:
      return "Konnte E-Mail Programm nicht öffnen!";
    case akWebsite:
      return "Konnte Web Browser nicht öffnen!";
    case akProgram:
      return "Konnte Programm nicht öffnen!";
    case akDocument:
      return "Konnte Dokument nicht öffnen!";
    case akRestart:
    case akShutdown:
      return "Konnte Windows nicht beenden!";
    default:
      return nullptr;
  }
}

void CarryOutAction(uint8_t actionKind, const std::string& param, void* ownerWindow,
                    IAlertActions& actions, IMsgBox& msgBox) {
  const auto refuse = [&](const char* text) {
    ShowMsgBox(msgBox, text, "", mkError, mbOK, TMsgOwner::Window(ownerWindow));
  };
  bool done = true;
  switch (actionKind) {
    case akEmail:
      if (!IsPlainEmailAddress(param)) return refuse(kEmailNotPlainText);
      done = actions.ShellOpen(ownerWindow, "mailto:" + param);
      break;
    case akWebsite: {
      const std::optional<std::string> address = WebAddress(param);
      if (!address) return refuse(kWebsiteInvalidText);
      done = actions.ShellOpen(ownerWindow, *address);
      break;
    }
    case akDocument:
      done = actions.ShellOpen(ownerWindow, param);
      break;
    case akProgram:
      done = actions.LaunchProgram(param, "", kShowStateShow, false);
      break;
    case akRestart:
      done = actions.ShutdownWindows(kExitReboot);
      break;
    case akShutdown:
      done = actions.ShutdownWindows(kExitShutdown | kExitPowerOff);
      break;
    case akHangUp:
      actions.HangUpConnection(ownerWindow);
      break;
    default:
      break;
  }
  if (!done) refuse(ActionFailureText(actionKind));
}

const TSnoozeChoice kSnoozeChoices[7] = {
    {"5 Minuten", 5},
    {"10 Minuten", 10},
    {"15 Minuten", 15},
    {"30 Minuten", 30},
    {"1 Stunde", 60},
    {"2 Stunden", 120},
    {"morgen um diese Zeit", 24 * 60},
};

TDateTime SnoozeUntil(TDateTime now, const TSnoozeChoice& choice) {
  return now + choice.Minutes / (24.0 * 60.0);
}

}  // namespace reminder
