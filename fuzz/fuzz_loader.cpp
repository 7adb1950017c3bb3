// Any bytes as "Reminder.dat": loading must not crash or hang, and what it loads must
// come back the same after saving and loading again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/store/DataFileFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace reminder;
  std::vector<std::unique_ptr<TNotifyInfo>> records;
  DecodeRecords(std::string_view(reinterpret_cast<const char*>(data), size), records);
  // Every record takes at least one byte of the file.
  if (records.size() > size) std::abort();
  std::string saved;
  for (const auto& record : records) EncodeRecord(saved, *record);
  std::vector<std::unique_ptr<TNotifyInfo>> again;
  DecodeRecords(saved, again);
  if (again.size() != records.size()) std::abort();
  for (size_t i = 0; i < records.size(); ++i) {
    if (!(*again[i] == *records[i])) std::abort();
  }
  return 0;
}
