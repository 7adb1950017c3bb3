#include "win32/toolkit/ToolBar.h"

namespace reminder {

namespace {

constexpr DWORD_PTR kNoHint = static_cast<DWORD_PTR>(-1);

}  // namespace

void TToolBar::Create(HWND parent, int id, DWORD style) {
  CreateControl(TOOLBARCLASSNAMEA, parent, id, TBounds{}, style);
  Send(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
}

void TToolBar::AddButton(int id, int image, const std::string& hint) {
  TBBUTTON button = {};
  button.iBitmap = image;
  button.idCommand = id;
  button.fsState = TBSTATE_ENABLED;
  button.fsStyle = BTNS_BUTTON;
  button.iString = -1;  // no text on the button: the hint is only the tool tip
  button.dwData = kNoHint;
  if (!hint.empty()) {
    // The pool takes a list of texts ended by an empty one; c_str() adds the second zero.
    const std::string list = hint + '\0';
    button.dwData =
        static_cast<DWORD_PTR>(Send(TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(list.c_str())));
  }
  Send(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
}

void TToolBar::AddSeparator() {
  TBBUTTON button = {};
  button.fsStyle = BTNS_SEP;
  button.iString = -1;
  Send(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
}

bool TToolBar::SupplyInfoTip(NMHDR* header) {
  if (header->code != TBN_GETINFOTIPA) return false;
  auto* request = reinterpret_cast<NMTBGETINFOTIPA*>(header);
  // lParam is the button's data: the index of its hint in the string pool.
  if (static_cast<DWORD_PTR>(request->lParam) == kNoHint || !request->pszText ||
      request->cchTextMax <= 0) {
    return true;
  }
  SendMessageA(header->hwndFrom, TB_GETSTRINGA,
               MAKEWPARAM(request->cchTextMax, static_cast<WORD>(request->lParam)),
               reinterpret_cast<LPARAM>(request->pszText));
  return true;
}

}  // namespace reminder
