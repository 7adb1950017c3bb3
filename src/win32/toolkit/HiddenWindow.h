// Hidden windows that carry messages to an object of the module rather than to a form:
// window timers and the notification-area icon.
#pragma once

#include <windows.h>

namespace reminder {

// Creates a hidden window of the class named for object, which the window keeps in
// GWLP_USERDATA, and hands its messages to procedure from then on; parent HWND_MESSAGE
// makes it message-only. Null when the window was not created.
//
// The class is registered once, for the process's executable and with the default
// procedure, so that a class left from an earlier load of the module never points into
// unloaded code; the creation messages go to the default procedure, and each window gets
// the procedure of the module once it exists.
HWND CreateHiddenWindow(const char* className, DWORD exStyle, DWORD style, HWND parent,
                        WNDPROC procedure, void* object);

// The object a hidden window was created for; null once its owner has cleared it.
template <class T>
T* HiddenWindowObject(HWND window) {
  return reinterpret_cast<T*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

}  // namespace reminder
