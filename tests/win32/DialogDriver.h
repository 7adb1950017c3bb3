// Drives a modal dialog from inside its own loop: a thread timer of the test's thread runs
// the test's steps once the dialog's loop dispatches it, finding the dialog by its class.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

#include "win32/toolkit/Form.h"

namespace reminder::testing {

inline std::function<void()>& PendingDialogSteps() {
  static std::function<void()> steps;
  return steps;
}

inline void CALLBACK RunDialogSteps(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  std::function<void()> steps = std::move(PendingDialogSteps());
  PendingDialogSteps() = nullptr;
  if (steps) steps();
}

// The steps run once, inside the next modal loop that dispatches thread timers.
inline void WhenDialogShows(std::function<void()> steps) {
  PendingDialogSteps() = std::move(steps);
  SetTimer(nullptr, 0, 20, &RunDialogSteps);
}

template <class Dialog>
Dialog* FindDialog(const char* className) {
  return dynamic_cast<Dialog*>(TForm::FromHandle(FindWindowA(className, nullptr)));
}

}  // namespace reminder::testing
