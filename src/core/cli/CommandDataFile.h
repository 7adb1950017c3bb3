// The data file as one command uses it: reads pass through and their outcome is kept;
// the store's writes are held back until the command has succeeded, so that a command
// writes the file at most once and a failing one not at all. A read-only command drops them.
// A writing command holds the writers' lock from before it reads until it ends, so the
// store's own lock requests find it held already.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/store/DataFile.h"

namespace reminder {

class TCommandDataFile : public IDataFile {
 public:
  TCommandDataFile(IDataFile& files, bool writable) : files_(files), writable_(writable) {}

  bool Read(const std::string& path, TFileBytes& bytes) override;
  // Keeps (or drops) the bytes and answers true: the write happens in Commit.
  bool Replace(const std::string& path, std::string_view bytes) override;
  // The same for a content in parts.
  bool ReplaceInParts(const std::string& path, const TPartSource& nextPart) override;

  bool Exists(const std::string& path) override { return files_.Exists(path); }
  TWriteObstacle WriteObstacle(const std::string& path) override {
    return files_.WriteObstacle(path);
  }
  bool Stamp(const std::string& path, TFileStamp& stamp) override {
    return files_.Stamp(path, stamp);
  }
  bool KeepCopy(const std::string& path, const std::string& copyPath) override {
    return files_.KeepCopy(path, copyPath);
  }
  TLockFailure LastLockFailure() const override { return files_.LastLockFailure(); }

  bool Writable() const { return writable_; }
  // Takes the writers' lock for the rest of the command; false when another process kept it.
  bool HoldLock(const std::string& path);
  bool ReadSucceeded() const { return readSucceeded_; }
  bool HasPendingWrite() const { return pending_; }
  // Puts the last bytes the store wrote in place, all or nothing.
  bool Commit();

 private:
  IDataFile& files_;
  bool writable_;
  std::unique_ptr<IFileLockHold> hold_;
  bool readSucceeded_ = false;
  bool pending_ = false;
  std::string path_;
  std::vector<std::string> parts_;
};

}  // namespace reminder
