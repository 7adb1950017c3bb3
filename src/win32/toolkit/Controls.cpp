#include "win32/toolkit/Controls.h"

namespace reminder {

void TButton::Create(HWND parent, int id, const std::string& caption, const TBounds& bounds,
                     DWORD style) {
  CreateControl("BUTTON", parent, id, bounds, style, 0, caption);
}

void TLabel::Create(HWND parent, const std::string& text, const TBounds& bounds, DWORD style,
                    int id) {
  CreateControl("STATIC", parent, id, bounds, style, 0, text);
}

void TEdit::Create(HWND parent, int id, const TBounds& bounds, DWORD style, DWORD exStyle) {
  CreateControl("EDIT", parent, id, bounds, style, exStyle);
}

void TComboBox::Create(HWND parent, int id, const TBounds& bounds, DWORD style) {
  CreateControl("COMBOBOX", parent, id, bounds, style);
}

int TComboBox::Add(const std::string& text) {
  return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

std::string TComboBox::ItemText(int index) const {
  const LRESULT length = Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
  if (length == CB_ERR) return "";
  std::string text(static_cast<size_t>(length) + 1, '\0');
  Send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(length));
  return text;
}

void TUpDown::Create(HWND parent, int id, HWND buddy, DWORD style) {
  CreateControl(UPDOWN_CLASSA, parent, id, TBounds{}, style);
  Send(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy));
}

}  // namespace reminder
