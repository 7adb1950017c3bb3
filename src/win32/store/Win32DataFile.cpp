#include "win32/store/Win32DataFile.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <utility>

#include "core/common/MyTools.h"
#include "win32/system/Handles.h"

namespace reminder {

namespace {

constexpr DWORD kRetryPauseMs = 10;

bool WriteAll(HANDLE file, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

// Another process reading the data file makes the rename fail for a moment.
bool IsTransient(DWORD error) {
  return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
         error == ERROR_LOCK_VIOLATION;
}

// The session's mutex keeps the module and reminderctl.exe apart; the lock on the first
// byte of "<file>.lock" keeps them apart from the native reminderctl too, since Wine takes
// a POSIX record lock on that byte for LockFileEx.
class TWriterHold : public IFileLockHold {
 public:
  TWriterHold(TKernelHandle mutex, TKernelHandle lockFile)
      : mutex_(std::move(mutex)), lockFile_(std::move(lockFile)) {}
  ~TWriterHold() override {
    OVERLAPPED first = {};
    UnlockFileEx(lockFile_.get(), 0, 1, 0, &first);
    lockFile_.reset();
    ReleaseMutex(mutex_.get());
  }
  TWriterHold(const TWriterHold&) = delete;
  TWriterHold& operator=(const TWriterHold&) = delete;

 private:
  TKernelHandle mutex_;
  TKernelHandle lockFile_;
};

TLockFailure LockFailureOf(DWORD error) {
  switch (error) {
    case ERROR_ACCESS_DENIED:
      return TLockFailure::NoPermission;
    case ERROR_WRITE_PROTECT:
      return TLockFailure::ReadOnlyMedium;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return TLockFailure::NoSpace;
    default:
      return TLockFailure::CannotCreate;
  }
}

bool TryLockFirstByte(HANDLE file) {
  OVERLAPPED first = {};
  return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &first);
}

// Temporary files of saves that were interrupted before the lock was taken at lockedAt.
void RemoveSaveLeftovers(const std::string& path, const FILETIME& lockedAt) {
  const std::string directory = ExtractFilePath(path);
  const std::string dataFileName = ExtractFileName(path);
  WIN32_FIND_DATAA found;
  const TFindHandle search(FindFirstFileA((directory + dataFileName + ".tmp*").c_str(), &found));
  if (!search) return;
  do {
    if (IsSaveLeftover(found.cFileName, dataFileName) &&
        CompareFileTime(&found.ftLastWriteTime, &lockedAt) < 0) {
      DeleteFileA((directory + found.cFileName).c_str());
    }
  } while (FindNextFileA(search.get(), &found));
}

// The name of the writers' lock of the data file at path: the module and reminderctl.exe
// find the same one.
std::string DataFileLockName(const std::string& path) {
  char full[MAX_PATH * 2] = {};
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  std::string name = length > 0 && length < sizeof full ? std::string(full, length) : path;
  CharUpperBuffA(&name[0], static_cast<DWORD>(name.size()));
  // A 64-bit FNV-1a hash keeps the name short and free of backslashes.
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : name) hash = (hash ^ c) * 1099511628211ull;
  char text[17];
  wsprintfA(text, "%08lX%08lX", static_cast<unsigned long>(hash >> 32),
            static_cast<unsigned long>(hash & 0xFFFFFFFF));
  return std::string("Local\\ZeltoReminderDataFile-") + text;
}

}  // namespace

bool TWin32DataFile::Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TWriteObstacle TWin32DataFile::WriteObstacle(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return TWriteObstacle::None;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return TWriteObstacle::Directory;
  if (attributes & FILE_ATTRIBUTE_READONLY) return TWriteObstacle::ReadOnly;
  return TWriteObstacle::None;
}

bool TWin32DataFile::Stamp(const std::string& path, TFileStamp& stamp) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
  stamp.Size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  stamp.Written =
      static_cast<int64_t>((static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                           data.ftLastWriteTime.dwLowDateTime);
  return true;
}

