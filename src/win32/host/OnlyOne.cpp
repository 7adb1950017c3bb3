#include "win32/host/OnlyOne.h"

#include <cstring>

#include "win32/toolkit/Application.h"

namespace reminder {

namespace {

constexpr int kTextBuffer = 1024;
constexpr WPARAM kRestoreRequest = SC_RESTORE;  // F120; lParam carries the same value

bool IsMatch(HWND window) {
  char title[kTextBuffer] = {};
  GetWindowTextA(window, title, kTextBuffer - 1);
  return std::strstr(title, "Reminder") != nullptr && IsReminderMainWindow(window);
}

HWND Search(UINT direction) {
  for (HWND window = FindWindowA("TMain", nullptr); window; window = GetWindow(window, direction)) {
    if (IsMatch(window)) return window;
  }
  return nullptr;
}

}  // namespace

void TOnlyOne::Start(bool library, IMsgBox& box) {
  doNotStart_ = false;
  if (library || mutex_) return;
  const HANDLE mutex = CreateMutexA(nullptr, TRUE, kOnlyOneMutexName);
  const bool alreadyRunning = GetLastError() == ERROR_ALREADY_EXISTS;
  mutex_.reset(mutex);
  if (!alreadyRunning) return;
  ShowMsgBox(box, "Zelto - Reminder läuft bereits! Nutzen Sie die vorhandene Instanz.", "", mkError,
             mbOK);
  doNotStart_ = true;
  if (HWND running = FindRunningMainWindow())
    PostMessageA(running, WM_SYSCOMMAND, kRestoreRequest, kRestoreRequest);
  Application().Terminate();
}

TOnlyOne& OnlyOne() {
  static TOnlyOne guard;
  return guard;
}

bool IsReminderMainWindow(HWND window) {
  char className[kTextBuffer] = {};
  if (GetClassNameA(window, className, kTextBuffer) == 0) return false;
  return std::strcmp(className, "TMain") == 0 && (GetWindowLongA(window, GWL_STYLE) & 1) == 0;
}

HWND FindRunningMainWindow() {
  HWND running = Search(GW_HWNDNEXT);
  return running ? running : Search(GW_HWNDPREV);
}

}  // namespace reminder
