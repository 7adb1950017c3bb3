#include "win32/ui/MainList.h"

#include <algorithm>
#include <numeric>
#include <unordered_set>
#include <utility>

#include "core/common/FormatDateTime.h"
#include "win32/toolkit/Application.h"

namespace reminder {

namespace {

constexpr int kDateWidth = 130;
constexpr int kActionWidth = 130;
constexpr int kRepeatWidth = 90;
constexpr int kMinTextWidth = 100;
constexpr int kFewSelected = 64;
constexpr int kCellMargin = 16;

// A key whose byte order is the order CompareStringA gives the texts.
std::string LocaleSortKey(const std::string& text) {
  const int size = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text.c_str(),
                                static_cast<int>(text.size()), nullptr, 0);
  std::string key(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) {
    LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text.c_str(), static_cast<int>(text.size()),
                 key.data(), size);
  }
  return key;
}

// The rows as runs of consecutive rows (first row, length), the longest first. The control
// keeps a selection as ranges of rows, and under Wine a row that joins a range looks
// through every range the control holds, where a row that starts a range of its own does
// not: runs are made while few ranges exist, the single rows come last.
std::vector<std::pair<int, int>> RunsLongestFirst(const std::vector<int>& rows) {
  std::vector<std::pair<int, int>> runs;
  for (int row : rows) {
    if (!runs.empty() && runs.back().first + runs.back().second == row) {
      ++runs.back().second;
    } else {
      runs.emplace_back(row, 1);
    }
  }
  std::stable_sort(runs.begin(), runs.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  return runs;
}

}  // namespace

void TMainList::Create(HWND parent, int id, HIMAGELIST images) {
  view_.Create(parent, id, {0, 0, 100, 100},
               LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA | WS_TABSTOP,
               LVS_EX_FULLROWSELECT | LVS_EX_TRACKSELECT);
  view_.SetSmallImages(images);
  view_.AddColumn("Termin", kDateWidth);
  view_.AddColumn("Erinnern an...", 200);
  view_.AddColumn("Aktion", kActionWidth);
  view_.AddColumn("Wie oft?", kRepeatWidth);
  // The date and the action names are short enough to show whole, whatever the font.
  const TDateTime widest = EncodeDate(2000, 12, 28) + EncodeTime(20, 58, 58, 0);
  FitColumn(lcDate, {FormatDateTime("c", widest, fs_)}, GetSystemMetrics(SM_CXSMICON));
  FitColumn(lcAction, std::vector<std::string>(ActionNames.begin(), ActionNames.end()), 0);
}

void TMainList::FitColumn(int column, const std::vector<std::string>& texts, int image) {
  int widest = 0;
  for (const std::string& text : texts) {
    const int width = static_cast<int>(
        view_.Send(LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text.c_str())));
    if (width > widest) widest = width;
  }
  // The list leaves some room on both sides of a cell's text.
  const int needed = widest + image + Scaled(kCellMargin);
  if (needed > view_.Send(LVM_GETCOLUMNWIDTH, column)) {
    view_.Send(LVM_SETCOLUMNWIDTH, column, MAKELPARAM(needed, 0));
  }
}

void TMainList::Layout(const TBounds& bounds) {
  view_.SetBounds(bounds);
  int others = 0;
  for (int column : {lcDate, lcAction, lcRepeat}) {
    others += static_cast<int>(view_.Send(LVM_GETCOLUMNWIDTH, column));
  }
  const int text = bounds.Width - others - GetSystemMetrics(SM_CXVSCROLL) - Scaled(4);
  const int least = Scaled(kMinTextWidth);
  view_.Send(LVM_SETCOLUMNWIDTH, lcText, MAKELPARAM(text > least ? text : least, 0));
}

void TMainList::ClearSelection() {
  if (view_.SelectedCount() > kFewSelected) {
    // Clearing every row's state makes the control visit each row and take the selection's
    // ranges out one by one (about a second for every second row of 100,000 under Wine);
    // emptying the list frees them in one pass (shrinking its count to 0 would again take
    // them out one by one). Emptying also drops the focus and starts the view at the top.
    view_.Send(LVM_DELETEALLITEMS);
    view_.Send(LVM_SETITEMCOUNT, rows_.Count(), LVSICF_NOSCROLL);
    return;
  }
  for (int i : SelectedRows()) view_.SetSelected(i, false);
}

