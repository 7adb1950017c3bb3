// The few things sync needs of addresses: where a server's answer points to, relative to
// the address asked, and what a user typed, made whole.
#pragma once

#include <string>

namespace reminder {

struct TUrl {
  std::string Scheme;  // "http" or "https", lower case
  std::string Host;    // with ":port" when one was given
  std::string Path;    // from the first "/" on, with the query; "/" at least
};

// False for anything but an http:// or https:// address with a host.
bool ParseUrl(const std::string& text, TUrl& url);
// "https://host:port" of an address; "" when it is none.
std::string Origin(const std::string& url);
// The address that reference names, seen from base: a whole address, a path from the
// host's root, or a path beside base's last "/".
std::string ResolveUrl(const std::string& base, const std::string& reference);
// The path of an address without its percent-escapes ("/a%20b/" is "/a b/"), so that an
// href and the address it came from compare equal however each is escaped.
std::string UnescapedPath(const std::string& url);
// Whether a and b are equal, letters compared without regard to case (ASCII).
bool EqualNoCase(const std::string& a, const std::string& b);

}  // namespace reminder
