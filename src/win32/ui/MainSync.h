// The main window's calendar sync: when it runs (after each change made in the window, at
// the due checks once the refresh interval has passed, on "Jetzt synchronisieren"), its
// worker, and the status line it leaves in the status bar and the tray tip. Failures go
// only to that line, and the next attempt waits longer after each.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "core/common/Clock.h"
#include "core/common/FormatSettings.h"
#include "core/ui/SyncRules.h"
#include "win32/host/SyncWorker.h"

namespace reminder {

class TMainSync {
 public:
  // Posted to the main window when a run has ended.
  static constexpr UINT kDoneMessage = WM_APP + 29;
  // The main window's timer that calls DueCheck.
  static constexpr UINT_PTR kTimerId = 204;

  // showStatus shows the status line; reload takes in what a run wrote to the data file.
  TMainSync(HWND window, std::string dataFile, IClock& clock, const TFormatSettings& fs,
            std::function<void(const std::string&)> showStatus, std::function<void()> reload);
  ~TMainSync();
  TMainSync(const TMainSync&) = delete;
  TMainSync& operator=(const TMainSync&) = delete;

  void SetSettings(const TSyncSettings& settings, int32_t intervalSeconds);
  const TSyncSettings& Settings() const { return settings_; }
  // A reminder was added, changed or deleted here.
  void ChangeMade();
  // The due check's moment: syncs when the schedule says so.
  void DueCheck();
  // "Jetzt synchronisieren": at once, also during a failure's delay.
  void SyncNow();
  // On kDoneMessage.
  void RunEnded();
  // The module closes: a run under way is stopped and waited for, and none starts again.
  void Stop();
  bool Running() const { return worker_.Running(); }
  const std::string& StatusText() const { return status_; }

 private:
  bool Usable() const;
  void Start();
  void Show(const std::string& text);

  std::string dataFile_;
  IClock& clock_;
  const TFormatSettings& fs_;
  std::function<void(const std::string&)> showStatus_;
  std::function<void()> reload_;
  TSyncSettings settings_;
  int32_t interval_ = 60;
  TSyncSchedule schedule_;
  TSyncWorker worker_;
  bool again_ = false;  // a change was made while a run was under way
  bool stopped_ = false;
  std::string status_;
};

}  // namespace reminder
