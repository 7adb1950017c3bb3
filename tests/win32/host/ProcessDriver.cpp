#include "win32/host/ProcessDriver.h"

#include <commctrl.h>

#include <cstring>

namespace reminder::testing {

namespace {

std::string ClassOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

struct WindowSearch {
  DWORD processId;
  std::string className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM search) {
  auto* wanted = reinterpret_cast<WindowSearch*>(search);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId == wanted->processId && ClassOf(window) == wanted->className) {
    wanted->found.push_back(window);
  }
  return TRUE;
}

BOOL CALLBACK LongestStatic(HWND child, LPARAM text) {
  if (_stricmp(ClassOf(child).c_str(), "Static") != 0) return TRUE;
  const std::string candidate = WindowText(child);
  auto* longest = reinterpret_cast<std::string*>(text);
  if (candidate.size() > longest->size()) *longest = candidate;
  return TRUE;
}

}  // namespace

std::string BuildDirectory() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  char* name = std::strrchr(path, '\\');
  if (name) name[1] = '\0';
  return path;
}

bool WaitFor(const std::function<bool()>& done, DWORD maxMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > maxMs) return done();
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(30);
  }
  return true;
}

ChildProcess::ChildProcess(const std::string& directory, const std::string& program,
                           const std::string& arguments) {
  std::string commandLine = "\"" + directory + program + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      directory.c_str(), &startup, &process_)) {
    process_ = {};
    return;
  }
  WaitForInputIdle(process_.hProcess, 15000);
}

ChildProcess::~ChildProcess() {
  if (!Started()) return;
  if (!Ended()) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 5000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

bool ChildProcess::Ended() const {
  return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
}

bool ChildProcess::WaitForEnd(DWORD maxMs) const {
  return WaitFor([this] { return Ended(); }, maxMs);
}

DWORD ChildProcess::ExitCode() const {
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

std::vector<HWND> ChildProcess::Windows(const std::string& className) const {
  WindowSearch search{Id(), className, {}};
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND ChildProcess::Window(const std::string& className) const {
  const std::vector<HWND> windows = Windows(className);
  return windows.empty() ? nullptr : windows.front();
}

std::vector<ProcessBox> AnswerBoxes(const ChildProcess& process, int answer) {
  std::vector<ProcessBox> boxes;
  for (HWND box : process.Windows("#32770")) {
    if (!IsWindowVisible(box)) continue;
    ProcessBox caught{WindowText(box), ""};
    EnumChildWindows(box, &LongestStatic, reinterpret_cast<LPARAM>(&caught.text));
    boxes.push_back(caught);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
  }
  return boxes;
}

std::string WindowText(HWND window) {
  const LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(std::strlen(text.c_str()));
  return text;
}

namespace {

struct ChildSearch {
  std::string className;
  int id = 0;
  HWND found = nullptr;
};

BOOL CALLBACK FirstMatch(HWND child, LPARAM search) {
  auto* wanted = reinterpret_cast<ChildSearch*>(search);
  const bool match = wanted->className.empty() ? GetDlgCtrlID(child) == wanted->id
                                               : ClassOf(child) == wanted->className;
  if (!match) return TRUE;
  wanted->found = child;
  return FALSE;
}

HWND FirstChild(HWND parent, ChildSearch search) {
  EnumChildWindows(parent, &FirstMatch, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

HWND ChildOfClass(HWND parent, const std::string& className) {
  return FirstChild(parent, {className, 0});
}

HWND ChildWithId(HWND parent, int id) {
  return FirstChild(parent, {"", id});
}

std::vector<std::vector<std::string>> ListViewRows(const ChildProcess& process, HWND listView,
                                                   int columns) {
  std::vector<std::vector<std::string>> rows;
  HANDLE target =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process.Id());
  if (!target) return rows;
  // The list view reads the item record and writes the text in the other process's memory.
  constexpr size_t kText = 512;
  char* remote = static_cast<char*>(
      VirtualAllocEx(target, nullptr, sizeof(LVITEMA) + kText, MEM_COMMIT, PAGE_READWRITE));
  const int count = static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count && remote; ++row) {
    std::vector<std::string> cells;
    for (int column = 0; column < columns; ++column) {
      LVITEMA item = {};
      item.iSubItem = column;
      item.pszText = remote + sizeof(LVITEMA);
      item.cchTextMax = kText;
      char text[kText] = {};
      WriteProcessMemory(target, remote, &item, sizeof item, nullptr);
      WriteProcessMemory(target, remote + sizeof(LVITEMA), text, 1, nullptr);
      SendMessageA(listView, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote));
      ReadProcessMemory(target, remote + sizeof(LVITEMA), text, kText - 1, nullptr);
      cells.emplace_back(text);
    }
    rows.push_back(cells);
  }
  if (remote) VirtualFreeEx(target, remote, 0, MEM_RELEASE);
  CloseHandle(target);
  return rows;
}

}  // namespace reminder::testing
