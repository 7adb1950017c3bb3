// Thin wrappers of the common controls that the windows place themselves: status bar, tab
// control, date-time picker and month calendar. Dates come and go as TDateTime.
#pragma once

#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <string>
#include <vector>

#include "core/common/DateTime.h"
#include "win32/toolkit/Control.h"

namespace reminder {

SYSTEMTIME ToSystemTime(TDateTime value);
TDateTime FromSystemTime(const SYSTEMTIME& time);

class TStatusBar : public TControl {
 public:
  using TControl::TControl;
  // Along the bottom of the parent.
  void Create(HWND parent, int id, DWORD style = SBARS_SIZEGRIP);
  // Right edges of the parts in pixels; -1 reaches the right end.
  void SetParts(const std::vector<int>& rightEdges);
  void SetPartText(const std::string& text, int part = 0);
  std::string PartText(int part = 0) const;
  // Follows the parent's new size; call it from the parent's OnSize.
  void Resize() { Send(WM_SIZE); }
  int Height() const { return Bounds().Height; }
};

class TTabControl : public TControl {
 public:
  using TControl::TControl;
  void Create(HWND parent, int id, const TBounds& bounds,
              DWORD style = WS_TABSTOP | WS_CLIPSIBLINGS);
  void SetImageList(HIMAGELIST images) {
    Send(TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  }
  int AddTab(const std::string& caption, int image = -1);
  int Count() const { return static_cast<int>(Send(TCM_GETITEMCOUNT)); }
  int Selected() const { return static_cast<int>(Send(TCM_GETCURSEL)); }
  // Sends no change notification, as the control itself does not.
  void SetSelected(int index) { Send(TCM_SETCURSEL, static_cast<WPARAM>(index)); }
  // Where the pages go, in the parent's client area.
  TBounds PageBounds() const;
};

class TDateTimePicker : public TControl {
 public:
  using TControl::TControl;
  // DTS_TIMEFORMAT for a time of day with up/down arrows.
  void Create(HWND parent, int id, const TBounds& bounds,
              DWORD style = DTS_SHORTDATEFORMAT | WS_TABSTOP);
  // In the control's own letters, e.g. "dd.MM.yyyy" or "HH:mm:ss".
  void SetFormat(const std::string& format);
  TDateTime Value() const;
  void SetValue(TDateTime value);
};

class TMonthCalendar : public TControl {
 public:
  using TControl::TControl;
  void Create(HWND parent, int id, const TBounds& bounds, DWORD style = WS_TABSTOP);
  TDateTime Date() const;
  void SetDate(TDateTime date);
  // 0 Monday ... 6 Sunday.
  void SetFirstDayOfWeek(int day) { Send(MCM_SETFIRSTDAYOFWEEK, 0, day); }
  // The size that shows one whole month.
  SIZE MinimumSize() const;
};

}  // namespace reminder
