#include "ScratchDirectory.h"

#include <windows.h>

#include <cstdio>

namespace reminder::bench {

namespace {

std::string ProgramDirectory() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string directory = path;
  return directory.substr(0, directory.find_last_of('\\') + 1);
}

void RemoveDirectoryWithFiles(const std::string& directory) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((directory + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA((directory + found.cFileName).c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(directory.c_str());
}

}  // namespace

int RunFromScratch(const std::string& arguments) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string directory =
      std::string(temp) + "ReminderBench-" + std::to_string(GetCurrentProcessId()) + "\\";
  const std::string program = directory + "main_window_bench.exe";
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  if (!CreateDirectoryA(directory.c_str(), nullptr) || !CopyFileA(self, program.c_str(), TRUE) ||
      !CopyFileA((ProgramDirectory() + kModuleName).c_str(), (directory + kModuleName).c_str(),
                 TRUE)) {
    std::printf("ERROR: cannot set up the scratch directory %s.\n", directory.c_str());
    RemoveDirectoryWithFiles(directory);
    return 1;
  }
  std::fflush(stdout);
  std::string commandLine = "\"" + program + "\" " + kRunSwitch + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  DWORD exitCode = 1;
  if (CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                     directory.c_str(), &startup, &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  } else {
    std::printf("ERROR: %s does not start.\n", program.c_str());
  }
  RemoveDirectoryWithFiles(directory);
  return static_cast<int>(exitCode);
}

}  // namespace reminder::bench
