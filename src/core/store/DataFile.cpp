#include "core/store/DataFile.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>
#include <thread>

#include "core/common/MyTools.h"

#ifndef _WIN32
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace reminder {

namespace {

namespace fs = std::filesystem;

constexpr std::streamsize kPartSize = 256 * 1024;

std::string DirectoryOf(const std::string& path) {
  const std::string directory = ExtractFilePath(path);
  return directory.empty() ? "." : directory;
}

#ifndef _WIN32
// Puts what was written to the file or directory on the disk.
void SyncPath(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

class TRecordLockHold : public IFileLockHold {
 public:
  explicit TRecordLockHold(int fd) : fd_(fd) {}
  ~TRecordLockHold() override { ::close(fd_); }  // closing releases the lock
  TRecordLockHold(const TRecordLockHold&) = delete;
  TRecordLockHold& operator=(const TRecordLockHold&) = delete;

 private:
  int fd_;
};

// A write lock on the first byte. Wine's server takes a POSIX record lock on the same byte
// for a Windows program's LockFileEx, so both exclude each other; an open file description
// lock also excludes a second lock of this process.
bool TryLockFirstByte(int fd) {
#ifdef F_OFD_SETLK
  struct flock lock = {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = 0;
  lock.l_len = 1;
  return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
#else
  return ::flock(fd, LOCK_EX | LOCK_NB) == 0;
#endif
}

TLockFailure LockFailureOf(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
      return TLockFailure::NoPermission;
    case EROFS:
      return TLockFailure::ReadOnlyMedium;
    case ENOSPC:
    case EDQUOT:
      return TLockFailure::NoSpace;
    default:
      return TLockFailure::CannotCreate;
  }
}

// Temporary files of saves that were interrupted before the lock was taken now.
void RemoveSaveLeftovers(const std::string& path, fs::file_time_type lockedAt) {
  const std::string dataFileName = ExtractFileName(path);
  std::error_code error;
  for (fs::directory_iterator entry(DirectoryOf(path), error), end; !error && entry != end;
       entry.increment(error)) {
    if (!IsSaveLeftover(entry->path().filename().string(), dataFileName)) continue;
    std::error_code timeError;
    const auto written = fs::last_write_time(entry->path(), timeError);
    if (!timeError && written < lockedAt) fs::remove(entry->path(), timeError);
  }
}

#else
void SyncPath(const std::string&) {}
#endif

// The file a chain of symbolic links ends at (path itself when it is none), so that a link
// named like the data file keeps pointing where it pointed.
std::string LinkTarget(const std::string& path) {
  fs::path target = path;
  std::error_code error;
  for (int hop = 0; hop < 40 && fs::is_symlink(fs::symlink_status(target, error)); ++hop) {
    const fs::path next = fs::read_symlink(target, error);
    if (error) break;
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return target.string();
}

}  // namespace

bool IsSaveLeftover(const std::string& name, const std::string& dataFileName) {
  const std::string prefix = dataFileName + ".tmp";
  return name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0;
}

std::string LockFailureText(TLockFailure failure, const std::string& shownPath) {
  const std::string file = "Die Datei \"" + shownPath + "\" ";
  const std::string cannot = file + "kann nicht geschrieben werden: ";
  switch (failure) {
    case TLockFailure::Busy:
      break;
    case TLockFailure::NoPermission:
      return cannot + "Der Ordner darf nicht beschrieben werden (keine Berechtigung)";
    case TLockFailure::ReadOnlyMedium:
      return cannot + "Der Datenträger ist schreibgeschützt";
    case TLockFailure::NoSpace:
      return cannot + "Auf dem Datenträger ist kein Platz mehr frei";
    case TLockFailure::CannotCreate:
      return cannot + "Die Sperrdatei \"" + shownPath + ".lock\" lässt sich nicht anlegen";
  }
  return file + "wird gerade von einem anderen Programm geschrieben";
}

std::string DamagedCopyPath(const std::string& path) {
  const std::time_t now = std::time(nullptr);
  char stamp[32] = {};
  if (const std::tm* local = std::localtime(&now)) {
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", local);
  }
  return path + ".beschaedigt-" + stamp;
}

std::unique_ptr<IFileLockHold> IDataFile::LockForUpdate(const std::string&) {
  return std::make_unique<IFileLockHold>();
}

bool IDataFile::KeepCopy(const std::string& path, const std::string& copyPath) {
  TFileBytes bytes;
  return Read(path, bytes) && Replace(copyPath, bytes.View());
}

bool IDataFile::ReadPieces(const std::string& path, const TPieceSink& piece) {
  TFileBytes bytes;
  if (!Read(path, bytes)) return false;
  piece(bytes.View());
  return true;
}

bool IDataFile::ReplaceInParts(const std::string& path, const TPartSource& nextPart) {
  std::string bytes;
  for (std::string_view part = nextPart(); !part.empty(); part = nextPart()) bytes += part;
  return Replace(path, bytes);
}

bool IDataFile::ReplaceFrom(const std::string& path, const TPartProducer& produce) {
  std::string bytes;
  return produce([&bytes](std::string_view part) { bytes += part; }) && Replace(path, bytes);
}

bool IDataFile::WriteUserFile(const std::string& path, const TPartProducer& produce) {
  return ReplaceFrom(path, produce);
}

TPartSource OnePart(std::string_view bytes) {
  return [bytes, given = false]() mutable -> std::string_view {
    if (given) return {};
    given = true;
    return bytes;
  };
}

#ifndef _WIN32
bool TStdDataFile::ReadPieces(const std::string& path, const TPieceSink& piece) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat status;
  bool read = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
  // A buffer that stays in the processor's cache: reading costs little more than the
  // kernel's copy of the bytes.
  std::unique_ptr<char[]> buffer(read ? new char[kPartSize] : nullptr);
  while (read) {
    const ssize_t got = ::read(fd, buffer.get(), kPartSize);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      read = got == 0;
      break;
    }
    if (!piece(std::string_view(buffer.get(), static_cast<size_t>(got)))) break;
  }
  ::close(fd);
  return read;
}
#else
bool TStdDataFile::ReadPieces(const std::string& path, const TPieceSink& piece) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::unique_ptr<char[]> buffer(new char[kPartSize]);
  while (in) {
    in.read(buffer.get(), kPartSize);
    if (in.gcount() > 0 &&
        !piece(std::string_view(buffer.get(), static_cast<size_t>(in.gcount())))) {
      return true;
    }
  }
  return in.eof();
}
#endif

