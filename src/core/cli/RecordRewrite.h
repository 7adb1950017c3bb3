// The commands that change single records (add, snooze, delete) write the data file anew
// while they read it, so that their memory does not grow with the file. Each record passes
// from the old file into the new one as its bytes, and is encoded anew only where the store
// would write it otherwise: one the command changed, one without identity (which gets one,
// as at the store's next save) and, after damage, every record. The writers' lock is held
// from before the read until the new file is in place, and the new file takes the old one's
// place only when the whole command succeeded.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "core/cli/Commands.h"
#include "core/store/NotifyInfo.h"

namespace reminder {

enum class TRecordFate {
  Keep,     // as it was
  Changed,  // the command changed its fields
  Drop,     // left out of the new file
};

struct TRecordRewrite {
  // Appended after the file's records; each gets its identity before the file is read, as
  // the store gives one to a record added to it.
  std::vector<TNotifyInfo> Appended;
  // Sees each record of the file in turn; none keeps them all.
  std::function<TRecordFate(TStoredRecord& record)> Each;
  // Called with the number of records the file held once all were seen; false, after saying
  // why, when the command cannot be done (nothing is written then).
  std::function<bool(size_t count)> Check;
};

// Writes the data file anew with the rewrite's changes. False, after printing why, when
// nothing was written: the lock could not be had, the file could not be read (a missing one
// is empty where missingIsEmpty allows it), it is damaged and --force was not given, the
// check refused, the file cannot be written or changed while it was read, or the write
// failed. With --force a damaged original is kept beside the file first.
bool RewriteDataFile(const TCtlContext& context, TRecordRewrite& rewrite, bool missingIsEmpty);

}  // namespace reminder
