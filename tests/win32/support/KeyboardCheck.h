// A form as a user without a mouse meets it: keys go through the form's own key handling
// (its PreTranslateMessage, as the message loop does), then the queue runs empty.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "win32/toolkit/Form.h"

namespace reminder::testing {

// Tab, or Shift+Tab, at the control that has the focus.
void PressTab(TForm& form, bool shift = false);
// Alt and a letter, lower case.
void PressAlt(TForm& form, char letter);
// A key without modifiers (Enter, Space, an arrow) at the control that has the focus.
void PressKey(TForm& form, UINT key);

// The controls that one round of Tab visits from the focus on, in order.
std::vector<HWND> TabRound(TForm& form);

// What the keyboard cannot reach on the form as it is shown: every visible, enabled tab
// stop is met by one round of Tab; the access key of every visible label moves the focus
// to the control after it, that of a check box or radio button to the button itself (its
// state is put back afterwards). Each problem is one line naming the control.
std::vector<std::string> KeyboardProblems(TForm& form);

}  // namespace reminder::testing
