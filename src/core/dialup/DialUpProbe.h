#pragma once

namespace reminder {

// Whether a dial-up (remote access) connection is up at this moment.
class IDialUpProbe {
 public:
  virtual ~IDialUpProbe() = default;
  virtual bool IsConnected() = 0;
};

}  // namespace reminder
