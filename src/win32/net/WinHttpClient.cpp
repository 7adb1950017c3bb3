#include "win32/net/WinHttpClient.h"

#include <winhttp.h>

#include "win32/system/Handles.h"

namespace reminder {

namespace {

struct TInternetTraits {
  static bool Valid(HINTERNET handle) { return handle != nullptr; }
  static void Free(HINTERNET handle) { WinHttpCloseHandle(handle); }
};
using TInternet = TOwnedHandle<HINTERNET, TInternetTraits>;

std::wstring Wide(const std::string& text, UINT codePage) {
  if (text.empty()) return {};
  const int length =
      MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
  return wide;
}

std::string Narrow(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &text[0], length,
                      nullptr, nullptr);
  return text;
}

std::string FailureDetail(DWORD error) {
  switch (error) {
    case ERROR_WINHTTP_CANNOT_CONNECT:
      return "Verbindung abgelehnt";
    case ERROR_WINHTTP_TIMEOUT:
      return "Zeitüberschreitung";
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
      return "Name nicht gefunden";
    case ERROR_WINHTTP_CONNECTION_ERROR:
      return "Verbindung unterbrochen";
    case ERROR_WINHTTP_SECURE_FAILURE:
      return "sichere Verbindung nicht möglich";
    default:
      return "Fehler " + std::to_string(error);
  }
}

// The headers of a reply, one "Name: value" a line after the status line.
THttpHeaders HeadersOf(HINTERNET request) {
  DWORD size = 0;
  WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX,
                      nullptr, &size, WINHTTP_NO_HEADER_INDEX);
  if (size == 0) return {};
  std::wstring raw(size / sizeof(wchar_t) + 1, L'\0');
  if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX,
                           &raw[0], &size, WINHTTP_NO_HEADER_INDEX)) {
    return {};
  }
  raw.resize(size / sizeof(wchar_t));
  THttpHeaders headers;
  size_t start = 0;
  while (start < raw.size()) {
    size_t end = raw.find(L"\r\n", start);
    if (end == std::wstring::npos) end = raw.size();
    const std::string line = Narrow(raw.substr(start, end - start));
    const size_t colon = line.find(':');
    if (colon != std::string::npos) {
      const size_t value = line.find_first_not_of(" \t", colon + 1);
      headers.emplace_back(line.substr(0, colon),
                           value == std::string::npos ? "" : line.substr(value));
    }
    start = end + 2;
  }
  return headers;
}

// Reads the body up to the limit; false when it broke off or was too large.
bool ReadBody(HINTERNET request, std::string& body, bool& tooLarge) {
  for (;;) {
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request, &available)) return false;
    if (available == 0) return true;
    if (body.size() + available > kMaxResponseBytes) {
      tooLarge = true;
      return false;
    }
    const size_t at = body.size();
    body.resize(at + available);
    DWORD read = 0;
    if (!WinHttpReadData(request, &body[at], available, &read)) return false;
    body.resize(at + read);
  }
}

DWORD ChosenScheme(DWORD supported) {
  for (DWORD scheme : {WINHTTP_AUTH_SCHEME_DIGEST, WINHTTP_AUTH_SCHEME_BASIC,
                       WINHTTP_AUTH_SCHEME_NEGOTIATE, WINHTTP_AUTH_SCHEME_NTLM}) {
    if (supported & scheme) return scheme;
  }
  return 0;
}

}  // namespace

TWinHttpClient::TWinHttpClient(const std::string& user, const std::string& password,
                               DWORD timeoutMs)
    : user_(Wide(user, CP_ACP)),
      password_(Wide(password, CP_ACP)),
      session_(WinHttpOpen(L"Zelto-Reminder", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                           WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0)) {
  if (session_) {
    const int ms = static_cast<int>(timeoutMs);
    WinHttpSetTimeouts(static_cast<HINTERNET>(session_), ms, ms, ms, ms);
  }
}

TWinHttpClient::~TWinHttpClient() {
  if (session_) WinHttpCloseHandle(static_cast<HINTERNET>(session_));
}

THttpResponse TWinHttpClient::Send(const THttpRequest& request) {
  THttpResponse response;
  auto fail = [&](const std::string& detail) {
    response = {};
    response.Error = UnreachableText(request.Url, detail);
    return response;
  };
  if (!session_) return fail(FailureDetail(GetLastError()));
  std::wstring url = Wide(request.Url, CP_UTF8);
  URL_COMPONENTS parts = {};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(url.c_str(), 0, 0, &parts)) return fail("ungültige Adresse");
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
  path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (path.empty()) path = L"/";

  TInternet connection(
      WinHttpConnect(static_cast<HINTERNET>(session_), host.c_str(), parts.nPort, 0));
  if (!connection) return fail(FailureDetail(GetLastError()));
  const std::wstring method = Wide(request.Method, CP_UTF8);
  TInternet handle(
      WinHttpOpenRequest(connection.get(), method.c_str(), path.c_str(), nullptr,
                         WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                         parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0));
  if (!handle) return fail(FailureDetail(GetLastError()));
  DWORD policy = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
  WinHttpSetOption(handle.get(), WINHTTP_OPTION_REDIRECT_POLICY, &policy, sizeof policy);
  std::wstring headers;
  for (const auto& [name, value] : request.Headers)
    headers += Wide(name + ": " + value + "\r\n", CP_UTF8);

  // A scheme that needs the server's challenge first is refused here, and then answered
  // after the 401 as on the first request.
  if (scheme_ != 0 && !user_.empty()) {
    WinHttpSetCredentials(handle.get(), WINHTTP_AUTH_TARGET_SERVER, scheme_, user_.c_str(),
                          password_.c_str(), nullptr);
  }
  bool answered = false;
  for (;;) {
    const DWORD size = static_cast<DWORD>(request.Body.size());
    if (!WinHttpSendRequest(handle.get(),
                            headers.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : headers.c_str(),
                            static_cast<DWORD>(headers.size()),
                            size ? const_cast<char*>(request.Body.data()) : WINHTTP_NO_REQUEST_DATA,
                            size, size, 0) ||
        !WinHttpReceiveResponse(handle.get(), nullptr)) {
      return fail(FailureDetail(GetLastError()));
    }
    DWORD status = 0;
    DWORD statusSize = sizeof status;
    WinHttpQueryHeaders(handle.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                        WINHTTP_HEADER_NAME_BY_INDEX, &status, &statusSize,
                        WINHTTP_NO_HEADER_INDEX);
    bool tooLarge = false;
    response.Body.clear();
    if (!ReadBody(handle.get(), response.Body, tooLarge)) {
      return fail(tooLarge ? "Antwort größer als " + std::to_string(kMaxResponseBytes >> 20) + " MB"
                           : FailureDetail(GetLastError()));
    }
    DWORD supported = 0;
    DWORD first = 0;
    DWORD target = 0;
    if (status == 401 && !answered && !user_.empty() &&
        WinHttpQueryAuthSchemes(handle.get(), &supported, &first, &target) &&
        ChosenScheme(supported) != 0 &&
        WinHttpSetCredentials(handle.get(), target, ChosenScheme(supported), user_.c_str(),
                              password_.c_str(), nullptr)) {
      answered = true;
      if (target == WINHTTP_AUTH_TARGET_SERVER) scheme_ = ChosenScheme(supported);
      continue;
    }
    response.Status = static_cast<int>(status);
    response.Headers = HeadersOf(handle.get());
    return response;
  }
}

}  // namespace reminder
