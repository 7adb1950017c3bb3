// The data file on the Windows file system. A save writes a temporary file beside the
// data file, flushes it to disk and renames it over the data file in one step. The writers'
// lock is a named mutex of the session, named after the file's full path, which the module
// and reminderctl.exe share, and a lock on the first byte of "<file>.lock", which the
// native reminderctl takes as well.
#pragma once

#include "core/store/DataFile.h"

namespace reminder {

class TWin32DataFile : public IDataFile {
 public:
  // How long a replace keeps trying while another process holds the data file open.
  explicit TWin32DataFile(unsigned retryMs = 2000, unsigned lockWaitMs = 10000)
      : retryMs_(retryMs), lockWaitMs_(lockWaitMs) {}
  bool Read(const std::string& path, TFileBytes& bytes) override;
  bool Replace(const std::string& path, std::string_view bytes) override;
  bool ReplaceInParts(const std::string& path, const TPartSource& nextPart) override;
  // A temporary file beside path with what produce writes, flushed and moved over path.
  bool ReplaceFrom(const std::string& path, const TPartProducer& produce) override;
  // Parts of 1 MiB in one reused buffer: no memory the size of the file is touched.
  bool ReadPieces(const std::string& path, const TPieceSink& piece) override;
  // An exported calendar, written as it is made and put in place as the data file is.
  bool WriteUserFile(const std::string& path, const TPartProducer& produce) override;
  bool Exists(const std::string& path) override;
  TWriteObstacle WriteObstacle(const std::string& path) override;
  bool Stamp(const std::string& path, TFileStamp& stamp) override;
  std::unique_ptr<IFileLockHold> LockForUpdate(const std::string& path) override;
  TLockFailure LastLockFailure() const override { return lockFailure_; }

 private:
  unsigned retryMs_;
  unsigned lockWaitMs_;
  TLockFailure lockFailure_ = TLockFailure::Busy;
};

// The full path of the running executable (the host program in library mode).
std::string ExecutablePath();

}  // namespace reminder
