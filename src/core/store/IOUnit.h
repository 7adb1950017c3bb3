// The store: the list of reminders, which owns its records, mirrored in the data file.
// Every change rewrites the whole file at once.
//
// Other programs (reminderctl, a second instance, a sync tool) write the file as well. So
// each record remembers its identity, the hash of its bytes as last read or written; a
// save that finds the file changed on disk reads it again and applies the list's own
// changes to what is there now: a record changed here replaces the one with its identity,
// one deleted here goes, one added here is appended, and what others added stays. A record
// that another writer changed or deleted meanwhile is not brought back; a change made here
// to it is dropped, and the user is told.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/host/WMsgBox.h"
#include "core/store/DataFile.h"
#include "core/store/NotifyInfo.h"
#include "core/store/RecordPool.h"
#include "core/store/ReservedBlock.h"

namespace reminder {

// What the last load found.
enum class TLoadState {
  Missing,     // no file: an empty list
  Read,        // every byte became a record
  Damaged,     // read, but the records do not give back the bytes (kept before a save)
  Unreadable,  // there, but not readable: an empty list that is never saved over it
};

// What a load of a damaged file made of it: records read (those cut short included) and
// an estimate of the reminders that could not be read or only in part.
struct TDamageCount {
  size_t Read = 0;
  size_t Lost = 0;
};

// "Gelesen: 998 Erinnerungen; nicht oder nur zum Teil lesbar: etwa 2 Erinnerungen."
std::string DamageCountText(const TDamageCount& count);
// Copies a damaged data file beside itself under a name of its own before it is first
// written anew. message tells the user where the original stays or, when no copy could be
// made (false: the file must not be written), that the change was not saved.
bool KeepDamagedCopy(IDataFile& file, const std::string& path, const TDamageCount& damage,
                     std::string& message);
// Why a save does not write the file at path, or none when nothing stands in its way.
std::optional<std::string> WriteObstacleText(TWriteObstacle obstacle, const std::string& path);

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
  // Takes in what other writers changed since the file was last read, keeping the records
  // that are still there; true when the list changed.
  bool Sync();
  // Called after the list took in changes from the file, so that a view can follow.
  void SetOnReloaded(std::function<void()> handler) { onReloaded_ = std::move(handler); }
  TLoadState LoadState() const { return loadState_; }
  // For a damaged file: what the last load read and what it could not.
  const TDamageCount& Damage() const { return damage_; }
  // Whether the last save failed or was refused (and was reported).
  bool SaveFailed() const { return saveFailed_; }
  // Where the identities of new records, and of records that have none, come from; the
  // system's random numbers unless a test passes its own.
  void SetIdentitySource(IIdentitySource& source) { idSource_ = &source; }
  // Writes the whole list, holding the writers' lock of the file. On failure it shows why
  // and keeps the old file: another writer kept the lock, the file is read-only or a
  // directory, or it could not be read when loaded (nothing read is never saved over it).
  // Before the first save over a damaged file the original is kept beside it and the user
  // told where. Every record whose reserved block can hold one gets an identity first.
  bool Save() { return Save(true); }
  // Appends a pending, never fired copy of the editable fields with a new identity and
  // saves.
  TNotifyInfo* Add(const TNotifyInfo& values);
  // Appends each as Add does, saving once for all of them.
  void AddAll(std::vector<TNotifyInfo> values);
  // Appends the records as they are, firing marks and reserved bytes included (an import
  // that brings them along), and saves once; a record without identity gets one.
  void AddRecords(std::vector<TNotifyInfo> records);
  // Frees and removes the record and saves; a reference not in the list changes nothing.
  void Delete(const TNotifyInfo* record);
  // Deletes each as Delete does, saving once for all of them.
  void DeleteAll(const std::vector<const TNotifyInfo*>& records);
  // Frees every record; the file is not touched.
  void Clear();

 protected:
  IMsgBox& MsgBox() { return msgBox_; }
  // As Save; without reportDropped a change that another writer's change overrode is
  // dropped silently (the due check's marks).
  bool Save(bool reportDropped);

 private:
  struct TNotice {
    TMsgKind Kind;
    std::string Text;
  };

  std::string fileName_;
  IDataFile& file_;
  IMsgBox& msgBox_;
  TRecordPool pool_;
  std::vector<TNotifyInfo*> items_;   // owned; allocated from pool_
  std::vector<uint64_t> identities_;  // of each item; 0 for one not yet in the file
  std::vector<uint64_t> deleted_;     // identities of the items deleted since the last save
  TFileStamp stamp_;                  // of the file as last read or written
  TRandomIdentitySource randomIds_;
  IIdentitySource* idSource_ = &randomIds_;
  bool stamped_ = false;
  std::function<void()> onReloaded_;
  std::vector<TNotice> notices_;
  std::unique_ptr<char[]> savePart_;  // kept between saves, so that saving reuses its memory
  TLoadState loadState_ = TLoadState::Missing;
  TDamageCount damage_;
  bool saveFailed_ = false;

  bool SaveLocked(bool reportDropped, bool& reloaded);
  bool KeepDamagedOriginal();
  // Messages of a save, shown when it is over.
  void Tell(TMsgKind kind, const std::string& text);
  bool Refuse(const std::string& text);
  void RemoveAt(size_t index);
  // Reads the file's records with their identities; sets loadState_.
  bool ReadFile(std::vector<TNotifyInfo*>& records, std::vector<uint64_t>& identities);
  void TakeStamp();
  bool FileChanged();
  // Builds the list anew from the file and the changes made here; false when the file
  // could not be read. changed: whether anything came from the file.
  bool Merge(bool reportDropped, bool& changed);
};

// The editable fields of a record, as the editor gives them: pending, never fired,
// reserved fields zero but for the extended repetition rule the editor set.
TNotifyInfo EditableCopy(TNotifyInfo values);
// A record changed in the editor: the editable fields of values with their extended rule
// (none removes it), pending and never fired, keeping the identity of the record as it
// was; a snooze ends.
TNotifyInfo ChangedCopy(const TNotifyInfo& old, TNotifyInfo values);

}  // namespace reminder
