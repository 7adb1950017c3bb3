// Menus built from their description, their images, their accelerators and the pop-up
// helper, against the real menu functions.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "win32/ToolkitTestSupport.h"
#include "win32/support/MsgBoxCatcher.h"
#include "win32/toolkit/Form.h"
#include "win32/toolkit/ImageList.h"
#include "win32/toolkit/Menu.h"

namespace reminder {
namespace {

using testing::FlushEvents;

enum : UINT { kAdd = 101, kChange, kShow, kInfo, kInsert, kMinimize };

std::vector<TMenuItem> SampleItems() {
  return {
      TMenuItem("&Hinzufügen...", kAdd, "Ctrl+A", 1),
      TMenuItem::Separator(),
      TMenuItem("Ändern", kChange, "Strg+E", 2, msDisabled),
      TMenuItem("Anzeigen", kShow, "", -1, msChecked | msDefault),
      TMenuItem::SubMenu(
          "&Mehr", {TMenuItem("Info...", kInfo, "F1", 0), TMenuItem("Einfügen", kInsert, "Einfg"),
                    TMenuItem("Minimieren", kMinimize, "F3")}),
  };
}

struct ItemInfo {
  std::string text;
  MENUITEMINFOA info = {};
};

ItemInfo ReadItem(HMENU menu, UINT position) {
  ItemInfo item;
  char buffer[128] = {};
  item.info.cbSize = sizeof item.info;
  item.info.fMask =
      MIIM_FTYPE | MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_BITMAP | MIIM_DATA;
  item.info.dwTypeData = buffer;
  item.info.cch = sizeof buffer;
  EXPECT_TRUE(GetMenuItemInfoA(menu, position, TRUE, &item.info));
  item.text = buffer;
  return item;
}

HIMAGELIST MenuImages(HMENU menu) {
  MENUINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = MIM_MENUDATA;
  GetMenuInfo(menu, &info);
  return reinterpret_cast<HIMAGELIST>(info.dwMenuData);
}

// A 16 by 16 icon of one colour, without transparent pixels.
HICON SolidIcon(COLORREF color) {
  HDC screen = GetDC(nullptr);
  HBITMAP colorBits = CreateCompatibleBitmap(screen, 16, 16);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, colorBits);
  HBRUSH brush = CreateSolidBrush(color);
  RECT all = {0, 0, 16, 16};
  FillRect(dc, &all, brush);
  SelectObject(dc, old);
  DeleteObject(brush);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  std::vector<BYTE> opaque(16 * 16 / 8, 0);
  HBITMAP mask = CreateBitmap(16, 16, 1, 1, opaque.data());
  ICONINFO info = {TRUE, 0, 0, mask, colorBits};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(mask);
  DeleteObject(colorBits);
  return icon;
}

class CommandForm : public TForm {
 public:
  void Make(HMENU menuBar) {
    TFormParams params;
    params.Caption = "Menütest";
    params.ClientWidth = 200;
    params.ClientHeight = 100;
    params.Menu = menuBar;
    Create(params);
  }
  std::vector<std::pair<int, int>> commands;  // id, code

 protected:
  void OnCommand(int id, int code, HWND) override { commands.emplace_back(id, code); }
};

class ToolkitMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::InitializeToolkit();
    for (COLORREF color : {RGB(0, 0, 255), RGB(255, 0, 0), RGB(0, 255, 0)}) {
      HICON icon = SolidIcon(color);
      images.AddIcon(icon);
      DestroyIcon(icon);
    }
  }
  void TearDown() override { FlushEvents(); }
  TImageList images;
};

TEST_F(ToolkitMenuTest, PopUpMenuHasTheDescribedItemsAndStates) {
  TPopupMenu popup(SampleItems(), images.Handle());
  HMENU menu = popup.Handle();
  ASSERT_EQ(GetMenuItemCount(menu), 5);

  const ItemInfo add = ReadItem(menu, 0);
  EXPECT_EQ(add.text, "&Hinzufügen...\tStrg+A") << "the shortcut in its German form";
  EXPECT_EQ(add.info.wID, kAdd);
  EXPECT_EQ(add.info.fState & (MFS_GRAYED | MFS_CHECKED | MFS_DEFAULT), 0u);
  EXPECT_EQ(add.info.hbmpItem, HBMMENU_CALLBACK);
  EXPECT_EQ(add.info.dwItemData, 1u);

  EXPECT_TRUE(ReadItem(menu, 1).info.fType & MFT_SEPARATOR);
  const ItemInfo change = ReadItem(menu, 2);
  EXPECT_EQ(change.text, "Ändern\tStrg+E");
  EXPECT_TRUE(change.info.fState & MFS_GRAYED);
  const ItemInfo show = ReadItem(menu, 3);
  EXPECT_EQ(show.text, "Anzeigen");
  EXPECT_TRUE(show.info.fState & MFS_CHECKED);
  EXPECT_TRUE(show.info.fState & MFS_DEFAULT);
  EXPECT_EQ(show.info.hbmpItem, nullptr) << "no image asked for";

  const ItemInfo more = ReadItem(menu, 4);
  EXPECT_EQ(more.text, "&Mehr");
  ASSERT_NE(more.info.hSubMenu, nullptr);
  EXPECT_EQ(GetMenuItemCount(more.info.hSubMenu), 3);
  EXPECT_EQ(ReadItem(more.info.hSubMenu, 0).text, "Info...\tF1");
  EXPECT_EQ(ReadItem(more.info.hSubMenu, 1).text, "Einfügen\tEinfg");
  EXPECT_EQ(MenuImages(menu), images.Handle());
  EXPECT_EQ(MenuImages(more.info.hSubMenu), images.Handle());

  EXPECT_FALSE(popup.Enabled(kChange));
  popup.Enable(kChange, true);
  popup.Enable(kInfo, false);
  popup.Check(kShow, false);
  EXPECT_TRUE(popup.Enabled(kChange));
  EXPECT_FALSE(popup.Enabled(kInfo)) << "found by command inside the sub-menu";
  EXPECT_FALSE(ReadItem(menu, 3).info.fState & MFS_CHECKED);
  EXPECT_FALSE(popup.Enabled(999)) << "no such command";
}

