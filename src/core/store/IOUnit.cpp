#include "core/store/IOUnit.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "core/store/DataFileFormat.h"
#include "core/store/RepeatRule.h"

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
  TakeStamp();
  ReadFile(items_, identities_);
}

void TFileIO::TakeStamp() {
  stamped_ = file_.Stamp(fileName_, stamp_);
}

bool TFileIO::FileChanged() {
  TFileStamp now;
  if (file_.Stamp(fileName_, now)) return !stamped_ || !(now == stamp_);
  // No stamp: the file is missing (changed if it was there), or the system tells none
  // (then only this list writes it).
  return stamped_ && !file_.Exists(fileName_);
}

bool TFileIO::ReadFile(std::vector<TNotifyInfo*>& records, std::vector<uint64_t>& identities) {
  const size_t first = records.size();
  // Decoded as it is read, so the file is never held whole beside its records.
  TRecordStreamDecoder decoder([&]() -> TNotifyInfo& {
    records.push_back(pool_.New());
    return *records.back();
  });
  decoder.SetOnRecordBytes(
      [&](std::string_view bytes) { identities.push_back(RecordHash(bytes)); });
  if (!file_.ReadPieces(fileName_, [&](std::string_view part) {
        decoder.Feed(part);
        return true;
      })) {
    // Unreadable, also halfway: nothing of it, as for a missing file.
    for (size_t i = first; i < records.size(); ++i) pool_.Free(records[i]);
    records.resize(first);
    identities.resize(first);
    loadState_ = file_.Exists(fileName_) ? TLoadState::Unreadable : TLoadState::Missing;
    return loadState_ != TLoadState::Unreadable;
  }
  decoder.Finish();
  loadState_ = decoder.Exact() ? TLoadState::Read : TLoadState::Damaged;
  damage_ = {decoder.Decoded(), decoder.Lost()};
  return true;
}

bool TFileIO::Sync() {
  if (loadState_ != TLoadState::Unreadable && !FileChanged()) return false;
  bool changed = false;
  Merge(false, changed);
  if (changed && onReloaded_) onReloaded_();
  return changed;
}

bool TFileIO::Merge(bool reportDropped, bool& changed) {
  changed = false;
  std::vector<TNotifyInfo*> disk;
  std::vector<uint64_t> diskIdentities;
  TakeStamp();
  if (!ReadFile(disk, diskIdentities)) return false;

  std::unordered_multimap<uint64_t, size_t> mine;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (identities_[i] != 0) mine.emplace(identities_[i], i);
  }
  std::unordered_map<uint64_t, size_t> deleted;
  for (uint64_t identity : deleted_) ++deleted[identity];

  std::vector<TNotifyInfo*> merged;
  std::vector<uint64_t> mergedIdentities;
  std::vector<bool> kept(items_.size(), false);
  for (size_t k = 0; k < disk.size(); ++k) {
    const uint64_t identity = diskIdentities[k];
    const auto own = mine.find(identity);
    if (own != mine.end()) {
      // Still there as last read: the list's record, with any change made here.
      kept[own->second] = true;
      merged.push_back(items_[own->second]);
      mergedIdentities.push_back(identity);
      mine.erase(own);
      pool_.Free(disk[k]);
    } else if (const auto gone = deleted.find(identity); gone != deleted.end() && gone->second) {
      --gone->second;
      pool_.Free(disk[k]);
    } else {
      merged.push_back(disk[k]);  // another writer's
      mergedIdentities.push_back(identity);
      changed = true;
    }
  }
  std::vector<std::string> dropped;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (identities_[i] == 0) {
      merged.push_back(items_[i]);  // added here
      mergedIdentities.push_back(0);
    } else if (!kept[i]) {
      // Changed or deleted by another writer: not brought back.
      if (RecordHash(*items_[i]) != identities_[i]) dropped.push_back(items_[i]->NotifyText);
      pool_.Free(items_[i]);
      changed = true;
    }
  }
  items_ = std::move(merged);
  identities_ = std::move(mergedIdentities);
  deleted_.clear();
  if (reportDropped && !dropped.empty()) {
    std::string texts;
    for (const std::string& text : dropped) texts += "\n\"" + text + "\"";
    Tell(mkWarning,
         "Ein anderes Programm hat diese Erinnerungen inzwischen geändert oder gelöscht; Ihre "
         "Änderungen daran wurden verworfen:" +
             texts);
  }
  return true;
}

