#include <memory>
#include <optional>
#include <ostream>

#include "core/cli/Commands.h"
#include "core/cli/FixedSeams.h"
#include "core/cli/JsonRecords.h"
#include "core/cli/TerminalText.h"
#include "core/common/FormatDateTime.h"
#include "core/store/DueRules.h"
#include "core/store/ReminderClassUnit.h"
#include "core/store/Snooze.h"

namespace reminder {

namespace {

// One line per fired reminder: its number, the date its alert window shows, the text, the
// action and its parameter; with --json an object each. The output goes out in parts, so
// that many firings are never held whole.
class TDueOutput {
 public:
  explicit TDueOutput(const TCtlContext& context)
      : date_("c", context.Format), lines_(context.Out, context.Env.Charset) {
    if (context.Args.Has("--json")) json_.emplace(context.Out, context.Format);
  }

  void Add(size_t number, const TNotifyInfo& fired) {
    ++count_;
    if (json_) {
      json_->Add(number, fired);
    } else {
      AddLine(number, fired);
    }
  }

  // Writes the rest; the exit code tells whether anything was due.
  int Finish() {
    if (json_) {
      json_->Finish();
    } else {
      lines_.Flush();
    }
    return count_ > 0 ? kExitOk : kExitNothingDue;
  }

 private:
  void AddLine(size_t number, const TNotifyInfo& fired) {
    const TDateTime shown = fired.LastNotified != 0.0 ? fired.LastNotified : fired.NotifyDate;
    // Repeating reminders that fire together show the same moment.
    if (shown != lastShown_ || lastText_.empty()) {
      lastShown_ = shown;
      lastText_.clear();
      date_.Append(lastText_, shown);
    }
    line_ = std::to_string(number);
    line_ += '\t';
    line_ += lastText_;
    line_ += '\t';
    AppendOneLine(line_, fired.NotifyText);
    line_ += '\t';
    line_ += ActionName(fired.ActionKind);
    line_ += '\t';
    AppendOneLine(line_, fired.ActionParam);
    lines_.Add(line_);
  }

  const TCompiledDateFormat date_;
  std::optional<TJsonRecords> json_;
  size_t count_ = 0;
  TTerminalLines lines_;
  std::string line_;
  TDateTime lastShown_ = 0;
  std::string lastText_;
};

// The module's check with its own scheduler, which records the firings in the file.
int DueWithWrite(TCtlContext& context, TDateTime now, bool connected) {
  TFixedClock clock(now);
  TFixedDialUp dialUp(connected);
  TCommandDataFile file(context.Env.Files, true);
  TStreamMsgBox box(context);
  TReminder scheduler(context.DataFile(), file, box, std::make_unique<TIdleTimer>(), clock, dialUp);
  if (!LoadDataFile(context, scheduler, file, true)) return kExitFailure;
  std::vector<const TNotifyInfo*> fired;
  scheduler.SetOnNotify([&fired](TReminder&, TNotifyInfo& record) { fired.push_back(&record); });
  scheduler.CheckNotifications();
  if (!CommitDataFile(context, scheduler, file)) return kExitFailure;
  // The check goes through the list in order, so one pass finds the numbers.
  TDueOutput output(context);
  size_t next = 0;
  for (size_t i = 0; i < scheduler.Count() && next < fired.size(); ++i) {
    if (&scheduler.Item(i) == fired[next]) output.Add(i + 1, *fired[next++]);
  }
  return output.Finish();
}

// Without --write nothing is recorded, so the records need not be kept: each is checked
// by the scheduler's rules as it is read, as CheckNotifications goes through its list, and
// marked as it would mark it, for the line.
int DueReadOnly(TCtlContext& context, TDateTime now, bool connected) {
  const TCheckMoment moment(now);
  TDueOutput output(context);
  const bool read = ForEachStoredRecord(
      context,
      [&](TStoredRecord& stored) {
        // The fixed fields decide; only a record that fires has its strings decoded.
        TNotifyInfo& record = stored.Fields();
        const bool byRule = record.Notified == 0 &&
                            (record.NotifyKind == nkDialUp ? connected
                                                           : record.NotifyKind == nkAtDate &&
                                                                 IsDateReminderDue(record, moment));
        const bool bySnooze = IsSnoozeDue(record, now);
        if (!byRule && !bySnooze) return true;
        stored.WithStrings();
        if (bySnooze) ClearSnooze(record);
        if (byRule) MarkFired(record, now);
        output.Add(stored.Number(), record);
        return true;
      },
      true, false);
  return read ? output.Finish() : kExitFailure;
}

}  // namespace

int RunDue(TCtlContext& context) {
  TDateTime now = 0;
  if (!MomentOfAt(context, now)) return kExitFailure;
  const bool connected = context.Args.Has("--connected");
  return context.Args.Has("--write") ? DueWithWrite(context, now, connected)
                                     : DueReadOnly(context, now, connected);
}

}  // namespace reminder
