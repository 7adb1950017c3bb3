// The main window's decisions that need no window: which commands the selection enables,
// the status text it shows, the tray menu's states, how system commands are taken, the
// column sort with its one toggle, and the fallbacks of the settings read at start.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/common/FormatSettings.h"
#include "core/store/NotifyInfo.h"

namespace reminder {

// "Ändern" and "Löschen" (menu, tool bar, list menu) need a selected row.
inline bool SelectionCommandsEnabled(int selectedCount) {
  return selectedCount > 0;
}

// The status text for the first selected record, followed by what its action opens or
// starts; none when nothing is selected, and the status bar then keeps its text.
std::optional<std::string> SelectionStatusText(const TNotifyInfo* firstSelected,
                                               const TFormatSettings& fs);

// "Anzeigen" is offered while the window is hidden, "Minimieren" while it is shown.
struct TTrayMenuState {
  bool Restore = true;
  bool Minimize = false;
};
TTrayMenuState TrayMenuState(bool windowVisible);

constexpr unsigned kScClose = 0xF060;
constexpr unsigned kScMinimize = 0xF020;
constexpr unsigned kScRestore = 0xF120;

enum class TSysCommandAction {
  HideToTray,  // close and minimise: hidden, never ended or iconised
  Restore,     // default handling, then the window counts as shown
  Default,
};
TSysCommandAction SysCommandAction(unsigned command);

// The settings' fallbacks: a missing "AnimateIcon" means animation on; a missing or
// unreadable "RefreshInterval", or one below a second, means 60 seconds.
bool AnimateIconSetting(bool stored, int32_t errorCode);
int32_t RefreshIntervalSetting(int32_t stored, int32_t errorCode);
constexpr int32_t kDefaultRefreshInterval = 60;

// A click on a column: the sort code to use and the list's toggle afterwards. The toggle
// is one for the whole list, so the first click on any column sorts descending and the
// next one ascending, whichever column it is.
struct TSortStep {
  int Code = 10;
  int NextToggle = 1;
};
TSortStep ColumnSortStep(int toggle, int column);

// Turns a text into a key whose byte order is the locale's order of the texts (the locale's
// sort key), so that rows are compared without asking the locale for every pair.
using TSortKeyOf = std::function<std::string(const std::string&)>;

// Codes below 20 sort descending, from 20 on ascending.
bool SortsDescending(int code);

// The title of the balloon that tells of a firing: "Erinnerung: " and the action's name.
std::string FiredBalloonTitle(const TNotifyInfo& record);

}  // namespace reminder
