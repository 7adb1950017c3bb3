#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/Fakes.h"
#include "core/TestDates.h"
#include "core/store/ActionTarget.h"
#include "core/store/RepeatRule.h"
#include "core/store/RuleText.h"
#include "core/ui/RemindFormRules.h"

namespace reminder {
namespace {

using namespace reminder::testing;

TNotifyInfo Reminder(uint8_t action, uint8_t repeat, TDateTime date, uint8_t kind = nkAtDate) {
  TNotifyInfo r;
  r.NotifyKind = kind;
  r.NotifyDate = date;
  r.ActionKind = action;
  r.RepeatKind = repeat;
  return r;
}

class RecordingActions : public IAlertActions {
 public:
  bool ShellOpen(void* owner, const std::string& target) override {
    calls.push_back("open " + target);
    owners.push_back(owner);
    return succeed;
  }
  bool LaunchProgram(const std::string& path, const std::string& parameters, int showState,
                     bool wait) override {
    calls.push_back("launch " + path + "|" + parameters + "|" + std::to_string(showState) + "|" +
                    (wait ? "wait" : "nowait"));
    return succeed;
  }
  bool ShutdownWindows(uint32_t flags) override {
    calls.push_back("exit " + std::to_string(flags));
    return succeed;
  }
  void HangUpConnection(void* owner) override {
    calls.push_back("hangup");
    owners.push_back(owner);
  }

