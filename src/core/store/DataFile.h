// Whole-file access for the data file. Replacing is all or nothing: a reader finds either
// the old file or the new one, never a missing or partial file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace reminder {

// A file's bytes, read into memory that is not cleared first.
struct TFileBytes {
  std::unique_ptr<char[]> data;
  size_t size = 0;
  std::string_view View() const { return {data.get(), size}; }
};

// Hands out a new file's content part by part, an empty part after the last one. A part
// stays valid until the next call.
using TPartSource = std::function<std::string_view()>;
// Writes a new file's content as it is made: produce calls write with each part in turn,
// and answers false when it could not make the whole content (nothing is replaced then).
using TPartWrite = std::function<void(std::string_view part)>;
using TPartProducer = std::function<bool(const TPartWrite& write)>;
// Takes a part of a file being read; answers false when it needs no more of the file.
using TPieceSink = std::function<bool(std::string_view part)>;

// The writers' lock of a data file, held while the object lives: a writer holds it from
// reading the file to putting the new one in place, and other processes wait for it.
class IFileLockHold {
 public:
  virtual ~IFileLockHold() = default;
};

// Size and last write of a file: a writer that finds them changed reads the file again.
struct TFileStamp {
  uint64_t Size = 0;
  int64_t Written = 0;
  bool operator==(const TFileStamp& other) const {
    return Size == other.Size && Written == other.Written;
  }
};

// What stands in the way of writing a file, found before anything is written.
enum class TWriteObstacle { None, ReadOnly, Directory };

// Why no writers' lock was given: another writer kept it, or the lock file beside the data
// file could not be made (and so the data file cannot be written there either).
enum class TLockFailure { Busy, NoPermission, ReadOnlyMedium, NoSpace, CannotCreate };

// The sentence that tells the user why the data file at shownPath (as the user knows it)
// was not written, without its final full stop.
std::string LockFailureText(TLockFailure failure, const std::string& shownPath);

// The name under which a damaged data file is kept before it is first written:
// "Reminder.dat.beschaedigt-JJJJMMTT-hhmmss" (local time now).
std::string DamagedCopyPath(const std::string& path);

class IDataFile {
 public:
  virtual ~IDataFile() = default;
  // False when the file is missing or cannot be read; bytes is then empty.
  virtual bool Read(const std::string& path, TFileBytes& bytes) = 0;
  // False when the new content could not be put in place; the old file is then unchanged.
  virtual bool Replace(const std::string& path, std::string_view bytes) = 0;
  // Replace with the content in parts, for writers that need not hold it whole. By default
  // the parts are gathered and handed to Replace.
  virtual bool ReplaceInParts(const std::string& path, const TPartSource& nextPart);
  // Replace with what produce writes, for a writer that makes the content as it reads the
  // old file; nothing is replaced when produce answers false. By default the parts are
  // gathered and handed to Replace.
  virtual bool ReplaceFrom(const std::string& path, const TPartProducer& produce);
  // Hands the file to piece in consecutive parts, for readers that need not hold it whole,
  // until piece answers false (a reader that has found what it wanted); false when it cannot
  // be read. By default the whole file is one part.
  virtual bool ReadPieces(const std::string& path, const TPieceSink& piece);
  // False when nothing is at the path (a read failure then means a missing file rather than
  // an unreadable one). By default: nothing is.
  virtual bool Exists(const std::string& /*path*/) { return false; }
  virtual TWriteObstacle WriteObstacle(const std::string& /*path*/) { return TWriteObstacle::None; }
  // False when the file is missing or the system tells no stamps (the content is compared
  // then).
  virtual bool Stamp(const std::string& /*path*/, TFileStamp& /*stamp*/) { return false; }
  // Waits a bounded time for the writers' lock of the file; null when another process kept
  // it or it could not be taken (LastLockFailure tells which). By default there is no one
  // to wait for.
  virtual std::unique_ptr<IFileLockHold> LockForUpdate(const std::string& path);
  virtual TLockFailure LastLockFailure() const { return TLockFailure::Busy; }
  // Copies the file as it is now to copyPath, at once, also where writes are held back.
  virtual bool KeepCopy(const std::string& path, const std::string& copyPath);
  // A file the user named (an exported calendar), with what produce writes: replaced whole
  // where it is a plain file, written through where it is a symbolic link or a device. By
  // default the parts are gathered and handed to Replace.
  virtual bool WriteUserFile(const std::string& path, const TPartProducer& produce);
};

// The C++ library's files: a temporary file beside the target, synced and renamed over it;
// where the data file is a symbolic link, beside the file it points to, so the link stays.
// The writers' lock is a record lock on the first byte of "<file>.lock", the lock that the
// Windows programs take as well, also under Wine (none in a Windows build, which has a
// file class of its own).
class TStdDataFile : public IDataFile {
 public:
  explicit TStdDataFile(unsigned lockWaitMs = kLockWaitMs) : lockWaitMs_(lockWaitMs) {}
  static constexpr unsigned kLockWaitMs = 10000;
  bool Read(const std::string& path, TFileBytes& bytes) override;
  bool Replace(const std::string& path, std::string_view bytes) override;
  // Each part is written as it comes: no memory the size of the file is needed.
  bool ReplaceInParts(const std::string& path, const TPartSource& nextPart) override;
  // A temporary file beside path with what produce writes, synced and renamed over path.
  bool ReplaceFrom(const std::string& path, const TPartProducer& produce) override;
  // Parts of 256 KiB in one reused buffer: no memory the size of the file is touched.
  bool ReadPieces(const std::string& path, const TPieceSink& piece) override;
  bool Exists(const std::string& path) override;
  TWriteObstacle WriteObstacle(const std::string& path) override;
  bool Stamp(const std::string& path, TFileStamp& stamp) override;
  std::unique_ptr<IFileLockHold> LockForUpdate(const std::string& path) override;
  TLockFailure LastLockFailure() const override { return lockFailure_; }
  // Each part is written as it comes.
  bool WriteUserFile(const std::string& path, const TPartProducer& produce) override;

 private:
  unsigned lockWaitMs_;
  TLockFailure lockFailure_ = TLockFailure::Busy;
};

// Whether name is a temporary file that a save of the data file named dataFileName leaves
// behind when it is interrupted: "<data file name>.tmp" and more.
bool IsSaveLeftover(const std::string& name, const std::string& dataFileName);

// A source that hands out bytes as its only part.
TPartSource OnePart(std::string_view bytes);

// The data file "Reminder.dat" in the directory of the given executable path.
std::string DataFileBeside(const std::string& executablePath);

}  // namespace reminder
