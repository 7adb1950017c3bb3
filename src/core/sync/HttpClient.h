// The calendar server is reached through this small interface: the module and
// reminderctl.exe pass one over the system's HTTP library, the native reminderctl one over
// libcurl, and tests their own. Nothing here knows a platform.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace reminder {

using THttpHeaders = std::vector<std::pair<std::string, std::string>>;

struct THttpRequest {
  std::string Method;  // "PROPFIND", "REPORT", "PUT", ...
  std::string Url;     // absolute: http:// or https://
  THttpHeaders Headers;
  std::string Body;
};

struct THttpResponse {
  // 0 when no answer came (the server cannot be reached, a timeout, a reply cut short or
  // larger than kMaxResponseBytes); Error says why, in German.
  int Status = 0;
  THttpHeaders Headers;
  std::string Body;
  std::string Error;

  // The first header of that name, compared without regard to case; "" when there is none.
  std::string Header(const std::string& name) const;
  bool Ok() const { return Status >= 200 && Status < 300; }
};

// A reply larger than this is refused: no calendar of reminders comes near it, and a
// hostile or broken server must not fill the memory.
constexpr size_t kMaxResponseBytes = 64u << 20;

class IHttpClient {
 public:
  virtual ~IHttpClient() = default;
  // Sends the request with the client's credentials and answers what came back. Redirects
  // are not followed: the caller decides where to go.
  virtual THttpResponse Send(const THttpRequest& request) = 0;
};

// The text for a transport failure, for the clients: "Der Server ... ist nicht erreichbar".
std::string UnreachableText(const std::string& url, const std::string& detail);

}  // namespace reminder
