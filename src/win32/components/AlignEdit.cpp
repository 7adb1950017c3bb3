#include "win32/components/AlignEdit.h"

namespace reminder {

void TAlignEdit::Create(HWND parent, int id, const TBounds& bounds, DWORD style, DWORD exStyle) {
  style &= ~static_cast<DWORD>(ES_LEFT | ES_RIGHT | ES_CENTER);
  switch (alignment_) {
    case TAlignment::Left:
      style |= ES_LEFT;
      break;
    case TAlignment::Right:
      style |= ES_RIGHT;
      break;
    case TAlignment::Center:
      style |= ES_CENTER;
      break;
  }
  TEdit::Create(parent, id, bounds, style, exStyle);
}

}  // namespace reminder
