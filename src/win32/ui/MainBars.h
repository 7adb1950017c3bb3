// The main window's commands and where each appears: the menu bar, the tray menu, the
// list's menu and the tool band above the list.
#pragma once

#include <windows.h>

#include <vector>

#include "win32/toolkit/Menu.h"
#include "win32/toolkit/ToolBar.h"

namespace reminder {

enum TMainCommand : UINT {
  cmExit = 101,
  cmAdd,
  cmChange,
  cmDelete,
  cmSettings,
  cmCalendar,
  cmMinimize,
  cmInfo,
  cmRestore,
  cmSyncNow,
};

std::vector<TMenuItem> MainMenuItems();
std::vector<TMenuItem> TrayMenuItems();
std::vector<TMenuItem> ListMenuItems();

// Creates the cool bar across the top of parent with the tool bar in its one band and
// returns it; throws when the control cannot be made.
HWND CreateToolBand(HWND parent, int coolBarId, int toolBarId, HIMAGELIST images,
                    TToolBar& toolBar);

}  // namespace reminder
