#include "core/store/ActionTarget.h"

#include <string_view>

namespace reminder {

namespace {

bool StartsWithNoCase(const std::string& text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

bool IsControlOrBlank(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte <= 0x20 || byte == 0x7F;
}

bool HasAnyOf(const std::string& text, std::string_view forbidden) {
  for (char c : text) {
    if (IsControlOrBlank(c) || forbidden.find(c) != std::string_view::npos) return true;
  }
  return false;
}

}  // namespace

std::optional<std::string> WebAddress(const std::string& param) {
  // Characters an address never holds unencoded; a quote or a blank would also let the
  // text reach the browser's command line as further arguments.
  if (HasAnyOf(param, "\"<>\\^`{|}")) return std::nullopt;
  for (std::string_view scheme : {"http://", "https://"}) {
    if (StartsWithNoCase(param, scheme)) {
      const bool hasHost = param.size() > scheme.size() && param[scheme.size()] != '/';
      return hasHost ? std::optional<std::string>(param) : std::nullopt;
    }
  }
  if (StartsWithNoCase(param, "www.") && param.size() > 4 && param[4] != '/') {
    return "http://" + param;
  }
  return std::nullopt;
}

bool IsPlainEmailAddress(const std::string& param) {
  if (HasAnyOf(param, "?&%,;:<>\"()[]\\")) return false;
  const size_t at = param.find('@');
  return at != std::string::npos && at > 0 && at + 1 < param.size() &&
         param.find('@', at + 1) == std::string::npos;
}

bool StartsOrChangesSystem(uint8_t actionKind) {
  return actionKind == akProgram || actionKind == akDocument || actionKind == akRestart ||
         actionKind == akShutdown || actionKind == akHangUp;
}

std::string ActionTargetText(const TNotifyInfo& record) {
  const std::string& param = record.ActionParam;
  if (param.empty()) return "";
  switch (record.ActionKind) {
    case akEmail:
      if (IsPlainEmailAddress(param)) return "E-Mail an: " + param;
      return "E-Mail an: " + param + " (keine einfache Adresse, wird nicht geöffnet)";
    case akWebsite:
      if (const auto address = WebAddress(param)) return "Webseite: " + *address;
      return "Webseite: " + param + " (keine Web-Adresse, wird nicht geöffnet)";
    case akProgram:
      return "Programm: " + param;
    case akDocument:
      return "Dokument: " + param;
    default:
      return "";
  }
}

}  // namespace reminder
