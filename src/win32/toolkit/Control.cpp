#include "win32/toolkit/Control.h"

#include <stdexcept>

#include "win32/toolkit/Application.h"

namespace reminder {

std::string TControl::Text() const {
  std::string text(GetWindowTextLengthA(handle_) + 1, '\0');
  text.resize(GetWindowTextA(handle_, &text[0], static_cast<int>(text.size())));
  return text;
}

TBounds TControl::Bounds() const {
  RECT rect = {};
  GetWindowRect(handle_, &rect);
  MapWindowPoints(nullptr, GetParent(handle_), reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void TControl::SetBounds(const TBounds& bounds) {
  MoveWindow(handle_, bounds.X, bounds.Y, bounds.Width, bounds.Height, TRUE);
}

void TControl::SetRedraw(bool on) {
  Send(WM_SETREDRAW, on);
  if (on) InvalidateRect(handle_, nullptr, TRUE);
}

TBounds Scaled(const TBounds& bounds) {
  return {Scaled(bounds.X), Scaled(bounds.Y), Scaled(bounds.Width), Scaled(bounds.Height)};
}

void TControl::CreateControl(const char* className, HWND parent, int id, const TBounds& bounds,
                             DWORD style, DWORD exStyle, const std::string& text) {
  // Every layout gives its controls' places at 96 DPI.
  const TBounds place = Scaled(bounds);
  handle_ = CreateWindowExA(exStyle, className, text.c_str(), style | WS_CHILD | WS_VISIBLE,
                            place.X, place.Y, place.Width, place.Height, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            TApplication::Instance(), nullptr);
  if (!handle_) throw std::runtime_error(std::string("Steuerelement nicht erzeugt: ") + className);
  Send(WM_SETFONT, reinterpret_cast<WPARAM>(Application().Font()), FALSE);
}

}  // namespace reminder
