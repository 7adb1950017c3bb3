// Looks at the standalone program from outside, for the release test under Wine:
//
//   TrayCheck running PATH   waits until the program started from PATH (a Windows path) has
//                            its main window and the shell holds its notification icon;
//                            prints when its process started, which tells a restart
//   TrayCheck ended          waits until no main window of the program is left
//
// Exits with 0 when that came within the limit, else with 1 and the reason on stderr.
#include <windows.h>
// After windows.h, whose declarations it needs.
#include <shellapi.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr char kMainClass[] = "TMain";
constexpr char kMainCaption[] = "Zelto - Reminder";
constexpr char kTrayWindowClass[] = "ReminderTrayIcon";
// The identifier the main window gives its icon.
constexpr UINT kTrayIconId = 57;
constexpr DWORD kLimitMs = 30000;

std::string ImagePath(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return {};
  char path[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  if (!QueryFullProcessImageNameA(process, 0, path, &size)) path[0] = '\0';
  CloseHandle(process);
  return path;
}

// In 100-ns steps since 1601; 0 when unknown.
uint64_t StartTime(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return 0;
  FILETIME created = {};
  FILETIME unused[3] = {};
  const BOOL known = GetProcessTimes(process, &created, &unused[0], &unused[1], &unused[2]);
  CloseHandle(process);
  return known ? (uint64_t{created.dwHighDateTime} << 32) | created.dwLowDateTime : 0;
}

struct WindowSearch {
  const char* className;
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindInProcess(HWND window, LPARAM search) {
  auto* wanted = reinterpret_cast<WindowSearch*>(search);
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (std::strcmp(name, wanted->className) != 0 || processId != wanted->processId) return TRUE;
  wanted->found = window;
  return FALSE;
}

HWND WindowOfProcess(const char* className, DWORD processId) {
  WindowSearch search = {className, processId, nullptr};
  EnumWindows(&FindInProcess, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A change of nothing succeeds only for an icon the shell holds.
bool ShellHoldsIcon(HWND trayWindow) {
  NOTIFYICONDATAA data = {};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = trayWindow;
  data.uID = kTrayIconId;
  return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

// What is still missing for the program at the path to run with its icon; empty when
// nothing is.
std::string MissingForRunning(const std::string& path) {
  HWND main = FindWindowA(kMainClass, kMainCaption);
  if (!main) return "no main window";
  DWORD processId = 0;
  GetWindowThreadProcessId(main, &processId);
  const std::string image = ImagePath(processId);
  if (_stricmp(image.c_str(), path.c_str()) != 0) return "the main window belongs to " + image;
  HWND tray = WindowOfProcess(kTrayWindowClass, processId);
  if (!tray) return "no tray icon window";
  if (!ShellHoldsIcon(tray)) return "the shell holds no icon of the tray icon window";
  std::printf("%" PRIu64 "\n", StartTime(processId));
  return {};
}

std::string MissingForEnded(const std::string&) {
  return FindWindowA(kMainClass, kMainCaption) ? "the main window is still there" : "";
}

int WaitUntil(std::string (*missing)(const std::string&), const std::string& argument) {
  const DWORD start = GetTickCount();
  std::string reason = missing(argument);
  while (!reason.empty() && GetTickCount() - start < kLimitMs) {
    Sleep(200);
    reason = missing(argument);
  }
  if (reason.empty()) return 0;
  std::fprintf(stderr, "%s\n", reason.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "running" && argc == 3) return WaitUntil(&MissingForRunning, argv[2]);
  if (command == "ended" && argc == 2) return WaitUntil(&MissingForEnded, "");
  std::fprintf(stderr, "usage: TrayCheck running PATH | TrayCheck ended\n");
  return 2;
}