namespace {

// Small enough to stay in the processor's cache between encoding and writing, large enough
// for the largest record.
constexpr size_t kSavePartSize = 256 * 1024;
static_assert(kSavePartSize >= kRecordFixedSize + 2 * 0xFFFF, "a part holds any record");

}  // namespace

void TFileIO::Tell(TMsgKind kind, const std::string& text) {
  notices_.push_back({kind, text});
}

bool TFileIO::Refuse(const std::string& text) {
  saveFailed_ = true;
  Tell(mkError, text);
  return false;
}

bool KeepDamagedCopy(IDataFile& file, const std::string& path, const TDamageCount& damage,
                     std::string& message) {
  // Every damaged original keeps a name of its own, also two within one second.
  const std::string first = DamagedCopyPath(path);
  std::string copy = first;
  for (int n = 2; file.Exists(copy); ++n) copy = first + "-" + std::to_string(n);
  if (!file.KeepCopy(path, copy)) {
    message = "Die Datei \"" + path +
              "\" ist beschädigt, und eine Kopie des Originals konnte nicht angelegt "
              "werden. Die Änderung wurde nicht gespeichert.";
    return false;
  }
  message = "Die Datei \"" + path + "\" war beschädigt; es konnten nicht alle " +
            "Erinnerungen gelesen werden. " + DamageCountText(damage) +
            " Das Original bleibt unverändert als \"" + copy + "\" erhalten.";
  return true;
}

std::optional<std::string> WriteObstacleText(TWriteObstacle obstacle, const std::string& path) {
  const std::string unsaved = " Die Änderung wurde nicht gespeichert.";
  switch (obstacle) {
    case TWriteObstacle::ReadOnly:
      return "Die Datei \"" + path + "\" ist schreibgeschützt." + unsaved;
    case TWriteObstacle::Directory:
      return "\"" + path + "\" ist ein Verzeichnis, keine Datei." + unsaved;
    case TWriteObstacle::None:
      break;
  }
  return std::nullopt;
}

bool TFileIO::KeepDamagedOriginal() {
  std::string message;
  if (!KeepDamagedCopy(file_, fileName_, damage_, message)) return Refuse(message);
  Tell(mkWarning, message);
  loadState_ = TLoadState::Read;
  return true;
}

bool TFileIO::Save(bool reportDropped) {
  bool reloaded = false;
  const bool saved = SaveLocked(reportDropped, reloaded);
  // What waits for the user comes once the writers' lock is given back.
  if (reloaded && onReloaded_) onReloaded_();
  for (const TNotice& notice : std::exchange(notices_, {})) {
    ShowMsgBox(msgBox_, notice.Text, "", notice.Kind, mbOK);
  }
  return saved;
}

bool TFileIO::SaveLocked(bool reportDropped, bool& reloaded) {
  const std::string unsaved = " Die Änderung wurde nicht gespeichert.";
  if (const std::optional<std::string> obstacle =
          WriteObstacleText(file_.WriteObstacle(fileName_), fileName_)) {
    return Refuse(*obstacle);
  }
  const std::unique_ptr<IFileLockHold> hold = file_.LockForUpdate(fileName_);
  if (!hold) return Refuse(LockFailureText(file_.LastLockFailure(), fileName_) + "." + unsaved);
  if ((loadState_ == TLoadState::Unreadable || FileChanged()) && !Merge(reportDropped, reloaded)) {
    return Refuse("Die Datei \"" + fileName_ +
                  "\" konnte nicht gelesen werden und wird nicht überschrieben, damit keine "
                  "Erinnerungen verloren gehen." +
                  unsaved);
  }
  if (loadState_ == TLoadState::Damaged && !KeepDamagedOriginal()) return false;
  // Records of older files and of other writers; a foreign block is left as it is.
  for (TNotifyInfo* record : items_) EnsureIdentity(*record, *idSource_);
  if (!savePart_) savePart_.reset(new char[kSavePartSize]);
  std::vector<uint64_t> written;
  written.reserve(items_.size());
  // Whole records only, as many as fit into each part.
  size_t next = 0;
  const auto nextPart = [&]() -> std::string_view {
    size_t used = 0;
    while (next < items_.size()) {
      const size_t size = EncodedSize(*items_[next]);
      if (kSavePartSize - used < size) break;
      EncodeRecordTo(savePart_.get() + used, *items_[next]);
      written.push_back(RecordHash(std::string_view(savePart_.get() + used, size)));
      used += size;
      ++next;
    }
    return {savePart_.get(), used};
  };
  if (file_.ReplaceInParts(fileName_, nextPart)) {
    identities_ = std::move(written);
    deleted_.clear();
    TakeStamp();
    loadState_ = TLoadState::Read;
    saveFailed_ = false;
    return true;
  }
  return Refuse("Beim Schreiben der Informationen trat ein Fehler auf!");
}

