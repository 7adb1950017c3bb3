// The main window's list of reminders: the owner-data list control and the rows behind
// it. The control asks for what it paints, so filling and sorting many rows stays fast;
// the selection follows its records through sorts, refills and deletions.
#pragma once

#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <string>
#include <vector>

#include "core/common/FormatSettings.h"
#include "core/store/ReminderClassUnit.h"
#include "core/ui/ReminderRows.h"
#include "win32/toolkit/ListView.h"

namespace reminder {

class TMainList {
 public:
  explicit TMainList(const TFormatSettings& fs) : fs_(fs) {}

  void Create(HWND parent, int id, HIMAGELIST images);
  HWND Handle() const { return view_.Handle(); }
  const TListView& View() const { return view_; }
  const TReminderRows& Rows() const { return rows_; }
  // The list's place; the text column takes the width the other columns leave.
  void Layout(const TBounds& bounds);

  // Loads the rows anew from the store without a selection.
  void Fill(TReminder& store);
  // Loads the rows anew; the records still there stay selected.
  void Refill(TReminder& store);
  void Clear() { rows_.ClearItems(); }

  int SelectedCount() const { return view_.SelectedCount(); }
  // True while the list puts a selection back after a sort or a refill: the control's
  // change notices then tell of no choice of the user, and the window takes in the
  // selection once the list is done.
  bool Restoring() const { return restoring_; }
  // The first selected record, or null.
  TNotifyInfo* FirstSelected() const;
  std::vector<const TNotifyInfo*> SelectedRecords() const;

  // A record the editor added: its row is appended unless a refill brought it already.
  void Added(TNotifyInfo& record);
  // A record the editor changed, or whose alert closed: its row shows it anew.
  void Changed(const TNotifyInfo& record);
  void ImageChanged(const TNotifyInfo& record);
  void Remove(const std::vector<const TNotifyInfo*>& records);

  // Answers LVN_GETDISPINFOA.
  void SupplyRow(NMLVDISPINFOA& info) const;
  void ColumnClick(int column);

 private:
  // What the user sees of the selection besides the selected rows: the focused row, the
  // anchor of Shift+click and the first visible row.
  struct TPlace {
    const TNotifyInfo* Focused = nullptr;
    const TNotifyInfo* Anchor = nullptr;
    int Top = 0;
  };

  void Redraw(int row) const;
  void ClearSelection();
  // The header's arrow at the column of the current order, pointing its way.
  void ShowSortArrow();
  // Widens a column to its widest text (and an image beside it) where it is narrower.
  void FitColumn(int column, const std::vector<std::string>& texts, int image);
  std::vector<int> SelectedRows() const;
  const TNotifyInfo* RecordAt(int row) const;
  TPlace Place() const;
  // Selects exactly these records' rows and puts the focus, the anchor and the view back.
  void Select(const std::vector<const TNotifyInfo*>& records, const TPlace& place);
  void ScrollTo(int top);
  void ShowCount();

  const TFormatSettings& fs_;
  TListView view_;
  TReminderRows rows_;
  bool restoring_ = false;
};

}  // namespace reminder
