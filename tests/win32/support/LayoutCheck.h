// The layout of a shown window as the user sees it: every visible field shows its frame
// once the window has settled, every visible text fits its control, no two visible
// controls overlap unless one lies within the other, and no area is left black. Each
// problem is one line naming the control.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace reminder::testing {

std::vector<std::string> LayoutProblems(HWND window);

// Only the frames: every visible bordered edit, date, time and up-down field, sampled along
// its border in a capture of the window after its queue has run empty, has its frame drawn.
std::vector<std::string> FrameProblems(HWND window);

// The letter after a single '&' in the caption of a label, button, check box or radio
// button, lower case; 0 if it has none.
char AccessKey(HWND control);

// The problems as one text, for a failure message.
std::string Joined(const std::vector<std::string>& problems);

}  // namespace reminder::testing
