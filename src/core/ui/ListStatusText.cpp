#include "core/ui/ListStatusText.h"

#include "core/common/FormatDateTime.h"
#include "core/store/Snooze.h"

namespace reminder {

std::string ListStatusText(const TNotifyInfo& record, const TFormatSettings& fs) {
  if (const std::optional<TDateTime> snooze = SnoozeMoment(record)) {
    return kStatusSnoozedPrefix + FormatDateTime("c", *snooze, fs);
  }
  if (record.Notified != 0) return kStatusFinished;
  if (record.LastNotified != 0.0) {
    return kStatusLastPrefix + FormatDateTime("c", record.LastNotified, fs);
  }
  return kStatusNeverFired;
}

}  // namespace reminder
