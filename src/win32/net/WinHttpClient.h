// The HTTP client of the module and of reminderctl.exe, over the system's WinHTTP: TLS,
// certificates and the proxy as Windows has them, no runtime library of its own. No
// redirects are followed; replies are bounded in size and time.
#pragma once

#include <windows.h>

#include <string>

#include "core/sync/HttpClient.h"

namespace reminder {

class TWinHttpClient : public IHttpClient {
 public:
  // user and password in the system's ANSI code page, as the windows and the command line
  // give them.
  TWinHttpClient(const std::string& user, const std::string& password,
                 DWORD timeoutMs = kTimeoutMs);
  ~TWinHttpClient() override;
  TWinHttpClient(const TWinHttpClient&) = delete;
  TWinHttpClient& operator=(const TWinHttpClient&) = delete;

  THttpResponse Send(const THttpRequest& request) override;

  static constexpr DWORD kTimeoutMs = 30000;

 private:
  std::wstring user_;
  std::wstring password_;
  void* session_;  // HINTERNET, kept for all requests so that connections are reused
  // The scheme the server asked for the first time; later requests bring the credentials
  // at once instead of being refused first.
  DWORD scheme_ = 0;
};

}  // namespace reminder
