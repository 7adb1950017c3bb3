// The main window's services for a test: the machine's data file, clock and message box
// over a scratch file and registry area, with the actions recorded and the tray icon and
// the sounds kept away from the shell.
#pragma once

#include <string>

#include "win32/support/RecordingActions.h"
#include "win32/ui/MainServices.h"

namespace reminder::testing {

inline TMainServices TestServices(const std::string& dataFile, const std::string& registryArea,
                                  RecordingActions& actions) {
  TMainServices services = SystemServices(dataFile);
  services.RegistryArea = registryArea;
  services.Actions = &actions;
  services.ShellNotify = [](DWORD, TNotifyIconRecord&) { return true; };
  services.ShellBalloon = [](const NOTIFYICONDATAA&) { return true; };
  services.PlaySoundAlias = [](const char*) {};
  return services;
}

}  // namespace reminder::testing
