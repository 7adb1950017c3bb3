#include <optional>
#include <string>

#include "core/cli/Commands.h"
#include "core/common/FormatDateTime.h"
#include "core/store/NextDates.h"
#include "core/ui/NextDatesText.h"

namespace reminder {

namespace {

constexpr size_t kMaxNextCount = 1000;

}  // namespace

int RunNext(TCtlContext& context) {
  size_t count = kNextDatesShown;
  if (const std::string* countText = context.Args.Value("--count")) {
    count = WholeNumber(*countText);
    if (count == 0 || count > kMaxNextCount) {
      return context.Fail("Ungültige Anzahl: \"" + context.Shown(*countText) + "\" (1 bis " +
                          std::to_string(kMaxNextCount) + ").");
    }
  }
  TDateTime from = 0;
  if (!MomentOfAt(context, from)) return kExitFailure;
  const std::string& arg = context.Args.Positional[0];
  const size_t number = WholeNumber(arg);
  std::optional<TNotifyInfo> record;
  size_t stored = 0;
  // The file is read only as far as the record; the rest is read only to count them.
  const bool read = ForEachStoredRecord(
      context,
      [&](TStoredRecord& r) {
        stored = r.Number();
        if (stored != number) return true;
        record = r.WithStrings();
        return false;
      },
      false, false);
  if (!read) return kExitFailure;
  if (!record) return FailNoReminder(context, arg, stored);
  const TNextDates next = NextDates(*record, from, count);
  if (next.Moments.empty()) context.Print(NeverText(next.Reason));
  for (TDateTime moment : next.Moments) {
    context.Print(FormatDateTime("ddddd tt", moment, context.Format));
  }
  return kExitOk;
}

}  // namespace reminder
