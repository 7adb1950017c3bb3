// A list view in report style: columns, rows with an image and a data value, sub-item
// texts, selection queries and sorting by a compare function on the rows' data.
#pragma once

#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <functional>
#include <string>

#include "win32/toolkit/Control.h"

namespace reminder {

class TListView : public TControl {
 public:
  using TControl::TControl;
  void Create(HWND parent, int id, const TBounds& bounds,
              DWORD style = LVS_REPORT | LVS_SHOWSELALWAYS | WS_TABSTOP,
              DWORD extendedStyle = LVS_EX_FULLROWSELECT);
  void SetSmallImages(HIMAGELIST images) {
    Send(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
  }

  int AddColumn(const std::string& caption, int width, int format = LVCFMT_LEFT);
  int ColumnCount() const;
  // Each column as wide as its widest text or its caption, whichever is wider.
  void AutoSizeColumns();

  // Column 0 is the row's caption, columns 1 and up its sub-items. Returns the new row's
  // index, -1 when the control refused it.
  int AddItem(const std::string& caption, int image, LPARAM data);
  int InsertItem(int index, const std::string& caption, int image, LPARAM data);
  void SetItemText(int index, int column, const std::string& text);
  std::string ItemText(int index, int column) const;
  LPARAM ItemData(int index) const;
  int ItemImage(int index) const;
  void SetItemImage(int index, int image);
  // The row that carries this data value; -1 when none does.
  int FindData(LPARAM data) const;
  int Count() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
  void DeleteItem(int index) { Send(LVM_DELETEITEM, static_cast<WPARAM>(index)); }
  void Clear() { Send(LVM_DELETEALLITEMS); }

  // -1 when no (further) row is selected.
  int FirstSelected() const { return NextSelected(-1); }
  int NextSelected(int after) const;
  int SelectedCount() const { return static_cast<int>(Send(LVM_GETSELECTEDCOUNT)); }
  bool IsSelected(int index) const;
  void SetSelected(int index, bool selected);

  // Orders the rows by their data values: compare answers < 0, 0 or > 0, as strcmp does.
  // An exception from compare ends the sort and passes on to the caller.
  void Sort(const std::function<int(LPARAM, LPARAM)>& compare);
};

}  // namespace reminder
