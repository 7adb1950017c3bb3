#include "win32/components/MyPanel.h"

#include <stdexcept>

#include "win32/toolkit/Application.h"

namespace reminder {

namespace {

constexpr char kClassName[] = "ReminderMyPanel";
constexpr int kCaptionMargin = 2;

}  // namespace

TMyPanel::~TMyPanel() {
  if (handle_) {
    SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
    HWND window = handle_;
    Detach();
    DestroyWindow(window);
  }
}

void TMyPanel::Create(HWND parent, int id, const TBounds& bounds) {
  if (handle_) throw std::logic_error("Das Fenster besteht schon.");
  WNDCLASSEXA windowClass = {};
  windowClass.lpfnWndProc = &WindowProc;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kClassName;
  Application().RegisterWindowClass(windowClass);
  const TBounds place = Scaled(bounds);
  CreateWindowExA(WS_EX_CONTROLPARENT, kClassName, caption_.c_str(),
                  WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, place.X, place.Y, place.Width,
                  place.Height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                  TApplication::Instance(), this);
  if (!handle_) throw std::runtime_error("Das Steuerelement konnte nicht erzeugt werden.");
}

void TMyPanel::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TMyPanel::SetAlignment(TPanelAlignment alignment) {
  alignment_ = alignment;
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TMyPanel::SetColor(COLORREF color) {
  color_ = color;
  brush_.reset();
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TMyPanel::SetFontColor(COLORREF color) {
  fontColor_ = color;
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TMyPanel::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(handle_, &paint);
  RECT client = {};
  GetClientRect(handle_, &client);
  InflateRect(&client, -kCaptionMargin, 0);
  {
    const TSelectedObject selected(dc, Application().Font());
    SetTextColor(dc, fontColor_);
    SetBkMode(dc, TRANSPARENT);
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if (alignment_ == TPanelAlignment::Right) format |= DT_RIGHT;
    if (alignment_ == TPanelAlignment::Center) format |= DT_CENTER;
    DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &client, format);
  }
  EndPaint(handle_, &paint);
}

void TMyPanel::Detach() {
  brush_.reset();
  handle_ = nullptr;
}

LRESULT CALLBACK TMyPanel::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  THandlerScope scope;
  if (message == WM_NCCREATE) {
    auto* creating =
        static_cast<TMyPanel*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    creating->handle_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creating));
  }
  auto* panel = reinterpret_cast<TMyPanel*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!panel) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    panel->Detach();
    return DefWindowProcA(window, message, wParam, lParam);
  }
  return panel->Handle(message, wParam, lParam);
}

LRESULT TMyPanel::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      if (!brush_) brush_.reset(CreateSolidBrush(color_));
      RECT client = {};
      GetClientRect(handle_, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, brush_.get());
      return 1;
    }
    case WM_PAINT:
      Paint();
      return 0;
    case WM_CTLCOLORSTATIC: {
      // Labels on the panel in its colours.
      if (!brush_) brush_.reset(CreateSolidBrush(color_));
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, fontColor_);
      SetBkColor(dc, color_);
      return reinterpret_cast<LRESULT>(brush_.get());
    }
    case WM_COMMAND:
    case WM_NOTIFY:
      // The form handles its controls' messages, wherever they are placed.
      return SendMessageA(GetParent(handle_), message, wParam, lParam);
  }
  return DefWindowProcA(handle_, message, wParam, lParam);
}

}  // namespace reminder
