#include "core/store/IOUnit.h"

#include <algorithm>
#include <utility>

#include "core/store/DataFileFormat.h"

namespace reminder {

TFileIO::TFileIO(std::string fileName, IDataFile& file, IMsgBox& msgBox)
    : fileName_(std::move(fileName)), file_(file), msgBox_(msgBox) {}

TFileIO::~TFileIO() {
  Clear();
}

int TFileIO::IndexOf(const TNotifyInfo* record) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i] == record) return static_cast<int>(i);
  }
  return -1;
}

uint64_t TFileIO::SerialOf(const TNotifyInfo* record) const {
  return IndexOf(record) >= 0 ? TRecordPool::Serial(record) : 0;
}

void TFileIO::Load() {
  Clear();
  // Decoded as it is read, so the file is never held whole beside its records.
  TRecordStreamDecoder decoder([this]() -> TNotifyInfo& {
    items_.push_back(pool_.New());
    return *items_.back();
  });
  if (!file_.ReadPieces(fileName_, [&](std::string_view part) { decoder.Feed(part); })) {
    Clear();  // unreadable, also halfway: an empty list, as for a missing file
    return;
  }
  decoder.Finish();
}

namespace {

// Small enough to stay in the processor's cache between encoding and writing, large enough
// for the largest record.
constexpr size_t kSavePartSize = 256 * 1024;
static_assert(kSavePartSize >= kRecordFixedSize + 2 * 0xFFFF, "a part holds any record");

}  // namespace

bool TFileIO::Save() {
  if (!savePart_) savePart_.reset(new char[kSavePartSize]);
  // Whole records only, as many as fit into each part.
  size_t next = 0;
  const auto nextPart = [&]() -> std::string_view {
    size_t used = 0;
    while (next < items_.size()) {
      const size_t size = EncodedSize(*items_[next]);
      if (kSavePartSize - used < size) break;
      EncodeRecordTo(savePart_.get() + used, *items_[next]);
      used += size;
      ++next;
    }
    return {savePart_.get(), used};
  };
  if (file_.ReplaceInParts(fileName_, nextPart)) return true;
  ShowMsgBox(msgBox_, "Beim Schreiben der Informationen trat ein Fehler auf!", "", mkError, mbOK);
  return false;
}

TNotifyInfo EditableCopy(const TNotifyInfo& values) {
  TNotifyInfo record;
  record.NotifyKind = values.NotifyKind;
  record.NotifyDate = values.NotifyDate;
  record.DaysBefore = values.DaysBefore;
  record.NotifyText = values.NotifyText;
  record.ActionKind = values.ActionKind;
  record.ActionParam = values.ActionParam;
  record.RepeatKind = values.RepeatKind;
  return record;
}

TNotifyInfo* TFileIO::Add(const TNotifyInfo& values) {
  items_.reserve(items_.size() + 1);
  TNotifyInfo* record = pool_.New(EditableCopy(values));
  items_.push_back(record);
  Save();
  return record;
}

void TFileIO::AddAll(const std::vector<TNotifyInfo>& values) {
  items_.reserve(items_.size() + values.size());
  for (const TNotifyInfo& record : values) items_.push_back(pool_.New(EditableCopy(record)));
  Save();
}

void TFileIO::Delete(const TNotifyInfo* record) {
  const int index = IndexOf(record);
  if (index < 0) return;
  pool_.Free(items_[index]);
  items_.erase(items_.begin() + index);
  Save();
}

void TFileIO::Clear() {
  for (TNotifyInfo* record : items_) pool_.Free(record);
  items_.clear();
  pool_.Release();
}

}  // namespace reminder
