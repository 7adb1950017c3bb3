#include "core/ui/ListStatusText.h"

#include "core/store/Snooze.h"

namespace reminder {

std::string ListStatusText(const TNotifyInfo& record, const TFormatSettings& fs) {
  return ListStatusText(record, TCompiledDateFormat("c", fs));
}

std::string ListStatusText(const TNotifyInfo& record, const TCompiledDateFormat& dateFormat) {
  std::string text;
  AppendListStatusText(text, record, dateFormat);
  return text;
}

void AppendListStatusText(std::string& out, const TNotifyInfo& record,
                          const TCompiledDateFormat& dateFormat) {
  if (const std::optional<TDateTime> snooze = SnoozeMoment(record)) {
    out += kStatusSnoozedPrefix;
    dateFormat.Append(out, *snooze);
  } else if (record.Notified != 0) {
    out += kStatusFinished;
  } else if (record.LastNotified != 0.0) {
    out += kStatusLastPrefix;
    dateFormat.Append(out, record.LastNotified);
  } else {
    out += kStatusNeverFired;
  }
}

}  // namespace reminder
