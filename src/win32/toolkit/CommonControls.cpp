#include "win32/toolkit/CommonControls.h"

namespace reminder {

SYSTEMTIME ToSystemTime(TDateTime value) {
  const TDateParts date = DecodeDate(value);
  const TTimeParts time = DecodeTime(value);
  SYSTEMTIME result = {};
  result.wYear = static_cast<WORD>(date.Year);
  result.wMonth = static_cast<WORD>(date.Month);
  result.wDay = static_cast<WORD>(date.Day);
  result.wDayOfWeek = static_cast<WORD>(DayOfWeek(value) - 1);
  result.wHour = static_cast<WORD>(time.Hour);
  result.wMinute = static_cast<WORD>(time.Minute);
  result.wSecond = static_cast<WORD>(time.Second);
  result.wMilliseconds = static_cast<WORD>(time.MSec);
  return result;
}

TDateTime FromSystemTime(const SYSTEMTIME& time) {
  return EncodeDateTime({time.wYear, time.wMonth, time.wDay},
                        {time.wHour, time.wMinute, time.wSecond, time.wMilliseconds});
}

void TStatusBar::Create(HWND parent, int id, DWORD style) {
  CreateControl(STATUSCLASSNAMEA, parent, id, TBounds{}, style);
}

void TStatusBar::SetParts(const std::vector<int>& rightEdges) {
  Send(SB_SETPARTS, rightEdges.size(), reinterpret_cast<LPARAM>(rightEdges.data()));
}

void TStatusBar::SetPartText(const std::string& text, int part) {
  Send(SB_SETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.c_str()));
}

std::string TStatusBar::PartText(int part) const {
  const LRESULT length = LOWORD(Send(SB_GETTEXTLENGTHA, static_cast<WPARAM>(part)));
  std::string text(static_cast<size_t>(length) + 1, '\0');
  Send(SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(length));
  return text;
}

void TTabControl::Create(HWND parent, int id, const TBounds& bounds, DWORD style) {
  CreateControl(WC_TABCONTROLA, parent, id, bounds, style);
}

int TTabControl::AddTab(const std::string& caption, int image) {
  std::string text = caption;
  TCITEMA item = {};
  item.mask = TCIF_TEXT | TCIF_IMAGE;
  item.pszText = &text[0];
  item.iImage = image;
  return static_cast<int>(
      Send(TCM_INSERTITEMA, static_cast<WPARAM>(Count()), reinterpret_cast<LPARAM>(&item)));
}

TBounds TTabControl::PageBounds() const {
  const TBounds outer = Bounds();
  RECT page = {outer.X, outer.Y, outer.X + outer.Width, outer.Y + outer.Height};
  Send(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
  return {page.left, page.top, page.right - page.left, page.bottom - page.top};
}

void TDateTimePicker::Create(HWND parent, int id, const TBounds& bounds, DWORD style) {
  CreateControl(DATETIMEPICK_CLASSA, parent, id, bounds, style);
}

void TDateTimePicker::SetFormat(const std::string& format) {
  Send(DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(format.c_str()));
}

TDateTime TDateTimePicker::Value() const {
  SYSTEMTIME time = {};
  Send(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
  return FromSystemTime(time);
}

void TDateTimePicker::SetValue(TDateTime value) {
  SYSTEMTIME time = ToSystemTime(value);
  Send(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

void TMonthCalendar::Create(HWND parent, int id, const TBounds& bounds, DWORD style) {
  CreateControl(MONTHCAL_CLASSA, parent, id, bounds, style);
}

TDateTime TMonthCalendar::Date() const {
  SYSTEMTIME time = {};
  Send(MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&time));
  // The control keeps a time of day of its own; only the day is meant.
  return FromSystemTime(SYSTEMTIME{time.wYear, time.wMonth, 0, time.wDay, 0, 0, 0, 0});
}

void TMonthCalendar::SetDate(TDateTime date) {
  SYSTEMTIME time = ToSystemTime(date);
  time.wHour = time.wMinute = time.wSecond = time.wMilliseconds = 0;
  Send(MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&time));
}

SIZE TMonthCalendar::MinimumSize() const {
  RECT rect = {};
  Send(MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&rect));
  return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace reminder
