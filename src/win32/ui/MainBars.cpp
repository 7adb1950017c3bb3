#include "win32/ui/MainBars.h"

#include <commctrl.h>

#include <stdexcept>

#include "win32/toolkit/Application.h"

namespace reminder {

// Every item has an access key of its own within its menu; the words stay as they are.
std::vector<TMenuItem> MainMenuItems() {
  return {
      TMenuItem::SubMenu("&Datei", {{"&Einstellungen...", cmSettings, "", 7},
                                    {"&Jetzt synchronisieren", cmSyncNow},
                                    TMenuItem::Separator(),
                                    {"&Kalender...", cmCalendar},
                                    TMenuItem::Separator(),
                                    {"&Beenden", cmExit, "Alt+F4", 0}}),
      TMenuItem::SubMenu("&Erinnerung", {{"&Hinzufügen...", cmAdd, "Strg+A", 1},
                                         {"&Ändern...", cmChange, "Strg+E", 2},
                                         {"&Löschen", cmDelete, "Strg+D", 3}}),
      TMenuItem::SubMenu("&Ansicht", {{"&Minimieren", cmMinimize, "F3", 6}}),
      TMenuItem::SubMenu("&?", {{"&Info...", cmInfo, "", 4}}),
  };
}

std::vector<TMenuItem> TrayMenuItems() {
  // "Anzeigen" is what the double click does, so it shows in bold.
  return {{"&Anzeigen", cmRestore, "", 5, msDefault},
          {"&Minimieren", cmMinimize, "", 6},
          {"&Einstellungen...", cmSettings, "", 7},
          {"&Jetzt synchronisieren", cmSyncNow},
          TMenuItem::Separator(),
          {"Erinnerung &hinzufügen...", cmAdd, "", 1},
          TMenuItem::Separator(),
          {"&Beenden", cmExit, "", 0}};
}

std::vector<TMenuItem> ListMenuItems() {
  return {
      {"&Hinzufügen", cmAdd, "", 1}, {"&Ändern", cmChange, "", 2}, {"&Löschen", cmDelete, "", 3}};
}

HWND CreateToolBand(HWND parent, int coolBarId, int toolBarId, HIMAGELIST images,
                    TToolBar& toolBar) {
  HWND coolBar = CreateWindowExA(WS_EX_TOOLWINDOW, REBARCLASSNAMEA, "",
                                 WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                                     RBS_VARHEIGHT | RBS_BANDBORDERS | CCS_NODIVIDER,
                                 0, 0, 0, 0, parent, reinterpret_cast<HMENU>(coolBarId),
                                 TApplication::Instance(), nullptr);
  if (!coolBar) throw std::runtime_error("Die Werkzeugleiste kann nicht erstellt werden.");
  toolBar.Create(
      coolBar, toolBarId,
      TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NODIVIDER | CCS_NOPARENTALIGN);
  toolBar.SetImageList(images);
  toolBar.AddButton(cmExit, 0, "Beenden");
  toolBar.AddSeparator();
  toolBar.AddButton(cmAdd, 1, "Erinnerung hinzufügen");
  toolBar.AddButton(cmChange, 2, "Erinnerung ändern");
  toolBar.AddButton(cmDelete, 3, "Erinnerung löschen");
  SIZE size = {};
  toolBar.Send(TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
  REBARBANDINFOA band = {};
  band.cbSize = REBARBANDINFOA_V3_SIZE;
  band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_SIZE;
  band.fStyle = RBBS_CHILDEDGE;
  band.hwndChild = toolBar.Handle();
  band.cxMinChild = size.cx;
  band.cyMinChild = size.cy;
  band.cx = size.cx;
  SendMessageA(coolBar, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
  return coolBar;
}

}  // namespace reminder
