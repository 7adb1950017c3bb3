// The store: the list of reminders, which owns its records, mirrored in the data file.
// Every change rewrites the whole file at once.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/host/WMsgBox.h"
#include "core/store/DataFile.h"
#include "core/store/NotifyInfo.h"
#include "core/store/RecordPool.h"

namespace reminder {

// What the last load found.
enum class TLoadState {
  Missing,     // no file: an empty list
  Read,        // every byte became a record
  Damaged,     // read, but the records do not give back the bytes (kept before a save)
  Unreadable,  // there, but not readable: an empty list that is never saved over it
};

class TFileIO {
 public:
  TFileIO(std::string fileName, IDataFile& file, IMsgBox& msgBox);
  virtual ~TFileIO();
  TFileIO(const TFileIO&) = delete;
  TFileIO& operator=(const TFileIO&) = delete;

  const std::string& FileName() const { return fileName_; }
  size_t Count() const { return items_.size(); }
  TNotifyInfo& Item(size_t index) { return *items_[index]; }
  const TNotifyInfo& Item(size_t index) const { return *items_[index]; }
  // The index of a record in the list, or -1 when the reference is not (or no more) in it.
  int IndexOf(const TNotifyInfo* record) const;
  // A number for the record while it is in the list, 0 when it is not. A record made later
  // at the address of a deleted one gets another number.
  uint64_t SerialOf(const TNotifyInfo* record) const;

  // Replaces the list by the file's records; a missing or unreadable file gives an empty list.
  void Load();
  TLoadState LoadState() const { return loadState_; }
  // Whether the last save failed or was refused (and was reported).
  bool SaveFailed() const { return saveFailed_; }
  // Writes the whole list, holding the writers' lock of the file. On failure it shows why
  // and keeps the old file: another writer kept the lock, the file is read-only or a
  // directory, or it could not be read when loaded (nothing read is never saved over it).
  // Before the first save over a damaged file the original is kept beside it and the user
  // told where.
  bool Save();
  // Appends a pending, never fired copy of the editable fields and saves.
  TNotifyInfo* Add(const TNotifyInfo& values);
  // Appends each as Add does, saving once for all of them.
  void AddAll(const std::vector<TNotifyInfo>& values);
  // Frees and removes the record and saves; a reference not in the list changes nothing.
  void Delete(const TNotifyInfo* record);
  // Frees every record; the file is not touched.
  void Clear();

 protected:
  IMsgBox& MsgBox() { return msgBox_; }

 private:
  std::string fileName_;
  IDataFile& file_;
  IMsgBox& msgBox_;
  TRecordPool pool_;
  std::vector<TNotifyInfo*> items_;   // owned; allocated from pool_
  std::unique_ptr<char[]> savePart_;  // kept between saves, so that saving reuses its memory
  TLoadState loadState_ = TLoadState::Missing;
  bool saveFailed_ = false;

  bool KeepDamagedOriginal();
  bool Refuse(const std::string& text);
};

// The editable fields of a record, as the editor gives them: pending, never fired,
// reserved fields zero.
TNotifyInfo EditableCopy(const TNotifyInfo& values);

}  // namespace reminder
