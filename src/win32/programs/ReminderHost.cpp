// A sample host of Reminder.dll, written the way any host program integrates the module:
//
//   1. LoadLibrary("Reminder.dll") and look up the two exports by their plain names; both
//      are __stdcall, ZeltoReminderCreate returns a one-byte boolean.
//   2. ZeltoReminderCreate(0, hostWindow): the module creates its hidden main window on
//      this thread; its tray icon and scheduler run from this thread's message loop.
//   3. When the user chooses "Beenden" in the module, the module posts WM_REMINDERCLOSE
//      (32002, wParam 0, lParam 0) to hostWindow. The host answers with
//      ZeltoReminderClose(); the module never closes itself.
//   4. Call ZeltoReminderClose before FreeLibrary.
//
// The window logs each step. Its menu (or the commands 101 and 102) opens and closes the
// module again; "/nocreate" on the command line starts without opening it.
#include <windows.h>

#include <cstring>
#include <string>

namespace {

constexpr UINT WM_REMINDERCLOSE = 32002;
constexpr int kCmdCreate = 101;
constexpr int kCmdClose = 102;
constexpr int kCmdExit = 103;
constexpr int kLogId = 1;

using TCreateFunction = bool(__stdcall*)(DWORD, HWND);
using TCloseFunction = void(__stdcall*)();

HMODULE g_module = nullptr;
TCreateFunction g_create = nullptr;
TCloseFunction g_close = nullptr;
HWND g_log = nullptr;

void Log(const std::string& line) {
  const int end = GetWindowTextLengthA(g_log);
  SendMessageA(g_log, EM_SETSEL, end, end);
  SendMessageA(g_log, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>((line + "\r\n").c_str()));
}

// The module lies beside the host program.
std::string ModulePath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  char* name = std::strrchr(path, '\\');
  if (name) name[1] = '\0';
  return std::string(path) + "Reminder.dll";
}

bool LoadModule() {
  g_module = LoadLibraryA(ModulePath().c_str());
  if (!g_module) {
    Log("Reminder.dll nicht gefunden.");
    return false;
  }
  g_create = reinterpret_cast<TCreateFunction>(
      reinterpret_cast<void*>(GetProcAddress(g_module, "ZeltoReminderCreate")));
  g_close = reinterpret_cast<TCloseFunction>(
      reinterpret_cast<void*>(GetProcAddress(g_module, "ZeltoReminderClose")));
  if (!g_create || !g_close) {
    Log("Reminder.dll exportiert ZeltoReminderCreate/ZeltoReminderClose nicht.");
    return false;
  }
  Log("Reminder.dll geladen.");
  return true;
}

void CreateModule(HWND host) {
  if (!g_create) return;
  const bool created = g_create(0, host);
  Log(created ? "ZeltoReminderCreate: 1" : "ZeltoReminderCreate: 0");
}

void CloseModule() {
  if (!g_close) return;
  g_close();
  Log("ZeltoReminderClose aufgerufen.");
}

HMENU BuildMenu() {
  HMENU module = CreatePopupMenu();
  AppendMenuA(module, MF_STRING, kCmdCreate, "&Öffnen (ZeltoReminderCreate)");
  AppendMenuA(module, MF_STRING, kCmdClose, "&Schließen (ZeltoReminderClose)");
  AppendMenuA(module, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(module, MF_STRING, kCmdExit, "&Beenden");
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(module), "&Modul");
  return bar;
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      g_log = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 0, 0,
                              0, 0, window, reinterpret_cast<HMENU>(kLogId), nullptr, nullptr);
      SendMessageA(g_log, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                   FALSE);
      return 0;
    case WM_SIZE:
      MoveWindow(g_log, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_REMINDERCLOSE:
      // The module asks to be closed: the only thing a host must do in answer.
      Log("WM_REMINDERCLOSE erhalten.");
      CloseModule();
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kCmdCreate:
          CreateModule(window);
          return 0;
        case kCmdClose:
          CloseModule();
          return 0;
        case kCmdExit:
          DestroyWindow(window);
          return 0;
      }
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &HostProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = "ReminderHost";
  RegisterClassExA(&windowClass);
  HWND host =
      CreateWindowExA(0, "ReminderHost", "Reminder-Host", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                      CW_USEDEFAULT, 480, 320, nullptr, BuildMenu(), instance, nullptr);
  if (!host) return 1;
  ShowWindow(host, show);

  if (LoadModule() && std::strstr(commandLine, "/nocreate") == nullptr) CreateModule(host);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  // The module's windows must be gone before its code is unloaded.
  CloseModule();
  if (g_module) FreeLibrary(g_module);
  return static_cast<int>(message.wParam);
}
