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
    loadState_ = file_.Exists(fileName_) ? TLoadState::Unreadable : TLoadState::Missing;
    return;
  }
  decoder.Finish();
  loadState_ = decoder.Exact() ? TLoadState::Read : TLoadState::Damaged;
}

namespace {

// Small enough to stay in the processor's cache between encoding and writing, large enough
// for the largest record.
constexpr size_t kSavePartSize = 256 * 1024;
static_assert(kSavePartSize >= kRecordFixedSize + 2 * 0xFFFF, "a part holds any record");

}  // namespace

bool TFileIO::Refuse(const std::string& text) {
  saveFailed_ = true;
  ShowMsgBox(msgBox_, text, "", mkError, mbOK);
  return false;
}

bool TFileIO::KeepDamagedOriginal() {
  const std::string copy = DamagedCopyPath(fileName_);
  if (!file_.KeepCopy(fileName_, copy)) {
    return Refuse("Die Datei \"" + fileName_ +
                  "\" ist beschädigt, und eine Kopie des Originals konnte nicht angelegt "
                  "werden. Die Änderung wurde nicht gespeichert.");
  }
  ShowMsgBox(msgBox_,
             "Die Datei \"" + fileName_ +
                 "\" war beschädigt; es konnten nicht alle Erinnerungen gelesen werden. Das "
                 "Original bleibt unverändert als \"" +
                 copy + "\" erhalten.",
             "", mkWarning, mbOK);
  loadState_ = TLoadState::Read;
  return true;
}

bool TFileIO::Save() {
  const std::string unsaved = " Die Änderung wurde nicht gespeichert.";
  if (loadState_ == TLoadState::Unreadable) {
    return Refuse("Die Datei \"" + fileName_ +
                  "\" konnte nicht gelesen werden und wird nicht überschrieben, damit keine "
                  "Erinnerungen verloren gehen." +
                  unsaved);
  }
  switch (file_.WriteObstacle(fileName_)) {
    case TWriteObstacle::ReadOnly:
      return Refuse("Die Datei \"" + fileName_ + "\" ist schreibgeschützt." + unsaved);
    case TWriteObstacle::Directory:
      return Refuse("\"" + fileName_ + "\" ist ein Verzeichnis, keine Datei." + unsaved);
    case TWriteObstacle::None:
      break;
  }
  const std::unique_ptr<IFileLockHold> hold = file_.LockForUpdate(fileName_);
  if (!hold) {
    return Refuse("Die Datei \"" + fileName_ +
                  "\" wird gerade von einem anderen Programm geschrieben." + unsaved);
  }
  if (loadState_ == TLoadState::Damaged && !KeepDamagedOriginal()) return false;
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
  if (file_.ReplaceInParts(fileName_, nextPart)) {
    loadState_ = TLoadState::Read;
    saveFailed_ = false;
    return true;
  }
  return Refuse("Beim Schreiben der Informationen trat ein Fehler auf!");
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
