// The main window's pictures, drawn at run time: the list's pending and done marks, the
// tool bar's and menus' images, and the tray icon's two frames.
#pragma once

#include <windows.h>

#include "win32/system/Handles.h"
#include "win32/toolkit/ImageList.h"

namespace reminder {

// Image 0 pending, 1 done, 2 snoozed.
void AddListImages(TImageList& images);
// 0 exit, 1 add, 2 change, 3 delete, 4 info, 5 show, 6 minimise, 7 settings.
void AddToolbarImages(TImageList& images);
// Frame 0 is the resting icon, frame 1 the other one of the animation.
TIconHandle MakeTrayIcon(int frame);

}  // namespace reminder