TEST_F(ToolkitMenuTest, UnknownShortCutIsRefused) {
  const std::vector<TMenuItem> items = {TMenuItem("Gut", 1, "F2"),
                                        TMenuItem("Schlecht", 2, "Strg+Hyper")};
  EXPECT_THROW(BuildPopupMenu(items), std::invalid_argument);
  EXPECT_THROW(BuildAccelerators(items), std::invalid_argument);
  EXPECT_EQ(BuildAccelerators({TMenuItem("Ohne", 1)}), nullptr);
}

TEST_F(ToolkitMenuTest, ShortCutsSendTheirCommandsInAnyLoop) {
  CommandForm form;
  form.Make(BuildMenuBar({TMenuItem::SubMenu("&Erinnerung", SampleItems())}, images.Handle()));
  form.SetAccelerators(BuildAccelerators(SampleItems()));
  form.Show();
  SetForegroundWindow(form.Handle());
  SetFocus(form.Handle());

  std::vector<WPARAM> keysSeen;
  Application().SetOnMessage([&](MSG& message) {
    if (message.message == WM_KEYDOWN) keysSeen.push_back(message.wParam);
    return false;
  });
  PostMessageA(form.Handle(), WM_KEYDOWN, VK_INSERT, 0);
  Application().ProcessMessages();
  Application().SetOnMessage(nullptr);
  EXPECT_EQ(keysSeen, std::vector<WPARAM>{VK_INSERT}) << "the hook sees a shortcut's key first";
  PostMessageA(form.Handle(), WM_KEYDOWN, VK_F3, 0);
  FlushEvents();  // the host's loop
  PostMessageA(form.Handle(), WM_KEYDOWN, 'A', 0);
  FlushEvents();
  EXPECT_EQ(form.commands, (std::vector<std::pair<int, int>>{{kInsert, 1}, {kMinimize, 1}}))
      << "A without Ctrl is no shortcut";

  // Ctrl is read from the thread's key state, as when it is held down.
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  BYTE ctrlDown[256];
  std::copy(keys, keys + 256, ctrlDown);
  ctrlDown[VK_CONTROL] = ctrlDown[VK_LCONTROL] = 0x80;
  SetKeyboardState(ctrlDown);
  form.commands.clear();
  PostMessageA(form.Handle(), WM_KEYDOWN, 'A', 0);
  PostMessageA(form.Handle(), WM_KEYDOWN, 'E', 0);  // its menu item is disabled
  Application().ProcessMessages();
  SetKeyboardState(keys);
  EXPECT_EQ(form.commands, (std::vector<std::pair<int, int>>{{kAdd, 1}}));
}

// Chooses the first item of the open pop-up menu from inside the menu's own loop.
void CALLBACK ChooseFirstItem(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND menuWindow = FindWindowA("#32768", nullptr);
  if (!menuWindow || !IsWindowVisible(menuWindow)) return;
  KillTimer(nullptr, timer);
  PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
}

TEST_F(ToolkitMenuTest, TrackPopupSendsTheChosenCommandToTheOwner) {
  CommandForm form;
  form.Make(nullptr);
  form.Show();
  TPopupMenu popup(SampleItems(), images.Handle());
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, &ChooseFirstItem);
  const UINT chosen = popup.Track(form.Handle(), POINT{100, 100});
  KillTimer(nullptr, timer);
  EXPECT_EQ(chosen, kAdd);
  EXPECT_EQ(form.commands, (std::vector<std::pair<int, int>>{{kAdd, 0}}));
}

TEST_F(ToolkitMenuTest, MenuImagesAreMeasuredAndDrawnFromTheMenusImageList) {
  CommandForm form;
  form.Make(nullptr);
  TPopupMenu popup(SampleItems(), images.Handle());

  MEASUREITEMSTRUCT measure = {ODT_MENU, 0, kAdd, 0, 0, 1};
  EXPECT_EQ(SendMessageA(form.Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)),
            TRUE);
  EXPECT_EQ(measure.itemWidth, static_cast<UINT>(GetSystemMetrics(SM_CXSMICON)));
  EXPECT_EQ(measure.itemHeight, static_cast<UINT>(GetSystemMetrics(SM_CYSMICON)));

  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP canvas = CreateCompatibleBitmap(screen, 20, 20);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, canvas);
  RECT all = {0, 0, 20, 20};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

  DRAWITEMSTRUCT draw = {};
  draw.CtlType = ODT_MENU;
  draw.itemID = kAdd;
  draw.itemAction = ODA_DRAWENTIRE;
  draw.hwndItem = reinterpret_cast<HWND>(popup.Handle());
  draw.hDC = dc;
  draw.rcItem = all;
  draw.itemData = 1;  // the red image
  EXPECT_EQ(SendMessageA(form.Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)), TRUE);
  EXPECT_EQ(GetPixel(dc, 10, 10), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255)) << "centred in the item";

  draw.CtlType = ODT_BUTTON;
  EXPECT_EQ(SendMessageA(form.Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)), FALSE)
      << "not a menu's";

  SelectObject(dc, old);
  DeleteObject(canvas);
  DeleteDC(dc);
}

}  // namespace
}  // namespace reminder
