#include "core/store/RecordPool.h"

#include <new>
#include <utility>

namespace reminder {

void* TRecordPool::Allocate() {
  Slot* slot = free_;
  if (slot) {
    free_ = slot->next;
  } else {
    if (usedInLastBlock_ == kBlockRecords) {
      // Slots are constructed one by one as they are used, so the block is not cleared.
      blocks_.emplace_back(new Slot[kBlockRecords]);
      usedInLastBlock_ = 0;
    }
    slot = &blocks_.back()[usedInLastBlock_++];
  }
  slot->serial = ++lastSerial_;
  return slot->storage;
}

TNotifyInfo* TRecordPool::New() {
  return new (Allocate()) TNotifyInfo();
}

TNotifyInfo* TRecordPool::New(TNotifyInfo values) {
  void* slot = Allocate();
  try {
    return new (slot) TNotifyInfo(std::move(values));
  } catch (...) {
    Slot* unused = reinterpret_cast<Slot*>(slot);
    unused->next = free_;
    free_ = unused;
    throw;
  }
}

void TRecordPool::Free(TNotifyInfo* record) {
  record->~TNotifyInfo();
  Slot* slot = reinterpret_cast<Slot*>(record);
  slot->next = free_;
  free_ = slot;
}

uint64_t TRecordPool::Serial(const TNotifyInfo* record) {
  return reinterpret_cast<const Slot*>(record)->serial;
}

void TRecordPool::Release() {
  blocks_.clear();
  usedInLastBlock_ = kBlockRecords;
  free_ = nullptr;
}

}  // namespace reminder
