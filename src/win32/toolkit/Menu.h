// Menu bars and pop-up menus built from a short description: captions with "&" for the
// underlined letter, shortcut texts shown right-aligned ("Strg+A"), images from an image
// list, states; and the accelerator table of the same shortcuts.
//
// Images are drawn by the window the menu belongs to (every form does it, see
// HandleMenuImageMessage); the menus refer to the image list, which must outlive them.
#pragma once

#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <string>
#include <vector>

#include "win32/system/Handles.h"

namespace reminder {

enum TMenuItemState : unsigned {
  msDisabled = 1,
  msChecked = 2,
  msDefault = 4,
};

struct TMenuItem {
  // caption "-": a separator. shortCut: e.g. "Strg+A", "Einfg", "Alt+F4" (see
  // ParseShortCut). image: index in the image list, -1 for none. state: TMenuItemState bits.
  TMenuItem(std::string caption, UINT id, std::string shortCut = "", int image = -1,
            unsigned state = 0);
  static TMenuItem Separator();
  static TMenuItem SubMenu(std::string caption, std::vector<TMenuItem> items);

  std::string Caption;
  UINT Id = 0;
  std::string ShortCut;
  int Image = -1;
  unsigned State = 0;
  std::vector<TMenuItem> Items;  // not empty: a sub-menu
};

// An unknown shortcut text throws std::invalid_argument in the three builders.
HMENU BuildMenuBar(const std::vector<TMenuItem>& items, HIMAGELIST images = nullptr);
HMENU BuildPopupMenu(const std::vector<TMenuItem>& items, HIMAGELIST images = nullptr);
// Null when no item has a shortcut.
HACCEL BuildAccelerators(const std::vector<TMenuItem>& items);

// By command, in the menu and all its sub-menus.
void EnableMenuCommand(HMENU menu, UINT id, bool enabled);
void CheckMenuCommand(HMENU menu, UINT id, bool checked);
bool MenuCommandEnabled(HMENU menu, UINT id);

// Shows the menu at a screen point; a chosen item's command goes to the owner as WM_COMMAND
// (code 0) and is returned, 0 when the menu was dismissed.
UINT TrackPopup(HMENU menu, HWND owner, POINT screen);

// WM_MEASUREITEM and WM_DRAWITEM of menu images; true when the message was one of them.
bool HandleMenuImageMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// A pop-up menu owned by the object.
class TPopupMenu {
 public:
  explicit TPopupMenu(const std::vector<TMenuItem>& items, HIMAGELIST images = nullptr)
      : handle_(BuildPopupMenu(items, images)) {}
  TPopupMenu(const TPopupMenu&) = delete;
  TPopupMenu& operator=(const TPopupMenu&) = delete;

  HMENU Handle() const { return handle_.get(); }
  UINT Track(HWND owner, POINT screen) { return TrackPopup(handle_.get(), owner, screen); }
  void Enable(UINT id, bool enabled) { EnableMenuCommand(handle_.get(), id, enabled); }
  void Check(UINT id, bool checked) { CheckMenuCommand(handle_.get(), id, checked); }
  bool Enabled(UINT id) const { return MenuCommandEnabled(handle_.get(), id); }

 private:
  TMenuHandle handle_;
};

}  // namespace reminder