std::unique_ptr<IFileLockHold> TWin32DataFile::LockForUpdate(const std::string& path) {
  lockFailure_ = TLockFailure::Busy;
  const DWORD start = GetTickCount();
  TKernelHandle mutex(CreateMutexA(nullptr, FALSE, DataFileLockName(path).c_str()));
  if (!mutex) return nullptr;
  // An abandoned lock (its holder was killed) is ours now; the save it guarded either
  // happened whole or not at all.
  const DWORD waited = WaitForSingleObject(mutex.get(), lockWaitMs_);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) return nullptr;
  TKernelHandle lockFile(CreateFileA((path + ".lock").c_str(), GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!lockFile) {
    lockFailure_ = LockFailureOf(GetLastError());
    ReleaseMutex(mutex.get());
    return nullptr;
  }
  // The rest of the wait goes to a writer of another kind.
  while (!TryLockFirstByte(lockFile.get())) {
    if (GetTickCount() - start >= lockWaitMs_) {
      ReleaseMutex(mutex.get());
      return nullptr;
    }
    Sleep(2);
  }
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  RemoveSaveLeftovers(path, now);
  return std::make_unique<TWriterHold>(std::move(mutex), std::move(lockFile));
}

bool TWin32DataFile::Read(const std::string& path, TFileBytes& bytes) {
  bytes = {};
  const TKernelHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size;
  // A data file beyond what a 32-bit process can hold counts as unreadable.
  bool ok = GetFileSizeEx(file.get(), &size) && size.QuadPart >= 0 && size.QuadPart < (1 << 30);
  if (ok) {
    const size_t wanted = static_cast<size_t>(size.QuadPart);
    bytes.data.reset(new (std::nothrow) char[wanted]);
    ok = bytes.data != nullptr;
    size_t done = 0;
    while (ok && done < wanted) {
      DWORD got = 0;
      if (!ReadFile(file.get(), bytes.data.get() + done, static_cast<DWORD>(wanted - done), &got,
                    nullptr) ||
          got == 0) {
        break;
      }
      done += got;
    }
    // The file may have shrunk meanwhile; what was read is what there is.
    bytes.size = done;
  }
  return ok;
}

bool TWin32DataFile::ReadPieces(const std::string& path, const TPieceSink& piece) {
  const TKernelHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return false;
  constexpr DWORD kPartSize = 1 << 20;
  std::unique_ptr<char[]> buffer(new (std::nothrow) char[kPartSize]);
  if (!buffer) return false;
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.get(), buffer.get(), kPartSize, &got, nullptr)) return false;
    if (got == 0) return true;
    if (!piece(std::string_view(buffer.get(), got))) return true;
  }
}

bool TWin32DataFile::Replace(const std::string& path, std::string_view bytes) {
  return ReplaceInParts(path, OnePart(bytes));
}

bool TWin32DataFile::ReplaceInParts(const std::string& path, const TPartSource& nextPart) {
  return ReplaceFrom(path, [&nextPart](const TPartWrite& write) {
    for (std::string_view part = nextPart(); !part.empty(); part = nextPart()) write(part);
    return true;
  });
}

bool TWin32DataFile::WriteUserFile(const std::string& path, const TPartProducer& produce) {
  return ReplaceFrom(path, produce);
}

bool TWin32DataFile::ReplaceFrom(const std::string& path, const TPartProducer& produce) {
  // Named after the data file, so that the next save knows a leftover of an interrupted one.
  std::string tempName;
  TKernelHandle file;
  for (unsigned attempt = 0; !file && attempt < 100; ++attempt) {
    tempName = path + ".tmp" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(GetTickCount() + attempt);
    const HANDLE created = CreateFileA(tempName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return false;
    file.reset(created);
  }
  if (!file) return false;
  const char* temp = tempName.c_str();
  bool written = true;
  // After a failed write the rest is not written.
  const bool made =
      produce([&](std::string_view part) { written = written && WriteAll(file.get(), part); });
  written = made && written && FlushFileBuffers(file.get());
  // Closed before the rename, which an open file would block.
  file.reset();
  bool moved = false;
  if (written) {
    const DWORD start = GetTickCount();
    for (;;) {
      if (MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        moved = true;
        break;
      }
      if (!IsTransient(GetLastError()) || GetTickCount() - start >= retryMs_) break;
      Sleep(kRetryPauseMs);
    }
  }
  if (!moved) DeleteFileA(temp);
  return moved;
}

std::string ExecutablePath() {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, length);
}

}  // namespace reminder
