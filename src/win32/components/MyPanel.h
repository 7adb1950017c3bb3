// A panel that paints itself opaque in its own colour, also where visual themes would let
// the parent's background show through, with its caption aligned in it. Labels placed on
// it take its colours.
#pragma once

#include <windows.h>

#include <string>

#include "win32/system/Handles.h"
#include "win32/toolkit/Control.h"

namespace reminder {

enum class TPanelAlignment { Left, Right, Center };

class TMyPanel {
 public:
  TMyPanel() = default;
  ~TMyPanel();
  TMyPanel(const TMyPanel&) = delete;
  TMyPanel& operator=(const TMyPanel&) = delete;

  // Creates the panel window; it is destroyed with its parent.
  void Create(HWND parent, int id, const TBounds& bounds);
  HWND Handle() const { return handle_; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  TPanelAlignment Alignment() const { return alignment_; }
  void SetAlignment(TPanelAlignment alignment);
  COLORREF Color() const { return color_; }
  void SetColor(COLORREF color);
  COLORREF FontColor() const { return fontColor_; }
  void SetFontColor(COLORREF color);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();
  void Detach();

  HWND handle_ = nullptr;
  TGdiObject<HBRUSH> brush_;
  std::string caption_;
  TPanelAlignment alignment_ = TPanelAlignment::Center;
  COLORREF color_ = GetSysColor(COLOR_BTNFACE);
  COLORREF fontColor_ = GetSysColor(COLOR_BTNTEXT);
};

}  // namespace reminder
