// Stands in for the alerts' actions, so that no test opens, starts, hangs up, restarts or
// shuts down anything: every call is recorded instead.
#pragma once

#include <string>
#include <vector>

#include "core/ui/RemindFormRules.h"

namespace reminder::testing {

class RecordingActions : public IAlertActions {
 public:
  bool ShellOpen(void*, const std::string& target) override {
    calls.push_back("open " + target);
    return succeed;
  }
  bool LaunchProgram(const std::string& path, const std::string&, int, bool) override {
    calls.push_back("launch " + path);
    return succeed;
  }
  bool ShutdownWindows(uint32_t flags) override {
    calls.push_back("exit " + std::to_string(flags));
    return succeed;
  }
  void HangUpConnection(void*) override { calls.push_back("hangup"); }

  bool succeed = true;
  std::vector<std::string> calls;
};

}  // namespace reminder::testing
