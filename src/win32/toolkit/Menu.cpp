#include "win32/toolkit/Menu.h"

#include <stdexcept>

#include "core/common/ShortCut.h"

namespace reminder {

namespace {

bool IsSeparator(const TMenuItem& item) {
  return item.Caption == "-";
}

TShortCut ParsedShortCut(const std::string& text) {
  TShortCut shortCut;
  if (!ParseShortCut(text, shortCut)) {
    throw std::invalid_argument("Unbekanntes Tastenkürzel: " + text);
  }
  return shortCut;
}

void AppendItems(HMENU menu, const std::vector<TMenuItem>& items, HIMAGELIST images) {
  if (images) {
    // The image list travels with the menu to the drawing code.
    MENUINFO menuInfo = {};
    menuInfo.cbSize = sizeof menuInfo;
    menuInfo.fMask = MIM_MENUDATA;
    menuInfo.dwMenuData = reinterpret_cast<ULONG_PTR>(images);
    SetMenuInfo(menu, &menuInfo);
  }
  for (const TMenuItem& item : items) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    std::string text = item.Caption;
    TMenuHandle subMenu;
    if (IsSeparator(item)) {
      info.fMask = MIIM_FTYPE;
      info.fType = MFT_SEPARATOR;
    } else {
      if (!item.ShortCut.empty()) text += "\t" + ShortCutText(ParsedShortCut(item.ShortCut));
      info.fMask = MIIM_STRING | MIIM_ID | MIIM_STATE;
      info.dwTypeData = &text[0];
      info.wID = item.Id;
      info.fState = ((item.State & msDisabled) ? MFS_GRAYED : 0u) |
                    ((item.State & msChecked) ? MFS_CHECKED : 0u) |
                    ((item.State & msDefault) ? MFS_DEFAULT : 0u);
      if (!item.Items.empty()) {
        subMenu.reset(CreatePopupMenu());
        AppendItems(subMenu.get(), item.Items, images);
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = subMenu.get();
      }
      if (item.Image >= 0 && images) {
        info.fMask |= MIIM_BITMAP | MIIM_DATA;
        info.hbmpItem = HBMMENU_CALLBACK;
        info.dwItemData = static_cast<ULONG_PTR>(item.Image);
      }
    }
    if (!InsertMenuItemA(menu, GetMenuItemCount(menu), TRUE, &info)) {
      throw std::runtime_error("Menüeintrag nicht eingefügt: " + item.Caption);
    }
    subMenu.release();  // now destroyed with its parent
  }
}

HMENU Build(HMENU empty, const std::vector<TMenuItem>& items, HIMAGELIST images) {
  TMenuHandle menu(empty);
  AppendItems(menu.get(), items, images);
  return menu.release();
}

void CollectAccelerators(const std::vector<TMenuItem>& items, std::vector<ACCEL>& table) {
  for (const TMenuItem& item : items) {
    if (!IsSeparator(item) && !item.ShortCut.empty()) {
      const TShortCut shortCut = ParsedShortCut(item.ShortCut);
      ACCEL accel = {};
      accel.fVirt = static_cast<BYTE>(FVIRTKEY | (shortCut.Ctrl ? FCONTROL : 0) |
                                      (shortCut.Shift ? FSHIFT : 0) | (shortCut.Alt ? FALT : 0));
      accel.key = shortCut.Key;
      accel.cmd = static_cast<WORD>(item.Id);
      table.push_back(accel);
    }
    CollectAccelerators(item.Items, table);
  }
}

}  // namespace

TMenuItem::TMenuItem(std::string caption, UINT id, std::string shortCut, int image, unsigned state)
    : Caption(std::move(caption)),
      Id(id),
      ShortCut(std::move(shortCut)),
      Image(image),
      State(state) {}

TMenuItem TMenuItem::Separator() {
  return TMenuItem("-", 0);
}

TMenuItem TMenuItem::SubMenu(std::string caption, std::vector<TMenuItem> items) {
  TMenuItem item(std::move(caption), 0);
  item.Items = std::move(items);
  return item;
}

HMENU BuildMenuBar(const std::vector<TMenuItem>& items, HIMAGELIST images) {
  return Build(CreateMenu(), items, images);
}

HMENU BuildPopupMenu(const std::vector<TMenuItem>& items, HIMAGELIST images) {
  return Build(CreatePopupMenu(), items, images);
}

HACCEL BuildAccelerators(const std::vector<TMenuItem>& items) {
  std::vector<ACCEL> table;
  CollectAccelerators(items, table);
  if (table.empty()) return nullptr;
  return CreateAcceleratorTableA(table.data(), static_cast<int>(table.size()));
}

void EnableMenuCommand(HMENU menu, UINT id, bool enabled) {
  EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void CheckMenuCommand(HMENU menu, UINT id, bool checked) {
  CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool MenuCommandEnabled(HMENU menu, UINT id) {
  const UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

UINT TrackPopup(HMENU menu, HWND owner, POINT screen) {
  // A menu whose owner is not in the foreground stays open when the user clicks elsewhere,
  // which matters for the notification-area menu.
  SetForegroundWindow(owner);
  const UINT command = static_cast<UINT>(
      TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y, 0, owner, nullptr));
  PostMessageA(owner, WM_NULL, 0, 0);
  if (command) SendMessageA(owner, WM_COMMAND, MAKEWPARAM(command, 0), 0);
  return command;
}

bool HandleMenuImageMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
  if (message == WM_MEASUREITEM) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (measure->CtlType != ODT_MENU) return false;
    measure->itemWidth = static_cast<UINT>(GetSystemMetrics(SM_CXSMICON));
    measure->itemHeight = static_cast<UINT>(GetSystemMetrics(SM_CYSMICON));
    result = TRUE;
    return true;
  }
  if (message != WM_DRAWITEM) return false;
  auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
  if (draw->CtlType != ODT_MENU) return false;
  MENUINFO menuInfo = {};
  menuInfo.cbSize = sizeof menuInfo;
  menuInfo.fMask = MIM_MENUDATA;
  GetMenuInfo(reinterpret_cast<HMENU>(draw->hwndItem), &menuInfo);
  auto images = reinterpret_cast<HIMAGELIST>(menuInfo.dwMenuData);
  if (!images) return false;

  int width = 0;
  int height = 0;
  ImageList_GetIconSize(images, &width, &height);
  const RECT& area = draw->rcItem;
  const int x = area.left + (area.right - area.left - width) / 2;
  const int y = area.top + (area.bottom - area.top - height) / 2;
  const int index = static_cast<int>(draw->itemData);
  if (draw->itemState & (ODS_GRAYED | ODS_DISABLED)) {
    const TIconHandle icon(ImageList_GetIcon(images, index, ILD_NORMAL));
    DrawStateA(draw->hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(icon.get()), 0, x, y, width,
               height, DST_ICON | DSS_DISABLED);
  } else {
    ImageList_Draw(images, index, draw->hDC, x, y, ILD_TRANSPARENT);
  }
  result = TRUE;
  return true;
}

}  // namespace reminder
