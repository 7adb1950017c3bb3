// reminderctl: the entry point. Everything it does lives in the core (core/cli).
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "core/cli/ReminderCtl.h"
#include "core/common/Clock.h"
#include "core/ical/LocalTime.h"
#include "core/store/DataFile.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "win32/store/Win32DataFile.h"
#endif

namespace {

// The data file's default lies beside the tool, as the module's lies beside its program.
std::string ExecutablePath(const char* argv0) {
#ifdef _WIN32
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length > 0 && length < MAX_PATH) return std::string(path, length);
#else
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) return self.string();
#endif
  return argv0 ? argv0 : "";
}

bool IsFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  reminder::TSystemClock clock;
  // On Windows the module's own file class, whose writers' lock the module respects.
#ifdef _WIN32
  reminder::TWin32DataFile files;
#else
  reminder::TStdDataFile files;
#endif
  reminder::TSystemLocalTime localTime;
#ifdef _WIN32
  // Texts are Windows-1252; the console shows them as such only in that code page.
  const UINT consoleCodePage = GetConsoleOutputCP();
  SetConsoleOutputCP(1252);
  const auto charset = reminder::TTerminalCharset::Windows1252;
#else
  const auto charset = reminder::TTerminalCharset::Utf8;
#endif
  reminder::TCtlEnvironment env{
      clock, files, localTime, IsFile, reminder::DataFileBeside(ExecutablePath(argv[0])), charset};
  env.In = &std::cin;
#ifdef _WIN32
  // A data file from standard input is bytes, which text mode would end at the first
  // Ctrl+Z.
  _setmode(_fileno(stdin), _O_BINARY);
  // The calendar keeps its CR LF; text mode would make them CR CR LF.
  env.BinaryOut = [] {
    std::cout.flush();
    _setmode(_fileno(stdout), _O_BINARY);
  };
#endif
  const int code = reminder::RunReminderCtl(std::vector<std::string>(argv + 1, argv + argc),
                                            std::cout, std::cerr, env);
  std::cout.flush();
#ifdef _WIN32
  if (consoleCodePage != 0) SetConsoleOutputCP(consoleCodePage);
#endif
  return code;
}
