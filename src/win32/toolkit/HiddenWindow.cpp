#include "win32/toolkit/HiddenWindow.h"

namespace reminder {

namespace {

void RegisterHiddenClass(const char* className) {
  WNDCLASSA wc = {};
  if (GetClassInfoA(GetModuleHandleA(nullptr), className, &wc)) return;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = className;
  RegisterClassA(&wc);
}

}  // namespace

HWND CreateHiddenWindow(const char* className, DWORD exStyle, DWORD style, HWND parent,
                        WNDPROC procedure, void* object) {
  RegisterHiddenClass(className);
  const HWND window = CreateWindowExA(exStyle, className, "", style, 0, 0, 0, 0, parent, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
  return window;
}

}  // namespace reminder
