// Any bytes as a calendar server's multistatus reply: reading it must not crash, hang or
// run the stack out, and the calendar data it carries goes on to the calendar reader as
// sync hands it over.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/ical/LocalTime.h"
#include "core/ical/ReminderCalendar.h"
#include "core/sync/Multistatus.h"

namespace {

using namespace reminder;

class TUtc : public ILocalTime {
 public:
  TDateTime UtcToLocal(TDateTime utc) override { return utc; }
  TDateTime LocalToUtc(TDateTime local) override { return local; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMultistatus reply;
  std::string error;
  if (!ParseMultistatus(std::string_view(reinterpret_cast<const char*>(data), size), reply,
                        error)) {
    return 0;
  }
  TUtc zone;
  for (const TDavResource& resource : reply.Resources) {
    TImportResult imported;
    ImportReminders(resource.CalendarData, zone, imported, error);
  }
  return 0;
}
