#include "core/store/RecordPool.h"

#include <new>

namespace reminder {

void* TRecordPool::Allocate() {
  if (free_) {
    Slot* slot = free_;
    free_ = slot->next;
    return slot->storage;
  }
  if (usedInLastBlock_ == kBlockRecords) {
    // Slots are constructed one by one as they are used, so the block is not cleared.
    blocks_.emplace_back(new Slot[kBlockRecords]);
    usedInLastBlock_ = 0;
  }
  return blocks_.back()[usedInLastBlock_++].storage;
}

TNotifyInfo* TRecordPool::New() {
  return new (Allocate()) TNotifyInfo();
}

TNotifyInfo* TRecordPool::New(const TNotifyInfo& values) {
  void* slot = Allocate();
  try {
    return new (slot) TNotifyInfo(values);
  } catch (...) {
    Slot* unused = static_cast<Slot*>(slot);
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

void TRecordPool::Release() {
  blocks_.clear();
  usedInLastBlock_ = kBlockRecords;
  free_ = nullptr;
}

}  // namespace reminder
