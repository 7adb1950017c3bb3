// An edit whose text alignment (left, right or centred) is chosen before its window is
// created: the edit control takes the alignment only as a style at creation.
#pragma once

#include <windows.h>

#include "win32/toolkit/Controls.h"

namespace reminder {

enum class TAlignment { Left, Right, Center };

class TAlignEdit : public TEdit {
 public:
  using TEdit::TEdit;
  TAlignment Alignment() const { return alignment_; }
  // Takes effect with the next Create.
  void SetAlignment(TAlignment alignment) { alignment_ = alignment; }
  void Create(HWND parent, int id, const TBounds& bounds, DWORD style = ES_AUTOHSCROLL | WS_TABSTOP,
              DWORD exStyle = WS_EX_CLIENTEDGE);

 private:
  TAlignment alignment_ = TAlignment::Left;
};

}  // namespace reminder
