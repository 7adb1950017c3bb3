// Storage for the store's records. Records live in blocks, so that loading a large file
// does not allocate each record on its own; a record's address stays valid until it is
// freed, which is what list items and open alerts rely on. Each record also gets a serial
// number that no later record of the pool repeats, so that a holder can tell its record
// from a new one made at the same address.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/store/NotifyInfo.h"

namespace reminder {

class TRecordPool {
 public:
  TRecordPool() = default;
  TRecordPool(const TRecordPool&) = delete;
  TRecordPool& operator=(const TRecordPool&) = delete;

  TNotifyInfo* New();
  TNotifyInfo* New(TNotifyInfo values);
  // Destroys the record; its slot is used again by a later New.
  void Free(TNotifyInfo* record);
  // Gives the memory back; every record must have been freed.
  void Release();
  static uint64_t Serial(const TNotifyInfo* record);

 private:
  static constexpr size_t kBlockRecords = 256;
  struct Slot {
    union {
      alignas(TNotifyInfo) unsigned char storage[sizeof(TNotifyInfo)];
      Slot* next;  // while free
    };
    uint64_t serial;
  };
  void* Allocate();

  std::vector<std::unique_ptr<Slot[]>> blocks_;
  size_t usedInLastBlock_ = kBlockRecords;
  Slot* free_ = nullptr;
  uint64_t lastSerial_ = 0;
};

}  // namespace reminder
