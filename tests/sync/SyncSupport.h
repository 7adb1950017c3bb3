// What the sync tests share: the server the test command started, a zone that is UTC, and
// a message box that keeps what it was asked to show.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "core/host/WMsgBox.h"
#include "core/ical/LocalTime.h"

namespace reminder {
namespace testing {

class TUtc : public ILocalTime {
 public:
  TDateTime UtcToLocal(TDateTime utc) override { return utc; }
  TDateTime LocalToUtc(TDateTime local) override { return local; }
};

class TQuietBox : public IMsgBox {
 public:
  int Show(const std::string& text, const std::string&, uint32_t, TMsgOwner) override {
    shown.push_back(text);
    return 0;
  }
  std::vector<std::string> shown;
};

// "http://127.0.0.1:port/", or "" when the test command did not start a server.
inline std::string TestServer() {
  const char* url = std::getenv("REMINDER_TEST_CALDAV_URL");
  return url ? url : "";
}

}  // namespace testing
}  // namespace reminder
