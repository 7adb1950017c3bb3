// The three-way merge of a sync: the reminders of the data file, the events of the
// calendar and what both last agreed on (SyncState) give, per identity, one step. Pure: the
// network and the store carry the steps out (SyncRun).
//
// The rules: a change on one side goes to the other; a reminder deleted on one side and
// unchanged on the other is deleted there; a change beats a deletion. Changed on both
// sides: when the two differ only in their firing marks (fired, last fired, snooze), both
// get the later marks; otherwise the calendar's version wins and the data file's version
// is kept beside it as a new reminder whose text ends in " (Konflikt)", so nothing is lost.
// Events the module cannot read are never changed or deleted.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/store/NotifyInfo.h"
#include "core/sync/SyncState.h"

namespace reminder {

struct TLocalVersion {
  std::string Id;  // the identity's hexadecimal digits
  const TNotifyInfo* Record = nullptr;
};

struct TRemoteVersion {
  std::string Id;
  std::string Href;
  std::string ETag;
  // The event as a reminder; null when its data was not fetched because its ETag is the
  // one last agreed on, or when Unreadable.
  const TNotifyInfo* Record = nullptr;
  // An event the module cannot take (another program's, or changed into a form the module
  // does not fire): it is left as it is.
  bool Unreadable = false;
};

enum class TSyncStep {
  Upload,        // a new event at Href, made only where none is (If-None-Match: *)
  Update,        // the local record over the event, only if it is still ETag
  Download,      // the event's record into the data file, new or over the local one
  DeleteLocal,   // deleted on the server, unchanged here
  DeleteRemote,  // deleted here, unchanged on the server: only if it is still ETag
  MergeMarks,    // Merged into both sides (the server's only if it is still ETag)
  Conflict,      // the event's record over the local one; the local one kept as a copy
  Agree,         // both sides hold the same: only the state is renewed
  Forget,        // gone on both sides
  Leave,         // an event the module cannot read
};

struct TSyncAction {
  TSyncStep Step;
  std::string Id;
  std::string Href;
  std::string ETag;  // the server's ETag as listed ("" for a new event)
  const TNotifyInfo* Local = nullptr;
  const TNotifyInfo* Remote = nullptr;
  std::optional<TNotifyInfo> Merged;
};

// The address of a new event of the reminder: the calendar's address, the identity, ".ics".
std::string EventHref(const std::string& calendarUrl, const std::string& id);
// Whether a and b are the same reminder but for their firing marks.
bool DifferOnlyInMarks(const TNotifyInfo& a, const TNotifyInfo& b);
// a with the later of both sides' marks.
TNotifyInfo WithLaterMarks(const TNotifyInfo& a, const TNotifyInfo& b);
// What both sides agree on when they hold record at href in that version.
TSyncItem AgreedItem(const std::string& href, const std::string& etag, const TNotifyInfo& record);

// One step for each identity on either side or in the state, in the order of the local
// records, then the server's, then the state's.
std::vector<TSyncAction> PlanSync(const std::vector<TLocalVersion>& locals,
                                  const std::vector<TRemoteVersion>& remotes,
                                  const TSyncState& state);

}  // namespace reminder
