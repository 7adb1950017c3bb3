#include "core/store/IOUnit.h"

#include <utility>

#include "core/store/DataFileFormat.h"

namespace reminder {

TFileIO::TFileIO(std::string fileName, IDataFile& file, IMsgBox& msgBox)
    : fileName_(std::move(fileName)), file_(file), msgBox_(msgBox) {}

TFileIO::~TFileIO() = default;

int TFileIO::IndexOf(const TNotifyInfo* record) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].get() == record) return static_cast<int>(i);
  }
  return -1;
}

void TFileIO::Load() {
  Clear();
  buffer_.clear();
  if (!file_.Read(fileName_, buffer_)) return;
  DecodeRecords(buffer_, items_);
  buffer_.clear();
  buffer_.shrink_to_fit();
}

bool TFileIO::Save() {
  buffer_.clear();
  for (const auto& record : items_) EncodeRecord(buffer_, *record);
  if (file_.Replace(fileName_, buffer_)) return true;
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
  items_.push_back(std::make_unique<TNotifyInfo>(EditableCopy(values)));
  TNotifyInfo* record = items_.back().get();
  Save();
  return record;
}

void TFileIO::Delete(const TNotifyInfo* record) {
  const int index = IndexOf(record);
  if (index < 0) return;
  items_.erase(items_.begin() + index);
  Save();
}

void TFileIO::Clear() { items_.clear(); }

}  // namespace reminder
