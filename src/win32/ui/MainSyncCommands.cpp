// The main window's side of the calendar sync: its start with the window, the timer that
// asks the schedule, "Jetzt synchronisieren", and where the status line shows.
#include "win32/settings/SyncSettingsStore.h"
#include "win32/toolkit/Application.h"
#include "win32/ui/MainUnit.h"

namespace reminder {

namespace {

// The status bar's second part, for the sync's line, at 96 DPI.
constexpr int kSyncPartWidth = 330;
constexpr int kMinFirstPartWidth = 120;

}  // namespace

void TMain::CreateSync() {
  sync_ = std::make_unique<TMainSync>(
      Handle(), services_.DataFile, *services_.Clock, fs_,
      [this](const std::string& text) { ShowSyncStatus(text); }, [this] { TakeInSync(); });
  sync_->SetSettings(ReadSyncSettings(regIniFile_, services_.RegistryArea),
                     settings_.RefreshInterval);
  sync_->DueCheck();
}

void TMain::OnTimer(UINT_PTR id) {
  if (id == TMainSync::kTimerId && sync_ && !closing_) sync_->DueCheck();
}

void TMain::SyncNowClick() {
  if (sync_) sync_->SyncNow();
}

void TMain::TakeInSync() {
  if (scheduler_ && scheduler_->Enabled()) scheduler_->Sync();
}

void TMain::ShowSyncStatus(const std::string& text) {
  const int width = ClientSize().cx;
  const int syncWidth = Scaled(kSyncPartWidth);
  const int first = width - syncWidth > kMinFirstPartWidth ? width - syncWidth : kMinFirstPartWidth;
  if (text.empty()) {
    statusBar_.SetParts({-1});
  } else {
    statusBar_.SetParts({first, -1});
    statusBar_.SetPartText(text, 1);
  }
  tray_.SetSyncStatus(text);
}

}  // namespace reminder
