#include "core/ui/ListStatusText.h"

#include "core/store/Snooze.h"

namespace reminder {

std::string ListStatusText(const TNotifyInfo& record, const TFormatSettings& fs) {
  return ListStatusText(record, TCompiledDateFormat("c", fs));
}

std::string ListStatusText(const TNotifyInfo& record, const TCompiledDateFormat& dateFormat) {
  if (const std::optional<TDateTime> snooze = SnoozeMoment(record)) {
    return kStatusSnoozedPrefix + dateFormat.Text(*snooze);
  }
  if (record.Notified != 0) return kStatusFinished;
  if (record.LastNotified != 0.0) return kStatusLastPrefix + dateFormat.Text(record.LastNotified);
  return kStatusNeverFired;
}

}  // namespace reminder