void TMainList::ShowCount() {
  view_.Send(LVM_SETITEMCOUNT, rows_.Count(), 0);
  InvalidateRect(view_.Handle(), nullptr, TRUE);
}

void TMainList::Fill(TReminder& store) {
  ClearSelection();
  store.FillListView(rows_);
  ShowSortArrow();
  ShowCount();
}

void TMainList::Refill(TReminder& store) {
  // A serial tells a record from a new one at the address of one that went.
  std::unordered_set<uint64_t> selected;
  for (const TNotifyInfo* record : SelectedRecords()) selected.insert(TRecordPool::Serial(record));
  const TPlace place = Place();
  const auto serialOf = [](const TNotifyInfo* record) {
    return record ? TRecordPool::Serial(record) : 0;  // serials start at 1
  };
  const uint64_t focused = serialOf(place.Focused);
  const uint64_t anchor = serialOf(place.Anchor);
  Fill(store);
  TPlace kept;
  kept.Top = place.Top;
  std::vector<const TNotifyInfo*> still;
  for (size_t i = 0; i < rows_.Count(); ++i) {
    const TNotifyInfo* record = rows_.Row(i).Data;
    const uint64_t serial = TRecordPool::Serial(record);
    if (selected.count(serial)) still.push_back(record);
    if (serial == focused) kept.Focused = record;
    if (serial == anchor) kept.Anchor = record;
  }
  Select(still, kept);
}

const TNotifyInfo* TMainList::RecordAt(int row) const {
  return row >= 0 && static_cast<size_t>(row) < rows_.Count() ? rows_.Row(row).Data : nullptr;
}

TMainList::TPlace TMainList::Place() const {
  TPlace place;
  place.Focused = RecordAt(
      static_cast<int>(view_.Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)));
  place.Anchor = RecordAt(static_cast<int>(view_.Send(LVM_GETSELECTIONMARK)));
  place.Top = static_cast<int>(view_.Send(LVM_GETTOPINDEX));
  return place;
}

TNotifyInfo* TMainList::FirstSelected() const {
  const int first = view_.FirstSelected();
  return first >= 0 && static_cast<size_t>(first) < rows_.Count() ? rows_.Row(first).Data : nullptr;
}

std::vector<int> TMainList::SelectedRows() const {
  std::vector<int> selected;
  const int count = view_.Count();
  if (count > 0 && view_.SelectedCount() == count) {
    // Every row: no walk through the control, which asks it once a row.
    selected.resize(static_cast<size_t>(count));
    std::iota(selected.begin(), selected.end(), 0);
    return selected;
  }
  // Each answer lies after the one before, so the walk ends whatever the control says.
  for (int i = view_.FirstSelected(); i >= 0 && i < count;) {
    selected.push_back(i);
    const int next = view_.NextSelected(i);
    if (next <= i) break;
    i = next;
  }
  return selected;
}

std::vector<const TNotifyInfo*> TMainList::SelectedRecords() const {
  std::vector<const TNotifyInfo*> records;
  for (int i : SelectedRows()) {
    if (static_cast<size_t>(i) < rows_.Count()) records.push_back(rows_.Row(i).Data);
  }
  return records;
}

void TMainList::Select(const std::vector<const TNotifyInfo*>& records, const TPlace& place) {
  restoring_ = true;
  // Without redrawing, the control does not look for each changed row's place on the
  // screen; turned on again, it repaints the whole list.
  view_.Send(WM_SETREDRAW, FALSE);
  ClearSelection();
  const std::unordered_set<const TNotifyInfo*> wanted(records.begin(), records.end());
  LVITEMA focus = {};
  focus.stateMask = LVIS_FOCUSED;
  focus.state = LVIS_FOCUSED;
  std::vector<int> chosen;
  for (size_t i = 0; i < rows_.Count(); ++i) {
    const TNotifyInfo* record = rows_.Row(i).Data;
    const auto row = static_cast<int>(i);
    if (wanted.count(record)) chosen.push_back(row);
    if (record == place.Focused) {
      view_.Send(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&focus));
    }
    if (record == place.Anchor) view_.Send(LVM_SETSELECTIONMARK, 0, row);
  }
  for (const auto& [first, length] : RunsLongestFirst(chosen)) {
    // Every other row starts a range; each row between then joins two into one.
    for (int row = first; row < first + length; row += 2) view_.SetSelected(row, true);
    for (int row = first + 1; row < first + length; row += 2) view_.SetSelected(row, true);
  }
  // Giving a row the focus may have scrolled it into view.
  ScrollTo(place.Top);
  view_.Send(WM_SETREDRAW, TRUE);
  restoring_ = false;
}

