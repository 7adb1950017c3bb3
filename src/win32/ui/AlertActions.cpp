#include "win32/ui/AlertActions.h"

#include <shellapi.h>

#include <vector>

#include "win32/system/Handles.h"

namespace reminder {

namespace {

constexpr DWORD kInputIdleWaitMs = 120000;

bool StartProcess(const char* applicationName, std::string commandLine, WORD showState,
                  PROCESS_INFORMATION& process) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = showState;
  // CreateProcessA may write into the command line.
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  return CreateProcessA(applicationName, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process) != FALSE;
}

}  // namespace

bool LaunchProgram(const std::string& path, const std::string& parameters, WORD showState,
                   bool waitForInputIdle) {
  PROCESS_INFORMATION process = {};
  const bool started = StartProcess(path.c_str(), parameters, showState, process) ||
                       StartProcess(nullptr, path + " " + parameters, showState, process);
  if (!started) return false;
  const TKernelHandle processHandle(process.hProcess);
  const TKernelHandle threadHandle(process.hThread);
  if (waitForInputIdle) WaitForInputIdle(processHandle.get(), kInputIdleWaitMs);
  return true;
}

bool SetTokenPrivilege(const std::string& privilege, bool enable) {
  HANDLE opened = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &opened)) {
    return false;
  }
  const TKernelHandle token(opened);
  TOKEN_PRIVILEGES wanted = {};
  bool adjusted = false;
  if (LookupPrivilegeValueA(nullptr, privilege.c_str(), &wanted.Privileges[0].Luid)) {
    wanted.PrivilegeCount = 1;
    wanted.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
    TOKEN_PRIVILEGES previous = {};
    DWORD previousSize = sizeof previous;
    adjusted = AdjustTokenPrivileges(token.get(), FALSE, &wanted, sizeof previous, &previous,
                                     &previousSize) != FALSE;
  }
  return adjusted;
}

bool ShutdownWindows(UINT flags) {
  SetTokenPrivilege(SE_SHUTDOWN_NAME, true);
  const bool accepted = ExitWindowsEx(flags, 0) != FALSE;
  SetTokenPrivilege(SE_SHUTDOWN_NAME, false);
  return accepted;
}

bool TAlertActions::ShellOpen(void* ownerWindow, const std::string& target) {
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(
      static_cast<HWND>(ownerWindow), "open", target.c_str(), nullptr, nullptr, SW_SHOW));
  return result > 32;
}

bool TAlertActions::LaunchProgram(const std::string& path, const std::string& parameters,
                                  int showState, bool waitForInputIdle) {
  return reminder::LaunchProgram(path, parameters, static_cast<WORD>(showState), waitForInputIdle);
}

bool TAlertActions::ShutdownWindows(uint32_t flags) {
  return reminder::ShutdownWindows(flags);
}

}  // namespace reminder
