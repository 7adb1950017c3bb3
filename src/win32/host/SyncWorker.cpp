#include "win32/host/SyncWorker.h"

#include <atomic>
#include <mutex>
#include <optional>

#include "core/ical/LocalTime.h"
#include "core/store/IOUnit.h"
#include "core/sync/SyncRun.h"
#include "win32/net/WinHttpClient.h"
#include "win32/store/Win32DataFile.h"
#include "win32/system/Win32Clock.h"
#include "win32/toolkit/CommonControls.h"

namespace reminder {

namespace {

constexpr char kStopped[] = "Die Synchronisation wurde abgebrochen.";

// A store's messages on the worker have nobody to show them to: the first becomes the
// run's error, so that it reaches the status line instead of a box nobody answers.
class TCollectingBox : public IMsgBox {
 public:
  int Show(const std::string& text, const std::string&, uint32_t, TMsgOwner) override {
    if (First.empty()) First = text;
    return 0;
  }
  std::string First;
};

// Refuses every request once the run is told to stop, so that it ends at its next step.
class TStoppableHttp : public IHttpClient {
 public:
  TStoppableHttp(IHttpClient& inner, const std::atomic<bool>& stop) : inner_(inner), stop_(stop) {}
  THttpResponse Send(const THttpRequest& request) override {
    if (stop_) {
      THttpResponse refused;
      refused.Error = kStopped;
      return refused;
    }
    return inner_.Send(request);
  }

 private:
  IHttpClient& inner_;
  const std::atomic<bool>& stop_;
};

// The system's own time zone conversion: the C library's localtime keeps one buffer for
// all threads, and the window thread may be using it meanwhile.
class TWindowsLocalTime : public ILocalTime {
 public:
  TDateTime UtcToLocal(TDateTime utc) override { return Convert(utc, true); }
  TDateTime LocalToUtc(TDateTime local) override { return Convert(local, false); }

 private:
  static TDateTime Convert(TDateTime value, bool toLocal) {
    SYSTEMTIME in = ToSystemTime(value);
    SYSTEMTIME out;
    const BOOL done = toLocal ? SystemTimeToTzSpecificLocalTime(nullptr, &in, &out)
                              : TzSpecificLocalTimeToSystemTime(nullptr, &in, &out);
    return done ? FromSystemTime(out) : value;
  }
};

bool ReadState(IDataFile& files, const std::string& path, TSyncState& state) {
  TFileBytes bytes;
  if (!files.Read(path, bytes)) return false;
  return DecodeSyncState(bytes.View(), state);
}

}  // namespace

struct TSyncWorker::TShared {
  std::atomic<bool> Stop{false};
  std::atomic<bool> Finished{false};
  std::mutex Lock;
  std::optional<TSyncOutcome> Outcome;
};

TSyncWorker::~TSyncWorker() {
  Stop();
}

bool TSyncWorker::Finished() const {
  return thread_.joinable() && shared_->Finished;
}

namespace {

TSyncOutcome RunSync(const std::string& dataFile, const TSyncSettings& settings,
                     const std::atomic<bool>& stop) {
  TSyncOutcome outcome;
  TWin32DataFile files;
  const std::string statePath = SyncStatePath(dataFile);
  // One sync of this data file at a time, in whichever program; the data file's own lock
  // is taken only for its saves, so that the window thread never waits on the network.
  const std::unique_ptr<IFileLockHold> running = files.LockForUpdate(statePath);
  if (!running) {
    outcome.Error = "Eine andere Synchronisation dieser Datei läuft noch.";
    return outcome;
  }
  TCollectingBox box;
  TFileIO store(dataFile, files, box);
  store.Load();
  if (store.LoadState() == TLoadState::Unreadable) {
    outcome.Error =
        box.First.empty() ? "Die Datei " + dataFile + " kann nicht gelesen werden." : box.First;
    return outcome;
  }
  TSyncState state;
  if (!ReadState(files, statePath, state)) state = TSyncState{};
  TWinHttpClient http(settings.User, settings.Password, TSyncWorker::kRequestTimeoutMs);
  TStoppableHttp stoppable(http, stop);
  TCalDav dav(stoppable);
  TWindowsLocalTime localTime;
  TWin32Clock clock;
  TSyncRun run(dav, localTime, localTime.LocalToUtc(clock.Now()));
  TSyncReport report;
  const bool done = run.Run(store, settings.CalendarUrl, state, report);
  // What went through on the server is in the state even after a failure.
  if (!files.Replace(statePath, EncodeSyncState(state)) && done) {
    outcome.Error =
        "Der Stand der Synchronisation kann nicht gespeichert werden (" + statePath + ").";
    return outcome;
  }
  outcome.DataChanged = report.Downloaded + report.DeletedHere + report.Conflicts > 0;
  outcome.When = clock.Now();
  if (!done) {
    outcome.Error = stop ? kStopped : report.Error;
  } else if (store.SaveFailed()) {
    outcome.Error =
        box.First.empty() ? "Die Datei " + dataFile + " kann nicht gespeichert werden." : box.First;
  } else {
    outcome.Ok = true;
  }
  return outcome;
}

}  // namespace

bool TSyncWorker::Start(const std::string& dataFile, const TSyncSettings& settings) {
  if (Running()) return false;
  shared_ = std::make_shared<TShared>();
  // The thread has only copies and the shared slot; the window is reached by a post.
  thread_ =
      std::thread([shared = shared_, dataFile, settings, target = target_, message = message_] {
        TSyncOutcome outcome;
        try {
          outcome = RunSync(dataFile, settings, shared->Stop);
        } catch (const std::exception& e) {
          outcome.Error = e.what();
        } catch (...) {
          outcome.Error = "Die Synchronisation ist gescheitert.";
        }
        {
          std::lock_guard<std::mutex> guard(shared->Lock);
          shared->Outcome = std::move(outcome);
        }
        shared->Finished = true;
        if (!shared->Stop) PostMessageA(target, message, 0, 0);
      });
  return true;
}

bool TSyncWorker::TakeOutcome(TSyncOutcome& outcome) {
  if (!Finished()) return false;
  thread_.join();
  std::lock_guard<std::mutex> guard(shared_->Lock);
  if (!shared_->Outcome) return false;
  outcome = std::move(*shared_->Outcome);
  shared_->Outcome.reset();
  return true;
}

void TSyncWorker::Stop() {
  if (shared_) shared_->Stop = true;
  if (thread_.joinable()) thread_.join();
}

}  // namespace reminder
