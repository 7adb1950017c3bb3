#include "core/sync/CalDav.h"

#include <utility>

#include "core/sync/Url.h"

namespace reminder {

namespace {

constexpr int kMaxRedirects = 5;

constexpr char kDiscoverBody[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<d:propfind xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">"
    "<d:prop><d:resourcetype/><d:displayname/><d:current-user-principal/>"
    "<c:calendar-home-set/><c:supported-calendar-component-set/></d:prop></d:propfind>";

constexpr char kCTagBody[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<d:propfind xmlns:d=\"DAV:\" xmlns:cs=\"http://calendarserver.org/ns/\">"
    "<d:prop><cs:getctag/><d:sync-token/></d:prop></d:propfind>";

const char kXmlHead[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
const char kNamespaces[] = " xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\"";

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out.push_back(c);
        break;
    }
  }
  return out;
}

std::string WithSlash(std::string url) {
  if (url.empty() || url.back() != '/') url.push_back('/');
  return url;
}

bool SamePath(const std::string& a, const std::string& b) {
  return WithSlash(UnescapedPath(a)) == WithSlash(UnescapedPath(b));
}

bool IsRedirect(int status) {
  return status == 301 || status == 302 || status == 307 || status == 308;
}

// The members of a collection in a reply, with absolute addresses; the collection itself
// (which some servers list as well) is left out.
void TakeMembers(const std::string& calendarUrl, TMultistatus& reply, TEventList& list) {
  for (TDavResource& resource : reply.Resources) {
    resource.Href = ResolveUrl(calendarUrl, resource.Href);
    if (resource.Href.empty() || SamePath(resource.Href, calendarUrl)) continue;
    list.Events.push_back(std::move(resource));
  }
}

}  // namespace

THttpResponse TCalDav::SendFollowing(THttpRequest request, std::string* finalUrl) {
  THttpResponse response = http_.Send(request);
  for (int hop = 0; hop < kMaxRedirects && IsRedirect(response.Status); ++hop) {
    const std::string next = ResolveUrl(request.Url, response.Header("Location"));
    if (next.empty() || next == request.Url) break;
    request.Url = next;
    response = http_.Send(request);
  }
  if (finalUrl) *finalUrl = request.Url;
  return response;
}

bool TCalDav::Fail(const THttpRequest& request, const THttpResponse& response) {
  if (response.Status == 0) {
    error_ = response.Error.empty() ? UnreachableText(request.Url, "") : response.Error;
  } else if (response.Status == 401) {
    error_ =
        "Der Server lehnt die Anmeldung ab (HTTP 401). Bitte Benutzername und Passwort "
        "prüfen.";
  } else if (response.Status == 403) {
    error_ = "Der Server verweigert den Zugriff auf " + request.Url + " (HTTP 403).";
  } else if (response.Status == 404) {
    error_ = "Auf dem Server gibt es " + request.Url + " nicht (HTTP 404).";
  } else {
    error_ = "Der Server antwortet auf " + request.Method + " " + request.Url + " mit HTTP " +
             std::to_string(response.Status) + ".";
  }
  return false;
}

bool TCalDav::MultistatusOf(const std::string& method, const std::string& url,
                            const std::string& depth, const std::string& body, TMultistatus& reply,
                            std::string* finalUrl) {
  THttpRequest request{
      method, url, {{"Depth", depth}, {"Content-Type", "application/xml; charset=utf-8"}}, body};
  const THttpResponse response = SendFollowing(request, finalUrl);
  if (response.Status != 207) return Fail(request, response);
  if (!ParseMultistatus(response.Body, reply, error_)) return false;
  return true;
}

bool TCalDav::HomeOf(const std::string& address, std::string& homeUrl) {
  TMultistatus reply;
  std::string at;
  std::string principal;
  if (MultistatusOf("PROPFIND", address, "0", kDiscoverBody, reply, &at)) {
    for (const TDavResource& resource : reply.Resources) {
      if (!resource.CalendarHomeHref.empty()) {
        homeUrl = ResolveUrl(at, resource.CalendarHomeHref);
        return true;
      }
      if (principal.empty() && !resource.PrincipalHref.empty()) {
        principal = ResolveUrl(at, resource.PrincipalHref);
      }
    }
  } else if (error_.find("HTTP 401") != std::string::npos) {
    return false;
  }
  if (principal.empty()) {
    // The address may be the server's alone: the well-known place leads to the principal.
    reply = {};
    if (!MultistatusOf("PROPFIND", Origin(address) + "/.well-known/caldav", "0", kDiscoverBody,
                       reply, &at)) {
      return false;
    }
    for (const TDavResource& resource : reply.Resources) {
      if (!resource.CalendarHomeHref.empty()) {
        homeUrl = ResolveUrl(at, resource.CalendarHomeHref);
        return true;
      }
      if (principal.empty() && !resource.PrincipalHref.empty()) {
        principal = ResolveUrl(at, resource.PrincipalHref);
      }
    }
  }
  if (!principal.empty()) {
    reply = {};
    if (!MultistatusOf("PROPFIND", principal, "0", kDiscoverBody, reply, &at)) return false;
    for (const TDavResource& resource : reply.Resources) {
      if (!resource.CalendarHomeHref.empty()) {
        homeUrl = ResolveUrl(at, resource.CalendarHomeHref);
        return true;
      }
    }
  }
  error_ = "Auf dem Server " + Origin(address) +
           " wurde kein Kalenderverzeichnis gefunden (CalDAV wird dort nicht angeboten).";
  return false;
}

bool TCalDav::CalendarsIn(const std::string& homeUrl, std::vector<TCalendarInfo>& calendars) {
  TMultistatus reply;
  std::string at;
  if (!MultistatusOf("PROPFIND", homeUrl, "1", kDiscoverBody, reply, &at)) return false;
  for (const TDavResource& resource : reply.Resources) {
    if (!resource.IsCalendar || !resource.TakesEvents) continue;
    calendars.push_back({WithSlash(ResolveUrl(at, resource.Href)), resource.DisplayName});
  }
  return true;
}

bool TCalDav::Discover(const std::string& address, std::vector<TCalendarInfo>& calendars) {
  calendars.clear();
  error_.clear();
  TUrl url;
  if (!ParseUrl(address, url)) {
    error_ = "\"" + address + "\" ist keine Adresse, die mit http:// oder https:// beginnt.";
    return false;
  }
  // The address may name a calendar itself.
  TMultistatus reply;
  std::string at;
  if (MultistatusOf("PROPFIND", address, "0", kDiscoverBody, reply, &at)) {
    for (const TDavResource& resource : reply.Resources) {
      if (!resource.IsCalendar || !SamePath(ResolveUrl(at, resource.Href), at)) continue;
      if (!resource.TakesEvents) {
        error_ = "Der Kalender " + at + " nimmt keine Termine auf.";
        return false;
      }
      calendars.push_back({WithSlash(at), resource.DisplayName});
      return true;
    }
  } else if (error_.find("HTTP 401") != std::string::npos ||
             error_.find("HTTP 404") != std::string::npos) {
    // Wrong credentials, or an address that names nothing: another calendar found by
    // discovery would not be the one meant.
    return false;
  }
  std::string home;
  return HomeOf(address, home) && CalendarsIn(home, calendars);
}

bool TCalDav::MakeCalendar(const std::string& address, const std::string& name,
                           const std::string& displayName, TCalendarInfo& made) {
  error_.clear();
  std::string home;
  if (!HomeOf(address, home)) return false;
  const std::string body = std::string(kXmlHead) + "<c:mkcalendar" + kNamespaces +
                           "><d:set><d:prop><d:displayname>" + Escaped(displayName) +
                           "</d:displayname><c:supported-calendar-component-set>"
                           "<c:comp name=\"VEVENT\"/></c:supported-calendar-component-set>"
                           "</d:prop></d:set></c:mkcalendar>";
  THttpRequest request{"MKCALENDAR",
                       WithSlash(home) + name + "/",
                       {{"Content-Type", "application/xml; charset=utf-8"}},
                       body};
  const THttpResponse response = http_.Send(request);
  if (response.Status != 201) return Fail(request, response);
  made = {request.Url, displayName};
  return true;
}

bool TCalDav::ListEvents(const std::string& calendarUrl, bool withData, TEventList& list) {
  list = {};
  error_.clear();
  const std::string body =
      std::string(kXmlHead) + "<c:calendar-query" + kNamespaces + "><d:prop><d:getetag/>" +
      (withData ? "<c:calendar-data/>" : "") +
      "</d:prop><c:filter><c:comp-filter name=\"VCALENDAR\"><c:comp-filter name=\"VEVENT\"/>"
      "</c:comp-filter></c:filter></c:calendar-query>";
  TMultistatus reply;
  if (!MultistatusOf("REPORT", calendarUrl, "1", body, reply)) return false;
  TakeMembers(calendarUrl, reply, list);
  return true;
}

bool TCalDav::ChangesSince(const std::string& calendarUrl, const std::string& token,
                           TEventList& list) {
  list = {};
  error_.clear();
  const std::string body = std::string(kXmlHead) + "<d:sync-collection" + kNamespaces +
                           "><d:sync-token>" + Escaped(token) +
                           "</d:sync-token><d:sync-level>1</d:sync-level>"
                           "<d:prop><d:getetag/></d:prop></d:sync-collection>";
  THttpRequest request{"REPORT",
                       calendarUrl,
                       {{"Depth", "0"}, {"Content-Type", "application/xml; charset=utf-8"}},
                       body};
  const THttpResponse response = SendFollowing(request);
  if (!token.empty() &&
      (response.Status == 403 || response.Status == 409 || response.Status == 410)) {
    // The server forgot the token: everything must be compared anew.
    list.TokenValid = false;
    return true;
  }
  if (response.Status != 207) return Fail(request, response);
  TMultistatus reply;
  if (!ParseMultistatus(response.Body, reply, error_)) return false;
  list.SyncToken = reply.SyncToken;
  TakeMembers(calendarUrl, reply, list);
  return true;
}

bool TCalDav::FetchEvents(const std::string& calendarUrl, const std::vector<std::string>& hrefs,
                          TEventList& list) {
  list = {};
  error_.clear();
  if (hrefs.empty()) return true;
  std::string body = std::string(kXmlHead) + "<c:calendar-multiget" + kNamespaces +
                     "><d:prop><d:getetag/><c:calendar-data/></d:prop>";
  for (const std::string& href : hrefs) {
    TUrl url;
    body += "<d:href>" + Escaped(ParseUrl(href, url) ? url.Path : href) + "</d:href>";
  }
  body += "</c:calendar-multiget>";
  TMultistatus reply;
  if (!MultistatusOf("REPORT", calendarUrl, "1", body, reply)) return false;
  TakeMembers(calendarUrl, reply, list);
  return true;
}

bool TCalDav::CTag(const std::string& calendarUrl, std::string& ctag) {
  error_.clear();
  TMultistatus reply;
  if (!MultistatusOf("PROPFIND", calendarUrl, "0", kCTagBody, reply)) return false;
  ctag.clear();
  for (const TDavResource& resource : reply.Resources) {
    if (!resource.CTag.empty()) ctag = resource.CTag;
  }
  return true;
}

TPutResult TCalDav::Put(const std::string& url, const std::string& calendarData,
                        const std::string& ifMatch) {
  error_.clear();
  THttpRequest request{
      "PUT", url, {{"Content-Type", "text/calendar; charset=utf-8"}}, calendarData};
  if (ifMatch.empty()) {
    request.Headers.emplace_back("If-None-Match", "*");
  } else {
    request.Headers.emplace_back("If-Match", ifMatch);
  }
  const THttpResponse response = http_.Send(request);
  TPutResult result;
  if (response.Ok()) {
    result.Outcome = TDavOutcome::Done;
    result.ETag = response.Header("ETag");
  } else if (response.Status == 412) {
    result.Outcome = TDavOutcome::Conflict;
  } else {
    Fail(request, response);
    result.Error = error_;
  }
  return result;
}

TDavOutcome TCalDav::Delete(const std::string& url, const std::string& ifMatch) {
  error_.clear();
  THttpRequest request{"DELETE", url, {}, ""};
  if (!ifMatch.empty()) request.Headers.emplace_back("If-Match", ifMatch);
  const THttpResponse response = http_.Send(request);
  if (response.Ok() || response.Status == 404) return TDavOutcome::Done;
  if (response.Status == 412) return TDavOutcome::Conflict;
  Fail(request, response);
  return TDavOutcome::Failed;
}

}  // namespace reminder
