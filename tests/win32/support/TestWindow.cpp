#include "win32/support/TestWindow.h"

#include "win32/support/MsgBoxCatcher.h"

namespace reminder::testing {

namespace {

const char kClassName[] = "ReminderActiveTestWindow";

void RegisterTestWindowClass() {
  WNDCLASSA wc = {};
  if (GetClassInfoA(GetModuleHandleA(nullptr), kClassName, &wc)) return;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);
}

}  // namespace

ActiveTestWindow::ActiveTestWindow() {
  RegisterTestWindowClass();
  window_ = CreateWindowExA(0, kClassName, "Testfenster", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20,
                            300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  SetForegroundWindow(window_);
  SetActiveWindow(window_);
  FlushEvents();
}

ActiveTestWindow::~ActiveTestWindow() {
  DestroyWindow(window_);
  FlushEvents();
}

}  // namespace reminder::testing
