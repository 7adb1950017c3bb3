// A reminder that fires again at a moment the user chose, apart from its repetition. The
// moment is kept in the record's reserved block (ReservedBlock.h), so files stay readable
// as they are; bytes another program left there never count as one. Changing a reminder
// in the editor cancels its snooze.
#pragma once

#include <optional>

#include "core/common/DateTime.h"
#include "core/store/NotifyInfo.h"

namespace reminder {

// The moment the record fires again; none when the block holds no snooze.
std::optional<TDateTime> SnoozeMoment(const TNotifyInfo& record);
// A moment outside the calendar is not kept: the snooze is cleared instead.
void SetSnooze(TNotifyInfo& record, TDateTime moment);
// Bytes that are no snooze stay as they are.
void ClearSnooze(TNotifyInfo& record);
// Whether the record has a snooze whose moment has come at now.
bool IsSnoozeDue(const TNotifyInfo& record, TDateTime now);

}  // namespace reminder
