#include "win32/support/LayoutCheck.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "win32/support/MsgBoxCatcher.h"
#include "win32/system/Handles.h"

namespace reminder::testing {

namespace {

// Pure black this wide over this many rows is no text, icon or line: an unpainted area.
constexpr int kBlackRun = 48;
constexpr int kBlackRows = 3;
// How deep a frame may lie inside a field: a sunken edge, and the edge an up-down control
// draws beside its field, can be white on the outside towards a white page.
constexpr int kFrameDepth = 3;

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string TextOf(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

BOOL CALLBACK Collect(HWND window, LPARAM found) {
  if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  return TRUE;
}

RECT PlaceOf(HWND window) {
  RECT place = {};
  GetWindowRect(window, &place);
  return place;
}

// How much room the text of a control has, and how it is laid out; false for controls
// whose text is not the user's to read whole (ellipses, pictures, frames) or that have none.
bool TextRoom(HWND control, RECT& room, UINT& format) {
  const std::string kind = ClassOf(control);
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  GetClientRect(control, &room);
  format = DT_CALCRECT;
  if (kind == "Static") {
    const LONG type = style & SS_TYPEMASK;
    if ((style & SS_ELLIPSISMASK) != 0) return false;
    if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP &&
        type != SS_SIMPLE) {
      return false;
    }
    format |= type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE ? DT_SINGLELINE : DT_WORDBREAK;
    if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
    return true;
  }
  if (kind == "Button") {
    const LONG type = style & BS_TYPEMASK;
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
        type == BS_AUTORADIOBUTTON) {
      room.left += GetSystemMetrics(SM_CXMENUCHECK) + 4;
    } else if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
      InflateRect(&room, -4, 0);
    } else {
      return false;
    }
    format |= DT_SINGLELINE;
    return true;
  }
  return false;
}

void CheckText(HWND control, std::vector<std::string>& problems) {
  RECT room = {};
  UINT format = 0;
  const std::string text = TextOf(control);
  if (text.empty() || !TextRoom(control, room, format)) return;
  const TWindowDC dc(control);
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0));
  const TSelectedObject selected(dc.get(), font ? font : GetStockObject(SYSTEM_FONT));
  RECT needed = {0, 0, room.right - room.left, 0};
  DrawTextA(dc.get(), text.c_str(), -1, &needed, format);
  const bool wraps = (format & DT_WORDBREAK) != 0;
  const bool fits =
      wraps ? needed.bottom <= room.bottom - room.top : needed.right <= room.right - room.left;
  if (!fits) {
    problems.push_back(ClassOf(control) + " \"" + text + "\" needs " +
                       std::to_string(needed.right) + "x" + std::to_string(needed.bottom) +
                       ", has " + std::to_string(room.right - room.left) + "x" +
                       std::to_string(room.bottom - room.top));
  }
}

bool Buddies(HWND a, HWND b) {
  const auto buddy = [](HWND control) {
    return ClassOf(control) == UPDOWN_CLASSA
               ? reinterpret_cast<HWND>(SendMessageA(control, UDM_GETBUDDY, 0, 0))
               : nullptr;
  };
  return buddy(a) == b || buddy(b) == a;
}

