// Any bytes as a calendar file for import: reading must not crash, hang or run the stack
// out, and what it brings in must export to a calendar that imports to the same reminders
// (an export of the import of an export is the export itself).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/ical/ReminderCalendar.h"
#include "core/ical/Values.h"

namespace {

using namespace reminder;

// A zone an hour east of UTC, so that times given in UTC are converted.
class TFixedOffset : public ILocalTime {
 public:
  TDateTime UtcToLocal(TDateTime utc) override { return FromSeconds(SecondsOf(utc) + 3600); }
  TDateTime LocalToUtc(TDateTime local) override { return FromSeconds(SecondsOf(local) - 3600); }
};

std::string ExportOf(const TImportResult& imported) {
  std::vector<const TNotifyInfo*> records;
  for (const TImportedEvent& event : imported.Events) records.push_back(&event.Record);
  return ExportReminders(records, EncodeDate(2026, 1, 1)).Calendar;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TFixedOffset zone;
  TImportResult imported;
  std::string error;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (!ImportReminders(text, zone, imported, error)) return 0;
  if (imported.Events.size() > imported.EventCount) std::abort();
  const std::string first = ExportOf(imported);
  TImportResult again;
  if (!ImportReminders(first, zone, again, error)) std::abort();
  if (ExportOf(again) != first) std::abort();
  return 0;
}
