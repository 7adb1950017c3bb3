#include "win32/system/Win32MsgBox.h"

#include <windows.h>

namespace reminder {

int TWin32MsgBox::Show(const std::string& text, const std::string& caption, uint32_t style,
                       TMsgOwner owner) {
  HWND ownerWindow =
      owner.IsActiveWindow() ? GetActiveWindow() : static_cast<HWND>(owner.WindowHandle());
  return MessageBoxA(ownerWindow, text.c_str(), caption.c_str(), style);
}

int ShowMsgBox(const std::string& text, const std::string& caption, TMsgKind kind,
               TMsgButtons buttons) {
  TWin32MsgBox box;
  return ShowMsgBox(box, text, caption, kind, buttons);
}

}  // namespace reminder
