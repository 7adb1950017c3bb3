// The module's calendar sync on a thread of its own, so that the window thread never
// waits on the network. Each run works on its own copies: the settings, the data file's
// path, a store of its own over that file (the same writers' lock and merge rules as any
// other program that writes it) and the sync state beside it. When a run ends, a message
// goes to the window that started it, which then takes the outcome and reloads its list.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <thread>

#include "core/common/DateTime.h"
#include "core/ui/SyncRules.h"

namespace reminder {

struct TSyncOutcome {
  bool Ok = false;
  std::string Error;         // German; "" when Ok
  TDateTime When = 0;        // local time the run ended
  bool DataChanged = false;  // the run wrote the data file
};

class TSyncWorker {
 public:
  // message (with no parameters) is posted to target when a run ends.
  TSyncWorker(HWND target, UINT message) : target_(target), message_(message) {}
  // Stops a run and waits for it.
  ~TSyncWorker();
  TSyncWorker(const TSyncWorker&) = delete;
  TSyncWorker& operator=(const TSyncWorker&) = delete;

  // Starts a run over the data file at dataFile; false when one is still running.
  bool Start(const std::string& dataFile, const TSyncSettings& settings);
  // From the start until the outcome is taken, so that no run's outcome is lost.
  bool Running() const { return thread_.joinable(); }
  // The run has ended and its outcome waits to be taken.
  bool Finished() const;
  // On the message: the finished run's outcome; false when no run has finished.
  bool TakeOutcome(TSyncOutcome& outcome);
  // Tells the run to give up before its next request and waits for it: at most the one
  // request under way, which has a time limit.
  void Stop();

  // Time limit of each request of a run.
  static constexpr DWORD kRequestTimeoutMs = 15000;

 private:
  struct TShared;

  HWND target_;
  UINT message_;
  std::shared_ptr<TShared> shared_;
  std::thread thread_;
};

}  // namespace reminder
