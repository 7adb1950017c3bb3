// A label that behaves as a link: it highlights while the pointer rests on it, plays the
// "CCSelect" sound, shows the hand cursor while it has a Url, and on a click opens its Url
// through the shell before it raises its click event.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "win32/system/Handles.h"
#include "win32/toolkit/Control.h"

namespace reminder {

using TFontStyles = uint8_t;
constexpr TFontStyles fsBold = 1 << 0;
constexpr TFontStyles fsItalic = 1 << 1;
constexpr TFontStyles fsUnderline = 1 << 2;
constexpr TFontStyles fsStrikeOut = 1 << 3;

class THTTPLabel {
 public:
  using TEvent = std::function<void()>;
  // Opens a Url for the label's form window.
  using TUrlOpener = std::function<void(HWND owner, const std::string& url)>;
  using TSoundPlayer = std::function<void(const char* alias)>;

  THTTPLabel();
  ~THTTPLabel();
  THTTPLabel(const THTTPLabel&) = delete;
  THTTPLabel& operator=(const THTTPLabel&) = delete;

  // Creates the label window; it is destroyed with its parent. With WS_TABSTOP in style
  // the keyboard reaches it: Enter or Space then clicks it.
  void Create(HWND parent, int id, const std::string& caption, const TBounds& bounds,
              DWORD style = 0);
  HWND Handle() const { return handle_; }

  std::string Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  intptr_t Tag() const { return tag_; }
  void SetTag(intptr_t tag) { tag_ = tag; }

  const std::string& Url() const { return url_; }
  void SetUrl(const std::string& url);
  bool HighLightOnBlankURL() const { return highLightOnBlankUrl_; }
  void SetHighLightOnBlankURL(bool on) { highLightOnBlankUrl_ = on; }
  bool ShowUrlAsHint() const { return showUrlAsHint_; }
  void SetShowUrlAsHint(bool on);
  bool PlaySoundOnFocus() const { return playSoundOnFocus_; }
  void SetPlaySoundOnFocus(bool on) { playSoundOnFocus_ = on; }
  // Off: a click only raises OnClick, for an owner that carries the Url out itself.
  bool OpenUrlOnClick() const { return openUrlOnClick_; }
  void SetOpenUrlOnClick(bool on) { openUrlOnClick_ = on; }

  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool on);

  COLORREF BGColorNormal() const { return bgColorNormal_; }
  void SetBGColorNormal(COLORREF color) { SetLook(bgColorNormal_, color); }
  COLORREF BGColorHighlight() const { return bgColorHighlight_; }
  void SetBGColorHighlight(COLORREF color) { SetLook(bgColorHighlight_, color); }
  COLORREF FontColorNormal() const { return fontColorNormal_; }
  void SetFontColorNormal(COLORREF color) { SetLook(fontColorNormal_, color); }
  COLORREF FontColHighlightFocused() const { return fontColHighlightFocused_; }
  void SetFontColHighlightFocused(COLORREF color) { SetLook(fontColHighlightFocused_, color); }
  COLORREF FontColHighlightNoneFocused() const { return fontColHighlightNoneFocused_; }
  void SetFontColHighlightNoneFocused(COLORREF c) { SetLook(fontColHighlightNoneFocused_, c); }
  TFontStyles FontStyleNormal() const { return fontStyleNormal_; }
  void SetFontStyleNormal(TFontStyles style) { SetLook(fontStyleNormal_, style); }
  TFontStyles FontStyleHighlightFocused() const { return fontStyleHighlightFocused_; }
  void SetFontStyleHighlightFocused(TFontStyles s) { SetLook(fontStyleHighlightFocused_, s); }
  TFontStyles FontStyleHighlightNoneFocused() const { return fontStyleHighlightNoneFocused_; }
  void SetFontStyleHighlightNoneFocused(TFontStyles s) {
    SetLook(fontStyleHighlightNoneFocused_, s);
  }
  // The font the styles are applied to; the caller keeps it alive.
  void SetFont(HFONT font);

  // The look and cursor of the moment.
  bool Hovered() const { return hovered_; }
  COLORREF FontColor() const { return fontColor_; }
  COLORREF BackgroundColor() const { return bgColor_; }
  TFontStyles FontStyle() const { return fontStyle_; }
  HCURSOR Cursor() const { return cursor_; }
  HCURSOR HandCursor() const { return handCursor_; }

  TEvent OnClick;
  TEvent OnGetFocus;
  TEvent OnLooseFocus;
  TEvent OnGetFocusWindowActive;
  TEvent OnLooseFocusWindowActive;
  TEvent OnGetFocusWindowInActive;
  TEvent OnLooseFocusWindowInActive;
  // The shell's "open" and the system sound by default; tests put recorders here.
  TUrlOpener UrlOpener;
  TSoundPlayer SoundPlayer;

  // What the pointer and the mouse button do; the window procedure calls them.
  void MouseEnter();
  void MouseLeave();
  void Click();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  template <class T>
  void SetLook(T& field, T value) {
    if (field == value) return;
    field = value;
    ApplyLook();
  }
  void ApplyLook();
  void SetCurrentLook(COLORREF font, TFontStyles style, COLORREF background);
  bool FormActive() const;
  void UpdateToolTip();
  void Paint();
  void Redraw();
  void Detach();

  HWND handle_ = nullptr;
  HWND toolTip_ = nullptr;
  HFONT baseFont_ = nullptr;
  TGdiObject<HFONT> styledFont_;
  TFontStyles styledFontStyle_ = 0;
  HCURSOR handCursor_ = nullptr;
  HCURSOR cursor_ = nullptr;
  std::string caption_;
  intptr_t tag_ = 0;
  std::string url_;
  std::string hint_;
  bool showHint_ = false;
  bool highLightOnBlankUrl_ = false;
  bool showUrlAsHint_ = false;
  bool playSoundOnFocus_ = true;
  bool openUrlOnClick_ = true;
  bool hovered_ = false;
  bool hoverActive_ = false;  // the form was active when the pointer came
  bool pressed_ = false;
  COLORREF bgColorNormal_;
  COLORREF bgColorHighlight_;
  COLORREF fontColorNormal_;
  COLORREF fontColHighlightFocused_;
  COLORREF fontColHighlightNoneFocused_;
  TFontStyles fontStyleNormal_ = 0;
  TFontStyles fontStyleHighlightFocused_ = fsBold | fsUnderline;
  TFontStyles fontStyleHighlightNoneFocused_ = fsUnderline;
  COLORREF fontColor_;
  COLORREF bgColor_;
  TFontStyles fontStyle_ = 0;
};

}  // namespace reminder
