#include <string>

#include "core/cli/Commands.h"
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
  TCommandDataFile file(context.Env.Files, true);
  TStreamMsgBox box(context);
  TFileIO store(context.DataFile(), file, box);
  if (!LoadDataFile(context, store, file, false)) return kExitFailure;
  const std::string& arg = context.Args.Positional[0];
  const size_t number = WholeNumber(arg);
  if (number == 0 || number > store.Count()) return FailNoReminder(context, arg, store.Count());
  TNotifyInfo& record = store.Item(number - 1);
  SetSnooze(record, context.Env.Clock.Now() + EncodeTime(0, static_cast<int>(minutes), 0, 0));
  store.Save();
  if (!CommitDataFile(context, store, file)) return kExitFailure;
  context.Print(ListLine(number, record, context.Format));
  return kExitOk;
}

}  // namespace reminder
