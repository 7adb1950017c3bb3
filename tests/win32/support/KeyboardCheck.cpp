#include "win32/support/KeyboardCheck.h"

#include <algorithm>

#include "win32/support/LayoutCheck.h"
#include "win32/support/MsgBoxCatcher.h"

namespace reminder::testing {

namespace {

// More stops than any form of the module has: a round that does not come back is stuck.
constexpr int kMaxRound = 64;

std::string Named(HWND control) {
  char kind[64] = {};
  GetClassNameA(control, kind, sizeof kind);
  char text[256] = {};
  GetWindowTextA(control, text, sizeof text);
  return std::string(kind) + " \"" + text + "\" (" + std::to_string(GetDlgCtrlID(control)) + ")";
}

void SetModifiers(bool shift, bool control) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  keys[VK_CONTROL] = control ? 0x80 : 0;
  keys[VK_MENU] = 0;
  SetKeyboardState(keys);
}

void Deliver(TForm& form, MSG message) {
  if (!form.PreTranslateMessage(message)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  FlushEvents();
}

BOOL CALLBACK CollectControl(HWND control, LPARAM found) {
  reinterpret_cast<std::vector<HWND>*>(found)->push_back(control);
  return TRUE;
}

// The controls the dialog keys move between: the form's own, and those of child forms
// that let Tab in; not the parts of a control such as the arrows of a time field.
std::vector<HWND> Controls(TForm& form) {
  std::vector<HWND> all;
  EnumChildWindows(form.Handle(), &CollectControl, reinterpret_cast<LPARAM>(&all));
  std::vector<HWND> controls;
  for (HWND control : all) {
    const HWND parent = GetParent(control);
    if (parent == form.Handle() || (GetWindowLongA(parent, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)) {
      controls.push_back(control);
    }
  }
  return controls;
}

// The control a window belongs to: the focus may rest inside one, as in the edit of a
// combo box.
HWND ControlOf(TForm& form, HWND window) {
  while (window && GetParent(window) != form.Handle() &&
         IsChild(form.Handle(), GetParent(window)) &&
         !(GetWindowLongA(GetParent(window), GWL_EXSTYLE) & WS_EX_CONTROLPARENT)) {
    window = GetParent(window);
  }
  return window;
}

bool Usable(HWND control) {
  return IsWindowVisible(control) && IsWindowEnabled(control);
}

bool IsClass(HWND control, const char* name) {
  char kind[64] = {};
  GetClassNameA(control, kind, sizeof kind);
  return lstrcmpiA(kind, name) == 0;
}

// The control a label names: the next one after it that can take the focus.
HWND LabelTarget(HWND label) {
  for (HWND next = GetWindow(label, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT)) {
    if (Usable(next) && !IsClass(next, "Static")) return next;
  }
  return nullptr;
}

bool CheckOrRadio(HWND control) {
  if (!IsClass(control, "Button")) return false;
  const LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
         type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE;
}

void CheckTabRound(TForm& form, const std::vector<HWND>& controls,
                   std::vector<std::string>& problems) {
  const std::vector<HWND> round = TabRound(form);
  for (HWND control : controls) {
    if (!Usable(control) || !(GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP)) continue;
    if (std::find(round.begin(), round.end(), control) == round.end()) {
      problems.push_back("Tab does not reach " + Named(control));
    }
  }
}

void CheckAccessKeys(TForm& form, const std::vector<HWND>& controls,
                     std::vector<std::string>& problems) {
  for (HWND control : controls) {
    const char key = AccessKey(control);
    const bool label = IsClass(control, "Static");
    if (!key || !Usable(control) || (!label && !CheckOrRadio(control))) continue;
    std::vector<std::pair<HWND, LRESULT>> states;
    for (HWND other : controls) {
      if (CheckOrRadio(other)) states.emplace_back(other, SendMessageA(other, BM_GETCHECK, 0, 0));
    }
    const HWND expected = label ? LabelTarget(control) : control;
    PressAlt(form, key);
    const HWND focus = ControlOf(form, GetFocus());
    if (!expected || focus != expected) {
      problems.push_back("Alt+" + std::string(1, key) + " of " + Named(control) + " goes to " +
                         (focus ? Named(focus) : "nowhere") + ", not to " +
                         (expected ? Named(expected) : "a control"));
    }
    // A radio button comes back by a click of the one that was checked, a check box by one
    // of its own.
    for (const auto& [button, state] : states) {
      if (SendMessageA(button, BM_GETCHECK, 0, 0) == state) continue;
      const LONG type = GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK;
      const bool radio = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
      if (!radio || state == BST_CHECKED) SendMessageA(button, BM_CLICK, 0, 0);
    }
    FlushEvents();
  }
}

}  // namespace

void PressTab(TForm& form, bool shift) {
  SetModifiers(shift, false);
  Deliver(form, {GetFocus(), WM_KEYDOWN, VK_TAB, 1, 0, {}});
  SetModifiers(false, false);
}

void PressAlt(TForm& form, char letter) {
  SetModifiers(false, false);
  // Bit 29: the Alt key is down.
  Deliver(form, {GetFocus(), WM_SYSCHAR, static_cast<WPARAM>(letter), 1 << 29, 0, {}});
}

void PressKey(TForm& form, UINT key) {
  SetModifiers(false, false);
  Deliver(form, {GetFocus(), WM_KEYDOWN, key, 1, 0, {}});
}

std::vector<HWND> TabRound(TForm& form) {
  std::vector<HWND> round;
  HWND first = GetFocus();
  if (!first || !IsChild(form.Handle(), first)) {
    first = GetNextDlgTabItem(form.Handle(), nullptr, FALSE);
    SetFocus(first);
  }
  first = ControlOf(form, first);
  round.push_back(first);
  for (int i = 0; i < kMaxRound; ++i) {
    PressTab(form);
    const HWND focus = ControlOf(form, GetFocus());
    if (focus == first || !focus) break;
    round.push_back(focus);
  }
  return round;
}

std::vector<std::string> KeyboardProblems(TForm& form) {
  std::vector<std::string> problems;
  const std::vector<HWND> controls = Controls(form);
  const HWND start = GetFocus();
  CheckTabRound(form, controls, problems);
  CheckAccessKeys(form, controls, problems);
  if (start && IsWindow(start)) SetFocus(start);
  return problems;
}

}  // namespace reminder::testing
