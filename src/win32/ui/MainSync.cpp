#include "win32/ui/MainSync.h"

#include <utility>

namespace reminder {

namespace {

constexpr char kSwitchedOff[] =
    "Synchronisation ausgeschaltet (Einstellungen, Seite \"Synchronisation\")";

}  // namespace

TMainSync::TMainSync(HWND window, std::string dataFile, IClock& clock, const TFormatSettings& fs,
                     std::function<void(const std::string&)> showStatus,
                     std::function<void()> reload)
    : dataFile_(std::move(dataFile)),
      clock_(clock),
      fs_(fs),
      showStatus_(std::move(showStatus)),
      reload_(std::move(reload)),
      worker_(window, kDoneMessage) {}

TMainSync::~TMainSync() {
  Stop();
}

void TMainSync::SetSettings(const TSyncSettings& settings, int32_t intervalSeconds) {
  const bool changed = settings.Enabled != settings_.Enabled ||
                       settings.CalendarUrl != settings_.CalendarUrl ||
                       settings.Server != settings_.Server || settings.User != settings_.User ||
                       settings.Password != settings_.Password;
  settings_ = settings;
  interval_ = intervalSeconds;
  // New settings (a password put right, say) deserve a try at once, whatever failed before.
  if (changed) schedule_ = TSyncSchedule();
  if (!settings_.Enabled) Show("");
}

bool TMainSync::Usable() const {
  return settings_.Enabled && SyncSettingsProblem(settings_).empty();
}

void TMainSync::ChangeMade() {
  if (!Usable()) return;
  const TDateTime now = clock_.Now();
  schedule_.ChangeMade(now);
  if (worker_.Running()) {
    again_ = true;
  } else if (schedule_.Due(now)) {
    Start();
  }
}

void TMainSync::DueCheck() {
  // Should the run's message have been lost, its outcome is taken here.
  if (worker_.Finished()) RunEnded();
  if (Usable() && !worker_.Running() && (again_ || schedule_.Due(clock_.Now()))) Start();
}

void TMainSync::SyncNow() {
  if (!Usable()) {
    const std::string problem = SyncSettingsProblem(settings_);
    Show(problem.empty() ? kSwitchedOff : SyncFailedText(problem));
    return;
  }
  if (worker_.Running()) {
    again_ = true;
    return;
  }
  Start();
}

void TMainSync::Start() {
  again_ = false;
  if (stopped_) return;
  if (worker_.Start(dataFile_, settings_)) Show("Synchronisation läuft...");
}

void TMainSync::RunEnded() {
  TSyncOutcome outcome;
  if (!worker_.TakeOutcome(outcome)) return;
  const TDateTime now = clock_.Now();
  if (outcome.Ok) {
    schedule_.Succeeded(now, interval_);
    Show(SyncSucceededText(outcome.When, fs_));
  } else {
    schedule_.Failed(now);
    again_ = false;
    Show(SyncFailedText(outcome.Error));
  }
  // Also a failed run may have taken in part of the calendar.
  if (reload_) reload_();
  if (again_) Start();
}

void TMainSync::Stop() {
  stopped_ = true;
  worker_.Stop();
}

void TMainSync::Show(const std::string& text) {
  status_ = text;
  if (showStatus_) showStatus_(status_);
}

}  // namespace reminder
