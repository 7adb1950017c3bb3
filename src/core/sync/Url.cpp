#include "core/sync/Url.h"

#include <cctype>

namespace reminder {

namespace {

char Lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = Lower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

bool EqualNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

bool ParseUrl(const std::string& text, TUrl& url) {
  const size_t colon = text.find("://");
  if (colon == std::string::npos) return false;
  std::string scheme = text.substr(0, colon);
  for (char& c : scheme) c = Lower(c);
  if (scheme != "http" && scheme != "https") return false;
  const size_t hostStart = colon + 3;
  size_t pathStart = text.find_first_of("/?#", hostStart);
  if (pathStart == std::string::npos) pathStart = text.size();
  std::string host = text.substr(hostStart, pathStart - hostStart);
  // User names in the address are not taken: they come as credentials of their own.
  if (host.empty() || host.find('@') != std::string::npos) return false;
  for (char c : host) {
    if (std::isspace(static_cast<unsigned char>(c)) || c == '\\') return false;
  }
  std::string path = text.substr(pathStart);
  const size_t fragment = path.find('#');
  if (fragment != std::string::npos) path.erase(fragment);
  if (path.empty() || path[0] != '/') path.insert(0, "/");
  url = {scheme, host, path};
  return true;
}

std::string Origin(const std::string& text) {
  TUrl url;
  return ParseUrl(text, url) ? url.Scheme + "://" + url.Host : "";
}

std::string ResolveUrl(const std::string& base, const std::string& reference) {
  TUrl url;
  if (ParseUrl(reference, url)) return url.Scheme + "://" + url.Host + url.Path;
  if (!ParseUrl(base, url)) return "";
  if (reference.rfind("//", 0) == 0) return url.Scheme + ":" + reference;
  if (!reference.empty() && reference[0] == '/') return url.Scheme + "://" + url.Host + reference;
  std::string path = url.Path.substr(0, url.Path.find('?'));
  path.erase(path.rfind('/') + 1);
  return url.Scheme + "://" + url.Host + path + reference;
}

std::string UnescapedPath(const std::string& text) {
  TUrl url;
  const std::string path = ParseUrl(text, url) ? url.Path : text;
  std::string out;
  for (size_t i = 0; i < path.size(); ++i) {
    if (path[i] == '%' && i + 2 < path.size() && HexValue(path[i + 1]) >= 0 &&
        HexValue(path[i + 2]) >= 0) {
      out.push_back(static_cast<char>(HexValue(path[i + 1]) * 16 + HexValue(path[i + 2])));
      i += 2;
    } else {
      out.push_back(path[i]);
    }
  }
  return out;
}

}  // namespace reminder
