// Testing for and hanging up dial-up connections, over the two calls of the remote access
// service the module uses.
#pragma once

#include <cstdint>
#include <vector>

#include "core/dialup/DialUpProbe.h"
#include "core/host/WMsgBox.h"

namespace reminder {

class IRasService {
 public:
  virtual ~IRasService() = default;
  // The active connections' handles in the service's order; false when the listing failed
  // (also when the service is missing).
  virtual bool EnumConnections(std::vector<uint32_t>& handles) = 0;
  // False when the hang-up was refused.
  virtual bool HangUp(uint32_t handle) = 0;
};

class TDialUpControl : public IDialUpProbe {
 public:
  TDialUpControl(IRasService& service, IMsgBox& msgBox) : service_(service), msgBox_(msgBox) {}

  bool IsConnected() override;
  // Hangs up the first listed connection; reports a missing connection or a refusal itself,
  // in a box owned by the window given (none without one).
  void HangUpConnection(void* ownerWindow = nullptr);

 private:
  void Report(const char* text, void* ownerWindow);

  IRasService& service_;
  IMsgBox& msgBox_;
};

}  // namespace reminder
