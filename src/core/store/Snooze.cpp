#include "core/store/Snooze.h"

#include "core/store/ReservedBlock.h"

namespace reminder {

std::optional<TDateTime> SnoozeMoment(const TNotifyInfo& record) {
  return SnoozeOf(record);
}

void SetSnooze(TNotifyInfo& record, TDateTime moment) {
  if (!IsValidDateTime(moment)) {
    ClearSnooze(record);
    return;
  }
  std::optional<TBlockContent> content = BlockContent(record);
  if (!content) {
    // The form earlier versions wrote, over the start of a block that is not ours.
    WriteOldSnooze(record, moment);
    return;
  }
  content->Snooze = moment;
  WriteBlock(record, *content);
}

void ClearSnooze(TNotifyInfo& record) {
  std::optional<TBlockContent> content = BlockContent(record);
  if (!content) {
    if (OldSnoozeMoment(record)) ClearOldSnooze(record);
    return;
  }
  if (!content->Snooze) return;
  content->Snooze.reset();
  WriteBlock(record, *content);
}

bool IsSnoozeDue(const TNotifyInfo& record, TDateTime now) {
  if (!MayHoldSnooze(record)) return false;
  const std::optional<TDateTime> moment = SnoozeMoment(record);
  return moment && *moment <= now;
}

}  // namespace reminder
