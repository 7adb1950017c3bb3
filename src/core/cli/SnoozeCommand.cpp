#include <string>

#include "core/cli/Commands.h"
#include "core/cli/RecordRewrite.h"
#include "core/store/Snooze.h"

namespace reminder {

namespace {

constexpr size_t kMaxSnoozeMinutes = 366 * 24 * 60;

}  // namespace

int RunSnooze(TCtlContext& context) {
  const std::string* minutesText = context.Args.Value("--minutes");
  if (!minutesText) {
    return context.Fail("Dem Befehl snooze fehlt die Option --minutes.", kExitUsage);
  }
  const size_t minutes = WholeNumber(*minutesText);
  if (minutes == 0 || minutes > kMaxSnoozeMinutes) {
    return context.Fail("Ungültige Anzahl Minuten: \"" + context.Shown(*minutesText) +
                        "\" (1 bis " + std::to_string(kMaxSnoozeMinutes) + ").");
  }
  const std::string& arg = context.Args.Positional[0];
  const size_t number = WholeNumber(arg);
  const TDateTime moment = context.Env.Clock.Now() + EncodeTime(0, static_cast<int>(minutes), 0, 0);
  TNotifyInfo snoozed;
  TRecordRewrite rewrite;
  rewrite.Each = [&](TStoredRecord& record) {
    if (record.Number() != number) return TRecordFate::Keep;
    SetSnooze(record.WithStrings(), moment);
    snoozed = record.WithStrings();
    return TRecordFate::Changed;
  };
  rewrite.Check = [&](size_t count) {
    if (number != 0 && number <= count) return true;
    FailNoReminder(context, arg, count);
    return false;
  };
  if (!RewriteDataFile(context, rewrite, false)) return kExitFailure;
  context.Print(ListLine(number, snoozed, context.Format));
  return kExitOk;
}

}  // namespace reminder