bool Within(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

void CheckOverlaps(const std::vector<HWND>& controls, std::vector<std::string>& problems) {
  for (size_t i = 0; i < controls.size(); ++i) {
    for (size_t j = i + 1; j < controls.size(); ++j) {
      if (GetParent(controls[i]) != GetParent(controls[j])) continue;
      const RECT a = PlaceOf(controls[i]);
      const RECT b = PlaceOf(controls[j]);
      RECT common = {};
      if (!IntersectRect(&common, &a, &b) || Within(a, b) || Within(b, a)) continue;
      // An up-down control sits on the edge of the field it steps.
      if (Buddies(controls[i], controls[j])) continue;
      problems.push_back(ClassOf(controls[i]) + " \"" + TextOf(controls[i]) + "\" overlaps " +
                         ClassOf(controls[j]) + " \"" + TextOf(controls[j]) + "\"");
    }
  }
}

// The client area of a window as it is on the screen now, children included.
class TCapture {
 public:
  explicit TCapture(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    width_ = client.right;
    height_ = client.bottom;
    if (width_ <= 0 || height_ <= 0) return;
    // Without DCX_CLIPCHILDREN the copy shows the controls as they are drawn.
    const HDC screen = GetDCEx(window, nullptr, DCX_CACHE);
    const TMemoryDC memory(CreateCompatibleDC(screen));
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const TGdiObject<HBITMAP> bitmap(
        CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap && bits) {
      const TSelectedObject selected(memory.get(), bitmap.get());
      BitBlt(memory.get(), 0, 0, width_, height_, screen, 0, 0, SRCCOPY);
      GdiFlush();
      const auto* pixels = static_cast<const DWORD*>(bits);
      pixels_.assign(pixels, pixels + width_ * height_);
    }
    ReleaseDC(window, screen);
  }
  bool Empty() const { return pixels_.empty(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  DWORD At(int x, int y) const { return pixels_[y * width_ + x] & 0xFFFFFF; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<DWORD> pixels_;
};

void CheckBlack(HWND window, std::vector<std::string>& problems) {
  const TCapture capture(window);
  if (capture.Empty()) return;
  int rows = 0;
  for (int y = 0; y < capture.Height(); ++y) {
    int run = 0;
    int longest = 0;
    for (int x = 0; x < capture.Width(); ++x) {
      run = capture.At(x, y) == 0 ? run + 1 : 0;
      longest = std::max(longest, run);
    }
    rows = longest >= kBlackRun ? rows + 1 : 0;
    if (rows == kBlackRows) {
      problems.push_back("black area from row " + std::to_string(y - rows + 1));
      return;
    }
  }
}

// Fields whose frame shows the user where to type or click: bordered edits, date and time
// fields, up-down controls.
bool FramedField(HWND control) {
  const std::string kind = ClassOf(control);
  if (kind == DATETIMEPICK_CLASSA || kind == UPDOWN_CLASSA) return true;
  if (kind != "Edit") return false;
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  const LONG exStyle = GetWindowLongA(control, GWL_EXSTYLE);
  return (style & WS_BORDER) || (exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
}

// The place of a control in the client coordinates of window.
RECT PlaceIn(HWND window, HWND control) {
  RECT place = PlaceOf(control);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
  return place;
}

// Whether the pixel at (x, y) belongs to another control that does not hold field, such as
// the field an up-down control steps: there the frame meets that control's own.
bool OnNeighbour(HWND window, const std::vector<HWND>& controls, HWND field, int x, int y) {
  const RECT own = PlaceIn(window, field);
  for (HWND other : controls) {
    if (other == field) continue;
    const RECT place = PlaceIn(window, other);
    if (PtInRect(&place, {x, y}) && !Within(own, place)) return true;
  }
  return false;
}

// A side of a frame is drawn when one of its outermost lines of pixels differs from the
// line just outside; a side painted over by what lies behind the field looks like its
// surroundings.
void CheckFrame(HWND window, const TCapture& capture, const std::vector<HWND>& controls, HWND field,
                std::vector<std::string>& problems) {
  const RECT r = PlaceIn(window, field);
  struct TSide {
    const char* name;
    int x, y, dx, dy, outX, outY, length;
  };
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  const TSide sides[] = {
      {"top", r.left, r.top, 1, 0, 0, -1, width},
      {"bottom", r.left, r.bottom - 1, 1, 0, 0, 1, width},
      {"left", r.left, r.top, 0, 1, -1, 0, height},
      {"right", r.right - 1, r.top, 0, 1, 1, 0, height},
  };
  for (const TSide& side : sides) {
    int sampled = 0;
    int differing = 0;
    // The corners are left out: there frames and neighbours meet.
    for (int i = 2; i < side.length - 2; ++i) {
      const int x = side.x + side.dx * i;
      const int y = side.y + side.dy * i;
      const int outX = x + side.outX;
      const int outY = y + side.outY;
      if (!capture.Inside(x, y) || !capture.Inside(outX, outY) ||
          OnNeighbour(window, controls, field, outX, outY)) {
        continue;
      }
      ++sampled;
      const DWORD outside = capture.At(outX, outY);
      for (int depth = 0; depth < kFrameDepth; ++depth) {
        if (capture.At(x - side.outX * depth, y - side.outY * depth) != outside) {
          ++differing;
          break;
        }
      }
    }
    if (sampled >= 4 && differing * 4 < sampled * 3) {
      problems.push_back(ClassOf(field) + " \"" + TextOf(field) + "\" (" +
                         std::to_string(GetDlgCtrlID(field)) + ") has no frame at the " +
                         side.name + " (" + std::to_string(differing) + " of " +
                         std::to_string(sampled) + " pixels drawn)");
    }
  }
}

}  // namespace

char AccessKey(HWND control) {
  const std::string kind = ClassOf(control);
  if (kind != "Static" && kind != "Button") return 0;
  if (kind == "Static" && (GetWindowLongA(control, GWL_STYLE) & SS_NOPREFIX)) return 0;
  const std::string text = TextOf(control);
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] != '&') {
      char letter[2] = {text[i + 1], 0};
      CharLowerA(letter);
      return letter[0];
    }
    ++i;
  }
  return 0;
}

namespace {

void CheckAccessKeys(const std::vector<HWND>& controls, std::vector<std::string>& problems) {
  std::vector<std::pair<char, std::string>> seen;
  for (HWND control : controls) {
    const char key = AccessKey(control);
    if (!key) continue;
    for (const auto& [other, text] : seen) {
      if (other == key) {
        problems.push_back("access key '" + std::string(1, key) + "' in \"" + text + "\" and \"" +
                           TextOf(control) + "\"");
      }
    }
    seen.emplace_back(key, TextOf(control));
  }
}

// A run meant for another resolution that silently ran at the usual one would check
// nothing new.
void CheckResolution(HWND window, std::vector<std::string>& problems) {
  const char* expected = std::getenv("REMINDER_TEST_DPI");
  if (!expected) return;
  TWindowDC dc(window);
  const int dpi = GetDeviceCaps(dc.get(), LOGPIXELSY);
  if (dpi != std::atoi(expected)) {
    problems.push_back("runs at " + std::to_string(dpi) + " DPI, not at " + expected);
  }
}

}  // namespace

std::vector<std::string> FrameProblems(HWND window) {
  std::vector<std::string> problems;
  // Only what the window paints by itself counts: a forced redraw would hide a control
  // that paints over its siblings.
  FlushEvents();
  std::vector<HWND> controls;
  EnumChildWindows(window, &Collect, reinterpret_cast<LPARAM>(&controls));
  const TCapture capture(window);
  if (capture.Empty()) return problems;
  for (HWND control : controls) {
    // The up-down control inside a time field belongs to the field's frame.
    if (FramedField(control) && !FramedField(GetParent(control))) {
      CheckFrame(window, capture, controls, control, problems);
    }
  }
  return problems;
}

std::vector<std::string> LayoutProblems(HWND window) {
  std::vector<std::string> problems = FrameProblems(window);
  CheckResolution(window, problems);
  UpdateWindow(window);
  RedrawWindow(window, nullptr, nullptr,
               RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  std::vector<HWND> controls;
  EnumChildWindows(window, &Collect, reinterpret_cast<LPARAM>(&controls));
  for (HWND control : controls) CheckText(control, problems);
  CheckOverlaps(controls, problems);
  CheckAccessKeys(controls, problems);
  CheckBlack(window, problems);
  return problems;
}

std::string Joined(const std::vector<std::string>& problems) {
  std::string text;
  for (const std::string& problem : problems) text += problem + "\n";
  return text;
}

}  // namespace reminder::testing
