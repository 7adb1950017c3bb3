// What the module's calendar sync decides without a window or a thread: the settings and
// their check, the password's stored form as text, the status line, and when the next
// attempt is due (after a failure later and later, up to an hour).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/common/DateTime.h"
#include "core/common/FormatSettings.h"

namespace reminder {

struct TSyncSettings {
  bool Enabled = false;
  std::string Server;  // the address the user typed, http:// or https://
  std::string User;
  std::string Password;      // in the clear only in memory
  std::string CalendarUrl;   // the chosen calendar; "" while none is chosen
  std::string CalendarName;  // its display name, as the server gave it
};

// Why the settings cannot be used for a sync, in German; "" when they can. Only an
// enabled sync needs all of them.
std::string SyncSettingsProblem(const TSyncSettings& settings);

// Bytes as upper-case hexadecimal digits, and back; false for a text that is none.
std::string HexOfBytes(const std::vector<uint8_t>& bytes);
bool BytesOfHex(const std::string& text, std::vector<uint8_t>& bytes);

// "Synchronisation: zuletzt erfolgreich am <date and time>".
std::string SyncSucceededText(TDateTime when, const TFormatSettings& fs);
// "Synchronisation fehlgeschlagen: <error>".
std::string SyncFailedText(const std::string& error);

// The delay after the given number of failures in a row: 1, 2, 4 ... minutes, at most 60.
int32_t SyncBackoffMinutes(int failures);

// When the next sync may run. After a success the refresh interval must pass, after a
// failure the growing delay; a request by the user (a change, "Jetzt synchronisieren")
// runs at once unless a failure's delay is still running and it is no explicit request.
class TSyncSchedule {
 public:
  bool Due(TDateTime now) const { return now >= next_; }
  void Succeeded(TDateTime now, int32_t intervalSeconds);
  void Failed(TDateTime now);
  // A local change wants its sync soon; during a backoff it waits for the delay's end.
  void ChangeMade(TDateTime now);
  int Failures() const { return failures_; }
  TDateTime Next() const { return next_; }

 private:
  TDateTime next_ = 0;
  int failures_ = 0;
};

}  // namespace reminder
