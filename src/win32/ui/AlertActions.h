// The actions of the alert on the real system: the shell's "open", starting programs,
// restarting or shutting down Windows with the shutdown privilege, and hanging up.
#pragma once

#include <windows.h>

#include <string>

#include "core/dialup/HangupUnit.h"
#include "core/ui/RemindFormRules.h"

namespace reminder {

// Starts path with parameters; when that fails, starts "path parameters" as a command line,
// so that the system's search rules and the implied ".exe" apply. Waits at most two minutes
// for the new process to be idle when asked to. True when a process was started.
bool LaunchProgram(const std::string& path, const std::string& parameters, WORD showState,
                   bool waitForInputIdle);

// Enables or disables a privilege of the process's token; true when the adjustment call
// succeeded.
bool SetTokenPrivilege(const std::string& privilege, bool enable);

// Restarts or shuts down Windows with the shutdown privilege, which is dropped again
// afterwards. No forcing flag: running programs may refuse to close.
bool ShutdownWindows(UINT flags);

class TAlertActions : public IAlertActions {
 public:
  explicit TAlertActions(TDialUpControl& dialUp) : dialUp_(dialUp) {}

  bool ShellOpen(void* ownerWindow, const std::string& target) override;
  bool LaunchProgram(const std::string& path, const std::string& parameters, int showState,
                     bool waitForInputIdle) override;
  bool ShutdownWindows(uint32_t flags) override;
  void HangUpConnection(void* ownerWindow) override { dialUp_.HangUpConnection(ownerWindow); }

 private:
  TDialUpControl& dialUp_;
};

}  // namespace reminder
