// What the data file and the calendar last agreed on, kept beside the data file in
// "Reminder.dat.sync" so that the data file keeps its format: per reminder identity the
// event's address on the server, its ETag and a hash of the content both sides had; and
// the calendar's address with its sync token. A sync compares both sides with it to tell
// who changed what.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace reminder {

struct TSyncItem {
  std::string Href;  // absolute
  std::string ETag;
  uint64_t Hash = 0;  // of the record's bytes as both sides had them
  // The same without the firing marks, to tell a firing from a change of the reminder.
  uint64_t MarklessHash = 0;

  bool operator==(const TSyncItem& other) const {
    return Href == other.Href && ETag == other.ETag && Hash == other.Hash &&
           MarklessHash == other.MarklessHash;
  }
};

struct TSyncState {
  std::string CalendarUrl;
  std::string SyncToken;
  std::map<std::string, TSyncItem> Items;  // by the identity's 32 hexadecimal digits

  bool operator==(const TSyncState& other) const {
    return CalendarUrl == other.CalendarUrl && SyncToken == other.SyncToken && Items == other.Items;
  }
};

// "<data file>.sync".
std::string SyncStatePath(const std::string& dataFile);
// A text of lines, fields separated by tabs, tabs, line ends and backslashes escaped.
std::string EncodeSyncState(const TSyncState& state);
// False for a text that is no state of this version; the caller then syncs as the first
// time (nothing is deleted on the strength of a state it cannot read).
bool DecodeSyncState(std::string_view text, TSyncState& state);

}  // namespace reminder
