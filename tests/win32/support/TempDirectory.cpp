#include "win32/support/TempDirectory.h"

#include <windows.h>

#include <algorithm>

namespace reminder::testing {

TempDirectory::TempDirectory() {
  char base[MAX_PATH] = {};
  GetTempPathA(sizeof base, base);
  // Several test programs may run at once; the process id and a counter keep them apart.
  for (unsigned attempt = 0;; ++attempt) {
    const std::string candidate = std::string(base) + "reminder-test-" +
                                  std::to_string(GetCurrentProcessId()) + "-" +
                                  std::to_string(GetTickCount()) + "-" + std::to_string(attempt);
    path_ = candidate + "\\";
    // Any other failure leaves a path the test's own checks then find unusable.
    if (CreateDirectoryA(candidate.c_str(), nullptr) || GetLastError() != ERROR_ALREADY_EXISTS) {
      return;
    }
  }
}

TempDirectory::~TempDirectory() {
  for (const std::string& name : FileNames()) {
    const std::string file = File(name);
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(file.c_str());
  }
  RemoveDirectoryA(path_.c_str());
}

std::vector<std::string> TempDirectory::FileNames() const {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path_ + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char buffer[4096];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr)) && got > 0) {
    bytes.append(buffer, got);
  }
  CloseHandle(file);
  return ok;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size();
  CloseHandle(file);
  return ok;
}

}  // namespace reminder::testing