void TMainList::ScrollTo(int top) {
  const auto now = static_cast<int>(view_.Send(LVM_GETTOPINDEX));
  RECT row = {};
  row.left = LVIR_BOUNDS;
  if (top == now ||
      !view_.Send(LVM_GETITEMRECT, static_cast<WPARAM>(now), reinterpret_cast<LPARAM>(&row))) {
    return;
  }
  // The list scrolls by pixels, rounded to whole rows.
  view_.Send(LVM_SCROLL, 0, (top - now) * (row.bottom - row.top));
}

void TMainList::Redraw(int row) const {
  if (row >= 0) view_.Send(LVM_REDRAWITEMS, row, row);
}

void TMainList::Added(TNotifyInfo& record) {
  if (rows_.Find(&record) >= 0) return;
  rows_.AddItem(record);
  view_.Send(LVM_SETITEMCOUNT, rows_.Count(), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
}

void TMainList::Changed(const TNotifyInfo& record) {
  Redraw(rows_.Changed(&record));
}

void TMainList::ImageChanged(const TNotifyInfo& record) {
  Redraw(rows_.UpdateImage(&record));
}

void TMainList::Remove(const std::vector<const TNotifyInfo*>& records) {
  if (view_.SelectedCount() > kFewSelected) {
    // Emptying the list drops the selection at once, where clearing the rows' states visits
    // each row (seconds at 100,000 rows under Wine). Deleting all items frees the selection
    // ranges in one pass; shrinking the count to 0 takes them out one by one, each time
    // moving the rest (95 to 160 ms for every second row of 100,000). The view then starts
    // at the top, which suits the removal of many rows.
    view_.Send(LVM_DELETEALLITEMS);
  } else {
    ClearSelection();
  }
  rows_.RemoveRecords(records);
  ShowCount();
}

void TMainList::ShowSortArrow() {
  const HWND header = reinterpret_cast<HWND>(view_.Send(LVM_GETHEADER));
  for (int column = 0; column < kListColumnCount; ++column) {
    HDITEMA item = {};
    item.mask = HDI_FORMAT;
    SendMessageA(header, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item));
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (column == rows_.SortedColumn()) {
      item.fmt |= rows_.SortedDescending() ? HDF_SORTDOWN : HDF_SORTUP;
    }
    SendMessageA(header, HDM_SETITEMA, column, reinterpret_cast<LPARAM>(&item));
  }
}

void TMainList::SupplyRow(NMLVDISPINFOA& info) const {
  if (info.item.iItem < 0 || static_cast<size_t>(info.item.iItem) >= rows_.Count()) return;
  const TListRow& row = rows_.Row(static_cast<size_t>(info.item.iItem));
  if ((info.item.mask & LVIF_TEXT) && info.item.pszText && info.item.cchTextMax > 0) {
    const std::string text = ColumnText(*row.Data, info.item.iSubItem, fs_);
    lstrcpynA(info.item.pszText, text.c_str(), info.item.cchTextMax);
  }
  if (info.item.mask & LVIF_IMAGE) info.item.iImage = row.ImageIndex;
}

void TMainList::ColumnClick(int column) {
  // The selection, the focus and the anchor stay with their records, not with the row
  // positions; the view keeps its first visible row.
  const std::vector<const TNotifyInfo*> selected = SelectedRecords();
  const TPlace place = Place();
  rows_.SortByColumn(column, &LocaleSortKey);
  ShowSortArrow();
  Select(selected, place);
  InvalidateRect(view_.Handle(), nullptr, TRUE);
}

}  // namespace reminder
