// Any bytes as "Reminder.dat": loading must not crash or hang, and what it loads must
// come back the same after saving and loading again.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "core/store/DataFileFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace reminder;
  auto decode = [](std::string_view bytes) {
    std::vector<std::unique_ptr<TNotifyInfo>> records;
    DecodeRecords(bytes, [&]() -> TNotifyInfo& {
      records.push_back(std::make_unique<TNotifyInfo>());
      return *records.back();
    });
    return records;
  };
  const auto records = decode(std::string_view(reinterpret_cast<const char*>(data), size));
  // Every record takes at least one byte of the file.
  if (records.size() > size) std::abort();
  std::string saved;
  for (const auto& record : records) EncodeRecord(saved, *record);
  const auto again = decode(saved);
  if (again.size() != records.size()) std::abort();
  for (size_t i = 0; i < records.size(); ++i) {
    if (!(*again[i] == *records[i])) std::abort();
  }
  return 0;
}
