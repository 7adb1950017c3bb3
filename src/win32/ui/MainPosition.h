// The main window's place in the registry ("WindowPosition" below the settings' area).
// Kept apart from the window's code: the placement store and the toolkit each name their
// own rectangle type.
#pragma once

#include <windows.h>

#include <string>

namespace reminder {

void LoadMainPosition(HWND window, const std::string& area);
void SaveMainPosition(HWND window, const std::string& area);

}  // namespace reminder
