#include "win32/store/Win32DataFile.h"

#include <windows.h>

#include <algorithm>
#include <new>

#include "core/common/MyTools.h"

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

std::string DirectoryOf(const std::string& path) {
  const std::string directory = ExtractFilePath(path);
  return directory.empty() ? "." : directory;
}

// Another process reading the data file makes the rename fail for a moment.
bool IsTransient(DWORD error) {
  return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
         error == ERROR_LOCK_VIOLATION;
}

}  // namespace

bool TWin32DataFile::Read(const std::string& path, TFileBytes& bytes) {
  bytes = {};
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  // A data file beyond what a 32-bit process can hold counts as unreadable.
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart >= 0 && size.QuadPart < (1 << 30);
  if (ok) {
    const size_t wanted = static_cast<size_t>(size.QuadPart);
    bytes.data.reset(new (std::nothrow) char[wanted]);
    ok = bytes.data != nullptr;
    size_t done = 0;
    while (ok && done < wanted) {
      DWORD got = 0;
      if (!ReadFile(file, bytes.data.get() + done, static_cast<DWORD>(wanted - done), &got,
                    nullptr) ||
          got == 0) {
        break;
      }
      done += got;
    }
    // The file may have shrunk meanwhile; what was read is what there is.
    bytes.size = done;
  }
  CloseHandle(file);
  return ok;
}

bool TWin32DataFile::Replace(const std::string& path, std::string_view bytes) {
  return ReplaceInParts(path, OnePart(bytes));
}

bool TWin32DataFile::ReplaceInParts(const std::string& path, const TPartSource& nextPart) {
  char temp[MAX_PATH];
  if (!GetTempFileNameA(DirectoryOf(path).c_str(), "rem", 0, temp)) return false;
  HANDLE file =
      CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DeleteFileA(temp);
    return false;
  }
  bool written = true;
  for (std::string_view part = nextPart(); written && !part.empty(); part = nextPart()) {
    written = WriteAll(file, part);
  }
  written = written && FlushFileBuffers(file);
  CloseHandle(file);
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