  bool succeed = true;
  std::vector<std::string> calls;
  std::vector<void*> owners;
};

TEST(RemindFormCountdown, CountsFromThirtyToZeroAndCarriesOutAtTheThirtyFirstTick) {
  EXPECT_EQ(SecondsLeftText(kCountdownSeconds), "30 Sekunden");
  int ticks = 0;
  for (int expected = 29; expected >= 0; --expected) {
    const TCountdownStep step = CountdownTick(ticks);
    ticks = step.TickCount;
    EXPECT_EQ(step.Text, std::to_string(expected) + " Sekunden");
    EXPECT_FALSE(step.CarryOut) << "tick " << ticks;
  }
  const TCountdownStep last = CountdownTick(ticks);
  EXPECT_EQ(last.TickCount, 31);
  EXPECT_TRUE(last.CarryOut);
  EXPECT_EQ(last.Text, "");  // the label keeps "0 Sekunden"
}

TEST(RemindFormCountdown, OnlyProgramRestartShutdownAndHangUpCountDown) {
  std::string counting;
  for (int kind = 0; kind < kActionCount; ++kind) {
    if (CountsDown(static_cast<uint8_t>(kind))) counting += std::to_string(kind);
  }
  EXPECT_EQ(counting, "4678");
  EXPECT_FALSE(CountsDown(200));
}

TEST(RemindFormTexts, PanelShowsTheLongDateWithTwoTrailingBlanks) {
  EXPECT_EQ(PanelDateText(At(2000, 7, 24, 15, 30), GermanFormatSettings()),
            "Montag, 24. Juli 2000  ");
  TFormatSettings slash = GermanFormatSettings();
  slash.DateSeparator = '/';
  EXPECT_EQ(PanelDateText(At(2024, 3, 5), slash), "Dienstag, 05/ März 2024  ");
}

TEST(RemindFormTexts, ShowsWhenARepeatingReminderFiredElseItsOwnDate) {
  TNotifyInfo once = Reminder(akWarning, rkOnce, At(2024, 5, 10, 9));
  EXPECT_EQ(AlertDate(once), At(2024, 5, 10, 9));
  TNotifyInfo daily = Reminder(akNothing, rkDaily, At(2024, 1, 1, 9));
  daily.LastNotified = At(2024, 5, 10, 9, 1);
  EXPECT_EQ(AlertDate(daily), At(2024, 5, 10, 9, 1));
}

TEST(RemindFormLateRule, OnceOnlyIsLateAfterTenMinutesPastItsDate) {
  const TNotifyInfo r = Reminder(akShutdown, rkOnce, At(2024, 5, 10, 8));
  EXPECT_FALSE(FiredLate(r, At(2024, 5, 10, 8, 0, 30)));
  EXPECT_FALSE(FiredLate(r, At(2024, 5, 10, 8, 10)));
  EXPECT_TRUE(FiredLate(r, At(2024, 5, 10, 8, 10, 1)));
  EXPECT_TRUE(FiredLate(r, At(2024, 5, 13, 7, 55)));
}

TEST(RemindFormLateRule, RepeatingIsMeasuredFromItsTimeOnTheDayOfTheOccurrence) {
  const TNotifyInfo daily = Reminder(akRestart, rkDaily, At(2020, 1, 1, 22));
  EXPECT_FALSE(FiredLate(daily, At(2024, 5, 10, 22, 5)));
  EXPECT_TRUE(FiredLate(daily, At(2024, 5, 10, 23, 30)));

  // Mondays at 8:00; the computer was off until Wednesday.
  const TNotifyInfo weekly = Reminder(akShutdown, rkWeekly, At(2024, 1, 1, 8));
  EXPECT_EQ(DueMoment(weekly, At(2024, 5, 15, 8, 5)), At(2024, 5, 13, 8));
  EXPECT_TRUE(FiredLate(weekly, At(2024, 5, 15, 8, 5)));
  EXPECT_FALSE(FiredLate(weekly, At(2024, 5, 13, 8, 9)));

  const TNotifyInfo monthly = Reminder(akShutdown, rkMonthly, At(2024, 1, 15, 18));
  EXPECT_FALSE(FiredLate(monthly, At(2024, 6, 15, 18, 1)));
  EXPECT_TRUE(FiredLate(monthly, At(2024, 6, 15, 19)));

  const TNotifyInfo yearly = Reminder(akRestart, rkYearly, At(2020, 2, 29, 12));
  EXPECT_EQ(DueMoment(yearly, At(2023, 3, 2, 9)), At(2023, 2, 28, 12));
  EXPECT_TRUE(FiredLate(yearly, At(2023, 3, 2, 9)));
  EXPECT_FALSE(FiredLate(yearly, At(2024, 2, 29, 12, 3)));

  // Every 2 hours from 8:00: the one of 14:00, not the day's first, is measured.
  TNotifyInfo hourly = Reminder(akShutdown, rkDaily, At(2024, 5, 10, 8));
  std::string error;
  ASSERT_TRUE(SetRule(hourly, ParseRRule("FREQ=HOURLY;INTERVAL=2", hourly.NotifyDate, error)));
  EXPECT_EQ(DueMoment(hourly, At(2024, 5, 10, 15, 5)), At(2024, 5, 10, 14));
  EXPECT_FALSE(FiredLate(hourly, At(2024, 5, 10, 14, 9)));
  EXPECT_TRUE(FiredLate(hourly, At(2024, 5, 10, 15, 5)));
}

TEST(RemindFormLateRule, DialUpRemindersAreNeverLate) {
  const TNotifyInfo r = Reminder(akShutdown, rkOnce, At(2024, 1, 1, 8), nkDialUp);
  EXPECT_FALSE(FiredLate(r, At(2024, 5, 10, 8)));
}

TEST(RemindFormLayout, LateRestartOrShutdownSkipsTheCountdownAndSaysSo) {
  const TDateTime late = At(2024, 5, 10, 9);
  for (uint8_t kind : {akRestart, akShutdown}) {
    const TAlertLayout layout = AlertLayout(Reminder(kind, rkOnce, At(2024, 5, 10, 8)), late);
    EXPECT_FALSE(layout.Countdown) << int(kind);
    EXPECT_TRUE(layout.LateNote) << int(kind);
    const TAlertLayout onTime =
        AlertLayout(Reminder(kind, rkOnce, At(2024, 5, 10, 8)), At(2024, 5, 10, 8, 1));
    EXPECT_TRUE(onTime.Countdown) << int(kind);
    EXPECT_FALSE(onTime.LateNote) << int(kind);
  }
  // A late program start or hang-up still runs by itself.
  for (uint8_t kind : {akProgram, akHangUp}) {
    const TAlertLayout layout = AlertLayout(Reminder(kind, rkOnce, At(2024, 5, 10, 8)), late);
    EXPECT_TRUE(layout.Countdown) << int(kind);
    EXPECT_FALSE(layout.LateNote) << int(kind);
  }
  EXPECT_FALSE(AlertLayout(Reminder(akWebsite, rkOnce, At(2024, 5, 10, 8)), late).Countdown);
  EXPECT_NE(std::string(kLateActionText).find("übersprungen"), std::string::npos);
}

TEST(RemindFormPostpone, OfferedForOnceOnlyDateRemindersOnly) {
  EXPECT_TRUE(OffersPostpone(Reminder(akWarning, rkOnce, At(2024, 5, 10))));
  EXPECT_FALSE(OffersPostpone(Reminder(akWarning, rkOnce, At(2024, 5, 10), nkDialUp)));
  for (uint8_t repeat : {rkDaily, rkWeekly, rkMonthly, rkYearly}) {
    EXPECT_FALSE(OffersPostpone(Reminder(akWarning, repeat, At(2024, 5, 10)))) << int(repeat);
  }
  EXPECT_TRUE(AlertLayout(Reminder(akEmail, rkOnce, At(2024, 5, 10)), At(2024, 5, 10)).Postpone);
}

TEST(RemindFormPostpone, MovesTheDateKeepsTheTimeAndMakesThePendingAgain) {
  TNotifyInfo r = Reminder(akWarning, rkOnce, At(2024, 5, 10, 14, 30));
  r.Notified = 1;
  Postpone(r, At(2024, 5, 17, 9, 15));
  EXPECT_EQ(r.NotifyDate, At(2024, 5, 17, 14, 30));
  EXPECT_EQ(r.Notified, 0);
  EXPECT_EQ(r.LastNotified, 0.0);

  TNotifyInfo fired = Reminder(akWarning, rkOnce, At(2024, 5, 10, 14, 30));
  fired.LastNotified = At(2024, 5, 10, 14, 31);
  Postpone(fired, At(2024, 6, 1));
  EXPECT_EQ(fired.LastNotified, At(2024, 6, 1, 14, 31));
  EXPECT_EQ(fired.NotifyDate, At(2024, 5, 10, 14, 30));
}

TEST(RemindFormActions, EachKindMakesItsOneCall) {
  struct Case {
    uint8_t kind;
    std::string param;
    std::string call;
  };
  const std::vector<Case> cases = {
      {akEmail, "anna@example.org", "open mailto:anna@example.org"},
      {akWebsite, "http://example.org/", "open http://example.org/"},
      {akWebsite, "www.example.org", "open http://www.example.org"},
      {akProgram, "C:\\Tools\\app.exe", "launch C:\\Tools\\app.exe||5|nowait"},
      {akDocument, "C:\\Briefe\\a.txt", "open C:\\Briefe\\a.txt"},
      {akRestart, "", "exit 2"},
      {akShutdown, "", "exit 9"},
      {akHangUp, "", "hangup"},
  };
  int owner = 0;
  for (const Case& c : cases) {
    RecordingActions actions;
    FakeMsgBox box;
    CarryOutAction(c.kind, c.param, &owner, actions, box);
    ASSERT_EQ(actions.calls.size(), 1u) << int(c.kind);
    EXPECT_EQ(actions.calls[0], c.call);
    for (void* o : actions.owners) EXPECT_EQ(o, &owner);
    EXPECT_TRUE(box.shown.empty()) << int(c.kind);
  }
  for (uint8_t kind : {uint8_t{akNothing}, uint8_t{akWarning}, uint8_t{42}}) {
    RecordingActions actions;
    FakeMsgBox box;
    CarryOutAction(kind, "x", &owner, actions, box);
    EXPECT_TRUE(actions.calls.empty()) << int(kind);
    EXPECT_TRUE(box.shown.empty()) << int(kind);
  }
}

TEST(RemindFormActions, WhatIsNoWebAddressOrPlainEmailNeverReachesTheShell) {
  const std::vector<std::tuple<uint8_t, std::string, const char*>> cases = {
      {akWebsite, "C:\\Users\\Public\\x.bat", kWebsiteInvalidText},
      {akWebsite, "", kWebsiteInvalidText},
      {akEmail, "a@b.example?attach=C:\\x.bat", kEmailNotPlainText},
      {akEmail, "a@b.example&body=x", kEmailNotPlainText},
  };
  int alert = 0;
  for (const auto& [kind, param, text] : cases) {
    RecordingActions actions;
    FakeMsgBox box;
    CarryOutAction(kind, param, &alert, actions, box);
    EXPECT_TRUE(actions.calls.empty()) << param;
    ASSERT_EQ(box.shown.size(), 1u) << param;
    EXPECT_EQ(box.shown[0].text, text);
    EXPECT_TRUE(box.shown[0].owner == TMsgOwner::Window(&alert)) << param;
  }
}

TEST(RemindFormActions, FailuresAreReportedAsErrorsOnce) {
  const std::vector<std::tuple<uint8_t, std::string, std::string>> cases = {
      {akEmail, "a@b.example", "Konnte E-Mail Programm nicht öffnen!"},
      {akWebsite, "https://example.org", "Konnte Web Browser nicht öffnen!"},
      {akProgram, "ziel", "Konnte Programm nicht öffnen!"},
      {akDocument, "ziel", "Konnte Dokument nicht öffnen!"},
      {akRestart, "", "Konnte Windows nicht beenden!"},
      {akShutdown, "", "Konnte Windows nicht beenden!"},
  };
  int alert = 0;
  for (const auto& [kind, param, text] : cases) {
    RecordingActions actions;
    actions.succeed = false;
    FakeMsgBox box;
    CarryOutAction(kind, param, &alert, actions, box);
    EXPECT_EQ(actions.calls.size(), 1u) << int(kind);  // nothing is retried
    ASSERT_EQ(box.shown.size(), 1u) << int(kind);
    EXPECT_EQ(box.shown[0].text, text);
    EXPECT_EQ(box.shown[0].caption, "Fehler");
    EXPECT_EQ(box.shown[0].style, MsgBoxStyle(mkError, mbOK));
    // Owned by the alert, so that it stays in front of it and the alert waits for it.
    EXPECT_TRUE(box.shown[0].owner == TMsgOwner::Window(&alert)) << int(kind);
  }
  // The hang-up reports by itself.
  EXPECT_EQ(ActionFailureText(akHangUp), nullptr);
}

}  // namespace
}  // namespace reminder
