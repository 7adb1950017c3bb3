// The main window's settings in the registry's "Options" section: read once at start,
// changed through the settings dialog.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/host/WMsgBox.h"
#include "core/ui/MainRules.h"
#include "core/ui/SyncRules.h"
#include "win32/host/AutoStrt.h"
#include "win32/settings/RegIni.h"

namespace reminder {

struct TMainSettings {
  bool AnimateIcon = false;
  bool Notification = true;  // a firing also shows as the tray icon's balloon
  int32_t RefreshInterval = kDefaultRefreshInterval;  // seconds between due checks
};

// The settings, with their fallbacks where a value is missing or unreadable; records the
// program's directory as "ProgramPath" on the way.
TMainSettings ReadMainSettings(TTheRegIniFile& ini, const std::string& area);

// What the dialog came to besides the main settings: the sync's, and whether it was
// closed with "Jetzt synchronisieren".
struct TSyncChoice {
  TSyncSettings Settings;
  bool SyncNow = false;
};

// Shows the settings dialog owned by owner, filled from settings, sync and the autostart
// entry (the Run entry standalone, the "Autostart" value in the module); on OK stores what
// it holds, sets the Run entry standalone and answers true with settings and sync changed.
bool EditMainSettings(HWND owner, TTheRegIniFile& ini, const std::string& area, IMsgBox& msgBox,
                      const TRunEntryPlace& runEntry, TMainSettings& settings, TSyncChoice& sync);

}  // namespace reminder
