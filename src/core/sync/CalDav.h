// The requests of a CalDAV calendar (RFC 4791) that sync makes, over an IHttpClient: find
// the user's calendars from a server's address, make one, list its events with their
// ETags and data, ask what changed since a sync token, and put or delete one event on
// condition that nobody changed it meanwhile.
#pragma once

#include <string>
#include <vector>

#include "core/sync/HttpClient.h"
#include "core/sync/Multistatus.h"

namespace reminder {

struct TCalendarInfo {
  std::string Url;  // absolute, ending in "/"
  std::string DisplayName;
};

// What a request came to: done, refused on its condition (412: someone changed or made the
// event meanwhile), or failed with a German text.
enum class TDavOutcome { Done, Conflict, Failed };

struct TPutResult {
  TDavOutcome Outcome = TDavOutcome::Failed;
  std::string ETag;  // as the server gave it; "" when it gave none (fetch it then)
  std::string Error;
};

struct TEventList {
  std::vector<TDavResource> Events;  // Href absolute; ETag and, when asked for, CalendarData
  std::string SyncToken;
  // Whether the token was current: false after a 403/409/410 on sync-collection, when the
  // whole list must be fetched again.
  bool TokenValid = true;
};

class TCalDav {
 public:
  explicit TCalDav(IHttpClient& http) : http_(http) {}

  // From what a user knows, the server's address or a calendar's own: the calendars of the
  // signed-in user that take events. False with Error() when none could be found.
  bool Discover(const std::string& address, std::vector<TCalendarInfo>& calendars);
  // The collection "name" below the user's calendar home, made with MKCALENDAR; false when
  // the server refuses.
  bool MakeCalendar(const std::string& address, const std::string& name,
                    const std::string& displayName, TCalendarInfo& made);
  // Every event of the calendar, with ETags and, when withData, the calendar data.
  bool ListEvents(const std::string& calendarUrl, bool withData, TEventList& list);
  // What changed since the token ("" for everything): changed members with their ETags,
  // deleted ones with Status 404.
  bool ChangesSince(const std::string& calendarUrl, const std::string& token, TEventList& list);
  // The calendar data of the given events (absolute addresses), with their ETags.
  bool FetchEvents(const std::string& calendarUrl, const std::vector<std::string>& hrefs,
                   TEventList& list);
  // The collection's change tag; "" when the server keeps none.
  bool CTag(const std::string& calendarUrl, std::string& ctag);
  // Writes the event at url: with an ETag only over that version, without one only where no
  // event is yet (If-None-Match: *).
  TPutResult Put(const std::string& url, const std::string& calendarData,
                 const std::string& ifMatch);
  // Deletes the event at url if it is still that version; an event already gone counts as
  // deleted.
  TDavOutcome Delete(const std::string& url, const std::string& ifMatch);

  const std::string& Error() const { return error_; }

 private:
  // Sends and follows up to a few redirects; the final address in finalUrl.
  THttpResponse SendFollowing(THttpRequest request, std::string* finalUrl = nullptr);
  // A PROPFIND or REPORT answered with 207, parsed; false with error_ set otherwise.
  bool MultistatusOf(const std::string& method, const std::string& url, const std::string& depth,
                     const std::string& body, TMultistatus& reply, std::string* finalUrl = nullptr);
  bool Fail(const THttpRequest& request, const THttpResponse& response);
  bool CalendarsIn(const std::string& homeUrl, std::vector<TCalendarInfo>& calendars);
  bool HomeOf(const std::string& address, std::string& homeUrl);

  IHttpClient& http_;
  std::string error_;
};

}  // namespace reminder
