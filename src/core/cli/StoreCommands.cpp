#include <algorithm>
#include <optional>

#include "core/cli/Commands.h"
#include "core/cli/JsonRecords.h"
#include "core/cli/RecordRewrite.h"
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
  std::vector<size_t> numbers;
  for (const std::string& arg : context.Args.Positional) numbers.push_back(WholeNumber(arg));
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  // The records come in the order of their numbers: one pass over both.
  auto next = std::lower_bound(numbers.begin(), numbers.end(), size_t{1});
  std::vector<std::string> lines;
  TRecordRewrite rewrite;
  rewrite.Each = [&](TStoredRecord& record) {
    if (next == numbers.end() || *next != record.Number()) return TRecordFate::Keep;
    ++next;
    lines.push_back("Erinnerung " + std::to_string(record.Number()) +
                    " gelöscht: " + OneLine(record.WithStrings().NotifyText));
    return TRecordFate::Drop;
  };
  // Every number is checked before the new file takes the old one's place.
  rewrite.Check = [&context](size_t count) {
    for (const std::string& arg : context.Args.Positional) {
      const size_t number = WholeNumber(arg);
      if (number == 0 || number > count) {
        FailNoReminder(context, arg, count);
        return false;
      }
    }
    return true;
  };
  if (!RewriteDataFile(context, rewrite, false)) return kExitFailure;
  for (const std::string& line : lines) context.Report(line);
  return kExitOk;
}

}  // namespace reminder
