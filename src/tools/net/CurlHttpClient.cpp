#include "tools/net/CurlHttpClient.h"

#include <curl/curl.h>
#include <dlfcn.h>

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

template <class Function>
bool Find(void* library, const char* name, Function*& function) {
  function = reinterpret_cast<Function*>(dlsym(library, name));
  return function != nullptr;
}

}  // namespace

// The functions of libcurl the client calls, from the library loaded at run time.
struct TCurlHttpClient::TCurlApi {
  void* Library = nullptr;
  CURL* (*EasyInit)() = nullptr;
  void (*EasyCleanup)(CURL*) = nullptr;
  void (*EasyReset)(CURL*) = nullptr;
  CURLcode (*EasySetopt)(CURL*, CURLoption, ...) = nullptr;
  CURLcode (*EasyPerform)(CURL*) = nullptr;
  CURLcode (*EasyGetinfo)(CURL*, CURLINFO, ...) = nullptr;
  const char* (*EasyStrerror)(CURLcode) = nullptr;
  curl_slist* (*SlistAppend)(curl_slist*, const char*) = nullptr;
  void (*SlistFreeAll)(curl_slist*) = nullptr;

  ~TCurlApi() {
    if (Library) dlclose(Library);
  }
  bool Load() {
    Library = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
    return Library && Find(Library, "curl_easy_init", EasyInit) &&
           Find(Library, "curl_easy_cleanup", EasyCleanup) &&
           Find(Library, "curl_easy_reset", EasyReset) &&
           Find(Library, "curl_easy_setopt", EasySetopt) &&
           Find(Library, "curl_easy_perform", EasyPerform) &&
           Find(Library, "curl_easy_getinfo", EasyGetinfo) &&
           Find(Library, "curl_easy_strerror", EasyStrerror) &&
           Find(Library, "curl_slist_append", SlistAppend) &&
           Find(Library, "curl_slist_free_all", SlistFreeAll);
  }
};

TCurlHttpClient::TCurlHttpClient(std::string user, std::string password, long timeoutMs)
    : user_(std::move(user)),
      password_(std::move(password)),
      timeoutMs_(timeoutMs),
      api_(std::make_unique<TCurlApi>()) {
  if (api_->Load()) {
    curl_ = api_->EasyInit();
  } else {
    api_.reset();
  }
}

TCurlHttpClient::~TCurlHttpClient() {
  if (curl_) api_->EasyCleanup(static_cast<CURL*>(curl_));
}

THttpResponse TCurlHttpClient::Send(const THttpRequest& request) {
  THttpResponse response;
  CURL* curl = static_cast<CURL*>(curl_);
  if (!curl) {
    response.Error = UnreachableText(request.Url, "libcurl (libcurl.so.4) fehlt");
    return response;
  }
  api_->EasyReset(curl);
  api_->EasySetopt(curl, CURLOPT_URL, request.Url.c_str());
  api_->EasySetopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  api_->EasySetopt(curl, CURLOPT_CUSTOMREQUEST, request.Method.c_str());
  api_->EasySetopt(curl, CURLOPT_NOSIGNAL, 1L);
  api_->EasySetopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
  api_->EasySetopt(curl, CURLOPT_TIMEOUT_MS, timeoutMs_);
  api_->EasySetopt(curl, CURLOPT_CONNECTTIMEOUT_MS, timeoutMs_ < 10000 ? timeoutMs_ : 10000L);
  if (!user_.empty()) {
    api_->EasySetopt(curl, CURLOPT_USERNAME, user_.c_str());
    api_->EasySetopt(curl, CURLOPT_PASSWORD, password_.c_str());
    // Basic alone: curl sends the credentials at once instead of asking first without
    // them, which would double every request. Over https they are encrypted.
    api_->EasySetopt(curl, CURLOPT_HTTPAUTH, CURLAUTH_BASIC);
  }
  curl_slist* headers = api_->SlistAppend(nullptr, "Expect:");
  for (const auto& [name, value] : request.Headers) {
    headers = api_->SlistAppend(headers, (name + ": " + value).c_str());
  }
  api_->EasySetopt(curl, CURLOPT_HTTPHEADER, headers);
  if (!request.Body.empty() || request.Method == "PUT") {
    api_->EasySetopt(curl, CURLOPT_POSTFIELDS, request.Body.data());
    api_->EasySetopt(curl, CURLOPT_POSTFIELDSIZE_LARGE,
                     static_cast<curl_off_t>(request.Body.size()));
  }
  TReceived received{&response};
  api_->EasySetopt(curl, CURLOPT_WRITEFUNCTION, &TakeBody);
  api_->EasySetopt(curl, CURLOPT_WRITEDATA, &received);
  api_->EasySetopt(curl, CURLOPT_HEADERFUNCTION, &TakeHeader);
  api_->EasySetopt(curl, CURLOPT_HEADERDATA, &received);
  const CURLcode code = api_->EasyPerform(curl);
  api_->SlistFreeAll(headers);
  if (code != CURLE_OK) {
    response.Status = 0;
    response.Body.clear();
    response.Error = received.TooLarge ? "Die Antwort des Servers ist größer als " +
                                             std::to_string(kMaxResponseBytes >> 20) +
                                             " MB und wurde nicht angenommen."
                                       : UnreachableText(request.Url, api_->EasyStrerror(code));
    return response;
  }
  long status = 0;
  api_->EasyGetinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  response.Status = static_cast<int>(status);
  return response;
}

}  // namespace reminder
