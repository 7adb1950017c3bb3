#include <algorithm>
#include <optional>

#include "core/cli/Commands.h"
#include "core/cli/JsonRecords.h"
#include "core/cli/TerminalText.h"

namespace reminder {

int RunList(TCtlContext& context) {
  std::optional<TJsonRecords> json;
  if (context.Args.Has("--json")) json.emplace(context.Out, context.Format);
  const TListLines lines(context.Format);
  TTerminalLines out(context.Out, context.Env.Charset);
  std::string line;
  const bool read = ForEachStoredRecord(
      context,
      [&](size_t number, TNotifyInfo& record) {
        if (json) {
          json->Add(number, record);
        } else {
          lines.Make(line, number, record);
          out.Add(line);
        }
      },
      true);
  out.Flush();
  if (!read) return kExitFailure;
  if (json) json->Finish();
  return kExitOk;
}

int RunDelete(TCtlContext& context) {
  TCommandDataFile file(context.Env.Files, true);
  TStreamMsgBox box(context);
  TFileIO store(context.DataFile(), file, box);
  if (!LoadDataFile(context, store, file, false)) return kExitFailure;
  // Every number is checked before anything is deleted.
  std::vector<size_t> numbers;
  for (const std::string& arg : context.Args.Positional) {
    const size_t number = WholeNumber(arg);
    if (number == 0 || number > store.Count()) return FailNoReminder(context, arg, store.Count());
    numbers.push_back(number);
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  std::vector<const TNotifyInfo*> doomed;
  std::vector<std::string> lines;
  for (size_t number : numbers) {
    const TNotifyInfo& record = store.Item(number - 1);
    doomed.push_back(&record);
    lines.push_back("Erinnerung " + std::to_string(number) +
                    " gelöscht: " + OneLine(record.NotifyText));
  }
  // One pass and one save, however many are deleted.
  store.DeleteAll(doomed);
  if (!CommitDataFile(context, store, file)) return kExitFailure;
  for (const std::string& line : lines) context.Report(line);
  return kExitOk;
}

}  // namespace reminder
