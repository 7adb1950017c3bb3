#include "core/store/ReminderListView.h"

#include "core/common/FormatDateTime.h"

namespace reminder {

TListRow MakeListRow(TNotifyInfo& record, const TFormatSettings& fs) {
  TListRow row;
  row.Data = &record;
  row.Caption = FormatDateTime("c", record.NotifyDate, fs);
  row.Text = record.NotifyText;
  row.Action = ActionName(record.ActionKind);
  row.Repeat = RepeatName(record.RepeatKind);
  row.ImageIndex = record.Notified != 0 ? kImageFinished : kImagePending;
  return row;
}

}  // namespace reminder
