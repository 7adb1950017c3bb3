// What a calendar server's 207 Multi-Status reply says, as far as sync needs it: per
// resource its address, ETag and calendar data, and of collections what they are, their
// change tags and the places discovery goes on to. Only properties the server answered
// with a 2xx status count.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace reminder {

struct TDavResource {
  std::string Href;
  // The status of the response as a whole, as sync-collection gives it for a deleted
  // member (404); 0 when the response gave its status per property.
  int Status = 0;
  std::string ETag;
  std::string CalendarData;
  std::string DisplayName;
  std::string CTag;
  std::string SyncToken;
  std::string PrincipalHref;     // current-user-principal
  std::string CalendarHomeHref;  // calendar-home-set
  bool IsCollection = false;
  bool IsCalendar = false;
  // Whether the calendar takes events: a collection that lists its components must name
  // VEVENT; one that lists none takes every kind.
  bool TakesEvents = true;
};

struct TMultistatus {
  std::vector<TDavResource> Resources;
  std::string SyncToken;  // of a sync-collection reply as a whole
};

// False for a reply that is no well-formed multistatus (cut short, another document, too
// deeply nested); error then says why in German.
bool ParseMultistatus(std::string_view xml, TMultistatus& result, std::string& error);

}  // namespace reminder