std::string DamageCountText(const TDamageCount& count) {
  const auto reminders = [](size_t n) {
    return std::to_string(n) + (n == 1 ? " Erinnerung" : " Erinnerungen");
  };
  return "Gelesen: " + reminders(count.Read) + "; nicht oder nur zum Teil lesbar: etwa " +
         reminders(count.Lost) + ".";
}

TNotifyInfo EditableCopy(TNotifyInfo values) {
  TNotifyInfo record;
  record.NotifyKind = values.NotifyKind;
  record.NotifyDate = values.NotifyDate;
  record.DaysBefore = values.DaysBefore;
  record.NotifyText = std::move(values.NotifyText);
  record.ActionKind = values.ActionKind;
  record.ActionParam = std::move(values.ActionParam);
  record.RepeatKind = values.RepeatKind;
  // The extended repetition is edited with the repetition; identity and snooze are not.
  if (const std::optional<TRepeatRule> rule = RuleOf(values)) SetRule(record, rule);
  return record;
}

TNotifyInfo ChangedCopy(const TNotifyInfo& old, TNotifyInfo values) {
  const std::optional<TRepeatRule> rule = RuleOf(values);
  TNotifyInfo record = EditableCopy(std::move(values));
  if (std::optional<TBlockContent> content = BlockContent(old)) {
    content->Snooze.reset();
    content->RuleLength = 0;
    content->Rule.fill(0);
    WriteBlock(record, *content);
    if (rule) SetRule(record, rule);
  }
  return record;
}

TNotifyInfo* TFileIO::Add(const TNotifyInfo& values) {
  items_.reserve(items_.size() + 1);
  identities_.reserve(identities_.size() + 1);
  TNotifyInfo* record = pool_.New(EditableCopy(values));
  EnsureIdentity(*record, *idSource_);
  items_.push_back(record);
  identities_.push_back(0);
  Save();
  return record;
}

void TFileIO::AddAll(std::vector<TNotifyInfo> values) {
  items_.reserve(items_.size() + values.size());
  identities_.reserve(identities_.size() + values.size());
  // The texts move into the store, so that a long list is not held twice.
  for (TNotifyInfo& record : values) {
    items_.push_back(pool_.New(EditableCopy(std::move(record))));
    EnsureIdentity(*items_.back(), *idSource_);
    identities_.push_back(0);
  }
  std::vector<TNotifyInfo>().swap(values);
  Save();
}

void TFileIO::AddRecords(std::vector<TNotifyInfo> records) {
  items_.reserve(items_.size() + records.size());
  identities_.reserve(identities_.size() + records.size());
  for (TNotifyInfo& record : records) {
    items_.push_back(pool_.New(std::move(record)));
    EnsureIdentity(*items_.back(), *idSource_);
    identities_.push_back(0);
  }
  std::vector<TNotifyInfo>().swap(records);
  Save();
}

void TFileIO::RemoveAt(size_t index) {
  if (identities_[index] != 0) deleted_.push_back(identities_[index]);
  pool_.Free(items_[index]);
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
  identities_.erase(identities_.begin() + static_cast<std::ptrdiff_t>(index));
}

void TFileIO::Delete(const TNotifyInfo* record) {
  const int index = IndexOf(record);
  if (index < 0) return;
  RemoveAt(static_cast<size_t>(index));
  Save();
}

void TFileIO::DeleteAll(const std::vector<const TNotifyInfo*>& records) {
  // One marking pass and one compaction: linear in the list, whatever the number deleted.
  const std::unordered_set<const TNotifyInfo*> doomed(records.begin(), records.end());
  size_t kept = 0;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (doomed.count(items_[i]) != 0) {
      if (identities_[i] != 0) deleted_.push_back(identities_[i]);
      pool_.Free(items_[i]);
      continue;
    }
    items_[kept] = items_[i];
    identities_[kept] = identities_[i];
    ++kept;
  }
  if (kept == items_.size()) return;
  items_.resize(kept);
  identities_.resize(kept);
  Save();
}

void TFileIO::Clear() {
  for (TNotifyInfo* record : items_) pool_.Free(record);
  items_.clear();
  identities_.clear();
  deleted_.clear();
  pool_.Release();
}

}  // namespace reminder
