#include "win32/toolkit/ListView.h"

#include <exception>
#include <vector>

#include "win32/toolkit/Application.h"

namespace reminder {

namespace {

struct TSortContext {
  const std::function<int(LPARAM, LPARAM)>* Compare;
  std::exception_ptr Error;
};

// The control calls back from its own code, which no exception may pass through.
int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM contextParam) {
  auto* context = reinterpret_cast<TSortContext*>(contextParam);
  if (context->Error) return 0;
  try {
    return (*context->Compare)(first, second);
  } catch (...) {
    context->Error = std::current_exception();
    return 0;
  }
}

}  // namespace

void TListView::Create(HWND parent, int id, const TBounds& bounds, DWORD style,
                       DWORD extendedStyle) {
  CreateControl(WC_LISTVIEWA, parent, id, bounds, style, WS_EX_CLIENTEDGE);
  Send(LVM_SETEXTENDEDLISTVIEWSTYLE, extendedStyle, extendedStyle);
}

int TListView::AddColumn(const std::string& caption, int width, int format) {
  std::string text = caption;
  LVCOLUMNA column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  column.fmt = format;
  column.cx = Scaled(width);
  column.pszText = &text[0];
  const int index = ColumnCount();
  return static_cast<int>(
      Send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
}

int TListView::ColumnCount() const {
  auto header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
  return header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

void TListView::AutoSizeColumns() {
  for (int column = 0; column < ColumnCount(); ++column) {
    Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), LVSCW_AUTOSIZE_USEHEADER);
  }
}

int TListView::AddItem(const std::string& caption, int image, LPARAM data) {
  return InsertItem(Count(), caption, image, data);
}

int TListView::InsertItem(int index, const std::string& caption, int image, LPARAM data) {
  std::string text = caption;
  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  item.iItem = index;
  item.pszText = &text[0];
  item.iImage = image;
  item.lParam = data;
  return static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void TListView::SetItemText(int index, int column, const std::string& text) {
  std::string copy = text;
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = &copy[0];
  Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

std::string TListView::ItemText(int index, int column) const {
  // The control answers with the length it copied; a full buffer may mean a longer text.
  std::vector<char> buffer(256);
  for (;;) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const auto length = static_cast<size_t>(
        Send(LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
    if (length + 1 < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 4);
  }
}

LPARAM TListView::ItemData(int index) const {
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return item.lParam;
}

int TListView::ItemImage(int index) const {
  LVITEMA item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return item.iImage;
}

void TListView::SetItemImage(int index, int image) {
  LVITEMA item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  item.iImage = image;
  Send(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

int TListView::FindData(LPARAM data) const {
  LVFINDINFOA find = {};
  find.flags = LVFI_PARAM;
  find.lParam = data;
  return static_cast<int>(
      Send(LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

int TListView::NextSelected(int after) const {
  return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(after), LVNI_SELECTED));
}

bool TListView::IsSelected(int index) const {
  return Send(LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_SELECTED) != 0;
}

void TListView::SetSelected(int index, bool selected) {
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED;
  item.state = selected ? LVIS_SELECTED : 0;
  Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void TListView::Sort(const std::function<int(LPARAM, LPARAM)>& compare) {
  TSortContext context{&compare, nullptr};
  Send(LVM_SORTITEMS, reinterpret_cast<WPARAM>(&context), reinterpret_cast<LPARAM>(&CompareRows));
  if (context.Error) std::rethrow_exception(context.Error);
}

}  // namespace reminder
