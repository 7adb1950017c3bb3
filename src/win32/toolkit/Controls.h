// Thin wrappers of the standard controls: buttons, labels, edits, combo boxes and up-down
// controls. Each sends the control's own messages; none owns its window.
#pragma once

#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <string>

#include "win32/toolkit/Control.h"

namespace reminder {

class TButton : public TControl {
 public:
  using TControl::TControl;
  // style: BS_PUSHBUTTON, BS_DEFPUSHBUTTON, BS_AUTOCHECKBOX or BS_AUTORADIOBUTTON (WS_GROUP
  // on the first radio button of each group), with WS_TABSTOP where Tab should stop.
  void Create(HWND parent, int id, const std::string& caption, const TBounds& bounds,
              DWORD style = BS_PUSHBUTTON | WS_TABSTOP);
  // As a mouse click, including the command sent to the parent.
  void Click() { Send(BM_CLICK); }
  bool Checked() const { return Send(BM_GETCHECK) == BST_CHECKED; }
  void SetChecked(bool checked) { Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }
};

class TLabel : public TControl {
 public:
  using TControl::TControl;
  void Create(HWND parent, const std::string& text, const TBounds& bounds, DWORD style = SS_LEFT,
              int id = -1);
};

class TEdit : public TControl {
 public:
  using TControl::TControl;
  // ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL for a multi-line text.
  void Create(HWND parent, int id, const TBounds& bounds, DWORD style = ES_AUTOHSCROLL | WS_TABSTOP,
              DWORD exStyle = WS_EX_CLIENTEDGE);
  void SetReadOnly(bool readOnly) { Send(EM_SETREADONLY, readOnly); }
  void SetMaxLength(int characters) { Send(EM_LIMITTEXT, static_cast<WPARAM>(characters)); }
  void SelectAll() { Send(EM_SETSEL, 0, -1); }
};

class TComboBox : public TControl {
 public:
  using TControl::TControl;
  // bounds.Height includes the opened list.
  void Create(HWND parent, int id, const TBounds& bounds,
              DWORD style = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP);
  int Add(const std::string& text);
  void Clear() { Send(CB_RESETCONTENT); }
  int Count() const { return static_cast<int>(Send(CB_GETCOUNT)); }
  // -1 when nothing is selected.
  int ItemIndex() const { return static_cast<int>(Send(CB_GETCURSEL)); }
  void SetItemIndex(int index) { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }
  std::string ItemText(int index) const;
};

class TUpDown : public TControl {
 public:
  using TControl::TControl;
  // Placed at the right edge of its buddy, whose text it keeps as the number.
  void Create(HWND parent, int id, HWND buddy,
              DWORD style = UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS);
  void SetRange(int minimum, int maximum) { Send(UDM_SETRANGE32, minimum, maximum); }
  int Position() const { return static_cast<int>(Send(UDM_GETPOS32)); }
  void SetPosition(int position) { Send(UDM_SETPOS32, 0, position); }
};

}  // namespace reminder
