#include "tools/net/CurlHttpClient.h"

#include <curl/curl.h>

#include <utility>

namespace reminder {

namespace {

struct TReceived {
  THttpResponse* Response;
  bool TooLarge = false;
};

size_t TakeBody(char* data, size_t size, size_t count, void* context) {
  auto* received = static_cast<TReceived*>(context);
  const size_t bytes = size * count;
  if (received->Response->Body.size() + bytes > kMaxResponseBytes) {
    received->TooLarge = true;
    return 0;  // ends the transfer
  }
  received->Response->Body.append(data, bytes);
  return bytes;
}

size_t TakeHeader(char* data, size_t size, size_t count, void* context) {
  auto* received = static_cast<TReceived*>(context);
  const size_t bytes = size * count;
  std::string line(data, bytes);
  // Each reply (after a 100 Continue or an authentication round) starts its headers anew.
  if (line.rfind("HTTP/", 0) == 0) received->Response->Headers.clear();
  const size_t colon = line.find(':');
  if (colon != std::string::npos) {
    std::string value = line.substr(colon + 1);
    const size_t first = value.find_first_not_of(" \t");
    const size_t last = value.find_last_not_of(" \t\r\n");
    value = first == std::string::npos ? "" : value.substr(first, last - first + 1);
    received->Response->Headers.emplace_back(line.substr(0, colon), std::move(value));
  }
  return bytes;
}

}  // namespace

TCurlHttpClient::TCurlHttpClient(std::string user, std::string password, long timeoutMs)
    : user_(std::move(user)),
      password_(std::move(password)),
      timeoutMs_(timeoutMs),
      curl_(curl_easy_init()) {}

TCurlHttpClient::~TCurlHttpClient() {
  if (curl_) curl_easy_cleanup(static_cast<CURL*>(curl_));
}

THttpResponse TCurlHttpClient::Send(const THttpRequest& request) {
  THttpResponse response;
  CURL* curl = static_cast<CURL*>(curl_);
  if (!curl) {
    response.Error = UnreachableText(request.Url, "libcurl ist nicht bereit");
    return response;
  }
  curl_easy_reset(curl);
  curl_easy_setopt(curl, CURLOPT_URL, request.Url.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, request.Method.c_str());
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, timeoutMs_);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, timeoutMs_ < 10000 ? timeoutMs_ : 10000L);
  if (!user_.empty()) {
    curl_easy_setopt(curl, CURLOPT_USERNAME, user_.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, password_.c_str());
    // Basic alone: curl sends the credentials at once instead of asking first without
    // them, which would double every request. Over https they are encrypted.
    curl_easy_setopt(curl, CURLOPT_HTTPAUTH, CURLAUTH_BASIC);
  }
  curl_slist* headers = curl_slist_append(nullptr, "Expect:");
  for (const auto& [name, value] : request.Headers) {
    headers = curl_slist_append(headers, (name + ": " + value).c_str());
  }
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  if (!request.Body.empty() || request.Method == "PUT") {
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.Body.data());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE,
                     static_cast<curl_off_t>(request.Body.size()));
  }
  TReceived received{&response};
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &TakeBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &received);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &TakeHeader);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &received);
  const CURLcode code = curl_easy_perform(curl);
  curl_slist_free_all(headers);
  if (code != CURLE_OK) {
    response.Status = 0;
    response.Body.clear();
    response.Error = received.TooLarge ? "Die Antwort des Servers ist größer als " +
                                             std::to_string(kMaxResponseBytes >> 20) +
                                             " MB und wurde nicht angenommen."
                                       : UnreachableText(request.Url, curl_easy_strerror(code));
    return response;
  }
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  response.Status = static_cast<int>(status);
  return response;
}

}  // namespace reminder
