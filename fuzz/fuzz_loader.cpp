// Any bytes as "Reminder.dat": loading must not crash or hang, reading it in parts must
// give what reading it whole gives, and what it loads must come back the same after saving
// and loading again.
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
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto records = decode(bytes);
  // Every record takes at least one byte of the file.
  if (records.size() > size) std::abort();
  // Loading reads the file in parts and decodes complete records on a faster path; it must
  // give the same records, wherever the parts end.
  const size_t partSize = size == 0 ? 1 : 1 + data[0] % 97;
  std::vector<std::unique_ptr<TNotifyInfo>> streamed;
  TRecordStreamDecoder decoder([&]() -> TNotifyInfo& {
    streamed.push_back(std::make_unique<TNotifyInfo>());
    return *streamed.back();
  });
  for (size_t at = 0; at < size; at += partSize) decoder.Feed(bytes.substr(at, partSize));
  decoder.Finish();
  if (streamed.size() != records.size()) std::abort();
  for (size_t i = 0; i < records.size(); ++i) {
    if (!(*streamed[i] == *records[i])) std::abort();
  }
  std::string saved;
  for (const auto& record : records) EncodeRecord(saved, *record);
  const auto again = decode(saved);
  if (again.size() != records.size()) std::abort();
  for (size_t i = 0; i < records.size(); ++i) {
    if (!(*again[i] == *records[i])) std::abort();
  }
  return 0;
}
