// The base of the thin control wrappers: a control window that the wrapper does not own.
// The parent window destroys its controls; a wrapper may be copied and dropped freely.
#pragma once

#include <windows.h>

#include <string>

namespace reminder {

// A place in the parent's client area, in pixels.
struct TBounds {
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
};

// A layout's rectangle at 96 DPI, at the screen's DPI.
TBounds Scaled(const TBounds& bounds);

class TControl {
 public:
  TControl() = default;
  explicit TControl(HWND handle) : handle_(handle) {}

  HWND Handle() const { return handle_; }
  int Id() const { return GetDlgCtrlID(handle_); }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendMessageA(handle_, message, wParam, lParam);
  }

  std::string Text() const;
  void SetText(const std::string& text) { SetWindowTextA(handle_, text.c_str()); }
  bool Enabled() const { return IsWindowEnabled(handle_) != FALSE; }
  void SetEnabled(bool enabled) { EnableWindow(handle_, enabled); }
  bool Visible() const { return IsWindowVisible(handle_) != FALSE; }
  void SetVisible(bool visible) { ShowWindow(handle_, visible ? SW_SHOW : SW_HIDE); }
  TBounds Bounds() const;
  void SetBounds(const TBounds& bounds);
  void SetFocus() { ::SetFocus(handle_); }
  // Off while many changes are made, so that the control paints once at the end.
  void SetRedraw(bool on);

 protected:
  // Creates a visible child control in the application's font; throws when that fails.
  void CreateControl(const char* className, HWND parent, int id, const TBounds& bounds, DWORD style,
                     DWORD exStyle = 0, const std::string& text = "");

  HWND handle_ = nullptr;
};

}  // namespace reminder
