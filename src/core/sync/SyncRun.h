// One sync of the data file with a CalDAV calendar: lists the calendar, fetches what
// changed there since the state, plans the steps (SyncPlan) and carries them out, the
// server's first (each on its condition), then the data file's in one save through the
// store, under its lock and merge rules. A 412 from the server means someone changed the
// calendar meanwhile: the sync lists it again and plans anew, a few rounds at most.
#pragma once

#include <string>
#include <vector>

#include "core/common/Clock.h"
#include "core/ical/LocalTime.h"
#include "core/store/IOUnit.h"
#include "core/sync/CalDav.h"
#include "core/sync/SyncState.h"

namespace reminder {

struct TSyncReport {
  size_t Uploaded = 0;
  size_t Downloaded = 0;
  size_t DeletedHere = 0;
  size_t DeletedThere = 0;
  size_t Conflicts = 0;
  size_t Left = 0;  // events the module cannot read, left as they are
  // One line per change, German, Windows-1252: "hochgeladen: ...", "geholt: ...",
  // "gelöscht: ...", "auf dem Server gelöscht: ...", "Konflikt: ...".
  std::vector<std::string> Lines;
  std::string Error;  // why the sync stopped; empty when it completed
};

class TSyncRun {
 public:
  // utcNow: the DTSTAMP of the events written.
  TSyncRun(TCalDav& dav, ILocalTime& localTime, TDateTime utcNow)
      : dav_(dav), localTime_(localTime), utcNow_(utcNow) {}

  // Brings the store and the calendar into agreement and renews state; false with
  // report.Error when the server could not be reached or refused. The store is saved only
  // when the server's part went through; what was done on the server before a failure is
  // in the state, so that the next sync goes on from there.
  bool Run(TFileIO& store, const std::string& calendarUrl, TSyncState& state, TSyncReport& report);

 private:
  // One round; retry when the server refused a step on its condition.
  bool Round(TFileIO& store, const std::string& calendarUrl, TSyncState& state, TSyncReport& report,
             bool& retry);

  TCalDav& dav_;
  ILocalTime& localTime_;
  TDateTime utcNow_;
};

}  // namespace reminder
