// The HTTP client of the native reminderctl, over libcurl: TLS and proxies as curl finds
// them in the environment, no redirects followed, replies bounded in size and time.
// libcurl is loaded when a client is made, not when the program starts: it and the thirty
// libraries it needs would cost every other command several milliseconds to load.
#pragma once

#include <memory>
#include <string>

#include "core/sync/HttpClient.h"

namespace reminder {

class TCurlHttpClient : public IHttpClient {
 public:
  TCurlHttpClient(std::string user, std::string password, long timeoutMs = kTimeoutMs);
  ~TCurlHttpClient() override;
  TCurlHttpClient(const TCurlHttpClient&) = delete;
  TCurlHttpClient& operator=(const TCurlHttpClient&) = delete;

  THttpResponse Send(const THttpRequest& request) override;

  static constexpr long kTimeoutMs = 30000;

 private:
  std::string user_;
  std::string password_;
  long timeoutMs_;
  struct TCurlApi;
  std::unique_ptr<TCurlApi> api_;  // null when libcurl could not be loaded
  void* curl_ = nullptr;           // one handle for all requests, so that connections are kept
};

}  // namespace reminder
