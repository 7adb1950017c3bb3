#include "core/sync/HttpClient.h"

#include "core/sync/Url.h"

namespace reminder {

std::string THttpResponse::Header(const std::string& name) const {
  for (const auto& [key, value] : Headers) {
    if (EqualNoCase(key, name)) return value;
  }
  return "";
}

std::string UnreachableText(const std::string& url, const std::string& detail) {
  std::string text = "Der Server " + Origin(url) + " ist nicht erreichbar";
  if (!detail.empty()) text += " (" + detail + ")";
  return text + ".";
}

}  // namespace reminder
