// A flat tool bar with images from an image list and a hint per button, shown as the
// button's tool tip. The hints live in the tool bar's own string pool, so the wrapper
// keeps no state and every form can answer the tool bar's hint requests.
#pragma once

#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <string>

#include "win32/toolkit/Control.h"

namespace reminder {

class TToolBar : public TControl {
 public:
  using TControl::TControl;
  // Along the top of the parent.
  void Create(HWND parent, int id, DWORD style = TBSTYLE_FLAT | TBSTYLE_TOOLTIPS);
  void SetImageList(HIMAGELIST images) {
    Send(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  }
  // The button sends WM_COMMAND with its id to the parent.
  void AddButton(int id, int image, const std::string& hint);
  void AddSeparator();
  int ButtonCount() const { return static_cast<int>(Send(TB_BUTTONCOUNT)); }
  bool ButtonEnabled(int id) const {
    return Send(TB_ISBUTTONENABLED, static_cast<WPARAM>(id)) != 0;
  }
  void SetButtonEnabled(int id, bool enabled) {
    Send(TB_ENABLEBUTTON, static_cast<WPARAM>(id), MAKELPARAM(enabled, 0));
  }
  // Fits the bar to its buttons and the parent's width; call it from the parent's OnSize.
  void AutoSize() { Send(TB_AUTOSIZE); }
  int Height() const { return Bounds().Height; }

  // Answers a tool bar's request for a button's hint (TBN_GETINFOTIPA); forms pass every
  // notification here first. False for any other notification.
  static bool SupplyInfoTip(NMHDR* header);
};

}  // namespace reminder