bool TStdDataFile::Read(const std::string& path, TFileBytes& bytes) {
  bytes = {};
  // A directory opens as a stream too, with a size that means nothing.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) return false;
  in.seekg(0, std::ios::beg);
  bytes.data.reset(new char[static_cast<size_t>(size)]);
  in.read(bytes.data.get(), size);
  bytes.size = static_cast<size_t>(in.gcount());
  return true;
}

bool TStdDataFile::Exists(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error);
}

#ifndef _WIN32
bool TStdDataFile::Stamp(const std::string& path, TFileStamp& stamp) {
  // One call for both: the due check asks before every pass.
  struct stat status;
  if (::stat(path.c_str(), &status) != 0) return false;
  stamp.Size = static_cast<uint64_t>(status.st_size);
  stamp.Written = static_cast<int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
  return true;
}
#else
bool TStdDataFile::Stamp(const std::string& path, TFileStamp& stamp) {
  std::error_code error;
  const uintmax_t size = fs::file_size(path, error);
  if (error) return false;
  const auto written = fs::last_write_time(path, error);
  if (error) return false;
  stamp.Size = size;
  stamp.Written = static_cast<int64_t>(written.time_since_epoch().count());
  return true;
}
#endif

TWriteObstacle TStdDataFile::WriteObstacle(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (error) return TWriteObstacle::None;
  if (fs::is_directory(status)) return TWriteObstacle::Directory;
  constexpr fs::perms kWrite =
      fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  if (fs::is_regular_file(status) && (status.permissions() & kWrite) == fs::perms::none) {
    return TWriteObstacle::ReadOnly;
  }
  return TWriteObstacle::None;
}

#ifndef _WIN32
std::unique_ptr<IFileLockHold> TStdDataFile::LockForUpdate(const std::string& path) {
  const int fd = ::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    lockFailure_ = LockFailureOf(errno);
    return nullptr;
  }
  lockFailure_ = TLockFailure::Busy;
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::milliseconds(lockWaitMs_);
  while (!TryLockFirstByte(fd)) {
    if (std::chrono::steady_clock::now() >= give_up) {
      ::close(fd);
      return nullptr;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  RemoveSaveLeftovers(path, fs::file_time_type::clock::now());
  return std::make_unique<TRecordLockHold>(fd);
}
#else
std::unique_ptr<IFileLockHold> TStdDataFile::LockForUpdate(const std::string& path) {
  return IDataFile::LockForUpdate(path);
}
#endif

bool TStdDataFile::WriteUserFile(const std::string& path, const TPartProducer& produce) {
  std::error_code error;
  const fs::file_status link = fs::symlink_status(path, error);
  const bool plain = error || !fs::exists(link) || fs::is_regular_file(link);
  if (plain) return ReplaceFrom(path, produce);
  // A link stays a link, a device a device: the bytes go where they point.
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const bool made = produce([&out](std::string_view part) {
    out.write(part.data(), static_cast<std::streamsize>(part.size()));
  });
  out.flush();
  return made && static_cast<bool>(out);
}

bool TStdDataFile::Replace(const std::string& path, std::string_view bytes) {
  return ReplaceInParts(path, OnePart(bytes));
}

bool TStdDataFile::ReplaceInParts(const std::string& path, const TPartSource& nextPart) {
  return ReplaceFrom(path, [&nextPart](const TPartWrite& write) {
    for (std::string_view part = nextPart(); !part.empty(); part = nextPart()) write(part);
    return true;
  });
}

bool TStdDataFile::ReplaceFrom(const std::string& linkOrPath, const TPartProducer& produce) {
  const std::string path = LinkTarget(linkOrPath);
  std::random_device random;
  const std::string temp = path + ".tmp" + std::to_string(random());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    // After a failed write the rest is not written.
    const bool made = produce([&out](std::string_view part) {
      if (out) out.write(part.data(), static_cast<std::streamsize>(part.size()));
    });
    out.flush();
    if (!made || !out) {
      out.close();
      std::remove(temp.c_str());
      return false;
    }
  }
  SyncPath(temp);
  std::error_code error;
  fs::rename(temp, path, error);
  if (error) {
    std::remove(temp.c_str());
    return false;
  }
  SyncPath(DirectoryOf(path));
  return true;
}

std::string DataFileBeside(const std::string& executablePath) {
  return ExtractFilePath(executablePath) + "Reminder.dat";
}

}  // namespace reminder
