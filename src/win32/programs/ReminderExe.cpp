// Reminder.exe: the module's sources started as a program. It refuses a second instance
// (and brings the running one to view), handles "/DEINSTALL" and otherwise runs the main
// window behind its tray icon until the user ends it.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "win32/host/ModuleStart.h"
#include "win32/programs/ModuleEntry.h"

using namespace reminder;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  StartModule(false);
  std::vector<std::string> parameters;
  for (int i = 1; i < __argc; ++i) parameters.emplace_back(__argv[i]);
  const int exitCode = RunStandalone(parameters);
  ReleaseLeftovers();
  EndModule();
  return exitCode;
}
