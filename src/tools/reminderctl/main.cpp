// reminderctl: the entry point. Everything it does lives in the core (core/cli).
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
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

#include "win32/net/WinHttpClient.h"
#include "win32/store/Win32DataFile.h"
#else
#include <sys/stat.h>

#include "tools/net/CurlHttpClient.h"
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

std::unique_ptr<reminder::IHttpClient> HttpClient(const std::string& user,
                                                  const std::string& password) {
#ifdef _WIN32
  return std::make_unique<reminder::TWinHttpClient>(user, password);
#else
  return std::make_unique<reminder::TCurlHttpClient>(user, password);
#endif
}

std::optional<std::string> Variable(const char* name) {
  const char* value = std::getenv(name);
  if (!value) return std::nullopt;
  return std::string(value);
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
  env.Http = HttpClient;
  env.Variable = Variable;
#ifndef _WIN32
  // A password file that the group or others may read is refused; Windows keeps a user's
  // files to the user.
  env.IsPrivateFile = [](const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0 && (status.st_mode & 077) == 0;
  };
#endif
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
