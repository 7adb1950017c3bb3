#include "win32/components/HTTPLabel.h"

#include <commctrl.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <algorithm>
#include <stdexcept>

#include "win32/toolkit/Application.h"

namespace reminder {

namespace {

constexpr char kClassName[] = "ReminderHTTPLabel";
constexpr char kHandCursor[] = "HAND";
constexpr char kHoverSound[] = "CCSelect";

void ShellOpenUrl(HWND owner, const std::string& url) {
  ShellExecuteA(owner, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void PlaySystemSound(const char* alias) {
  PlaySoundA(alias, nullptr, SND_ALIAS | SND_ASYNC | SND_NODEFAULT);
}

}  // namespace

THTTPLabel::THTTPLabel()
    : UrlOpener(&ShellOpenUrl),
      SoundPlayer(&PlaySystemSound),
      bgColorNormal_(GetSysColor(COLOR_DESKTOP)),
      bgColorHighlight_(GetSysColor(COLOR_HIGHLIGHT)),
      fontColorNormal_(GetSysColor(COLOR_CAPTIONTEXT)),
      fontColHighlightFocused_(GetSysColor(COLOR_HIGHLIGHTTEXT)),
      fontColHighlightNoneFocused_(GetSysColor(COLOR_HIGHLIGHT)),
      fontColor_(fontColorNormal_),
      bgColor_(bgColorNormal_) {}

THTTPLabel::~THTTPLabel() {
  if (handle_) {
    SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
    HWND window = handle_;
    Detach();
    DestroyWindow(window);
  }
}

void THTTPLabel::Create(HWND parent, int id, const std::string& caption, const TBounds& bounds,
                        DWORD style) {
  if (handle_) throw std::logic_error("Das Fenster besteht schon.");
  WNDCLASSEXA windowClass = {};
  windowClass.lpfnWndProc = &WindowProc;
  windowClass.hCursor = nullptr;  // WM_SETCURSOR chooses
  windowClass.lpszClassName = kClassName;
  Application().RegisterWindowClass(windowClass);

  caption_ = caption;
  handCursor_ = LoadCursorA(TApplication::Instance(), kHandCursor);
  cursor_ = LoadCursorA(nullptr, IDC_ARROW);
  const TBounds place = Scaled(bounds);
  CreateWindowExA(0, kClassName, caption.c_str(), WS_CHILD | WS_VISIBLE | style, place.X, place.Y,
                  place.Width, place.Height, parent,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), TApplication::Instance(),
                  this);
  if (!handle_) throw std::runtime_error("Das Steuerelement konnte nicht erzeugt werden.");
  baseFont_ = Application().Font();

  toolTip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, handle_, nullptr,
                             TApplication::Instance(), nullptr);
  if (toolTip_) {
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = parent;
    tool.uId = reinterpret_cast<UINT_PTR>(handle_);
    tool.lpszText = const_cast<char*>("");
    SendMessageA(toolTip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(toolTip_, TTM_ACTIVATE, FALSE, 0);
  }
  ApplyLook();
}

void THTTPLabel::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (handle_) SetWindowTextA(handle_, caption.c_str());
  Redraw();
}

void THTTPLabel::SetUrl(const std::string& url) {
  if (url == url_) return;
  url_ = url;
  cursor_ = !url_.empty() && handCursor_ ? handCursor_ : LoadCursorA(nullptr, IDC_ARROW);
  if (showUrlAsHint_) SetHint(url_);
  Redraw();
}

void THTTPLabel::SetShowUrlAsHint(bool on) {
  if (on == showUrlAsHint_) return;
  showUrlAsHint_ = on;
  if (on) SetHint(url_);
  SetShowHint(on);
}

void THTTPLabel::SetHint(const std::string& hint) {
  hint_ = hint;
  UpdateToolTip();
}

void THTTPLabel::SetShowHint(bool on) {
  showHint_ = on;
  UpdateToolTip();
}

void THTTPLabel::SetFont(HFONT font) {
  baseFont_ = font;
  styledFont_.reset();
  ApplyLook();
}

void THTTPLabel::UpdateToolTip() {
  if (!toolTip_) return;
  TOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.hwnd = GetParent(handle_);
  tool.uId = reinterpret_cast<UINT_PTR>(handle_);
  tool.lpszText = const_cast<char*>(hint_.c_str());
  SendMessageA(toolTip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageA(toolTip_, TTM_ACTIVATE, showHint_ && !hint_.empty(), 0);
}

bool THTTPLabel::FormActive() const {
  return handle_ && GetActiveWindow() == GetAncestor(handle_, GA_ROOT);
}

void THTTPLabel::MouseEnter() {
  hovered_ = true;
  hoverActive_ = FormActive();
  const bool highlights = !url_.empty() || highLightOnBlankUrl_;
  if (hoverActive_) {
    if (playSoundOnFocus_ && SoundPlayer) SoundPlayer(kHoverSound);
    if (highlights) {
      SetCurrentLook(fontColHighlightFocused_, fontStyleHighlightFocused_, bgColorHighlight_);
    }
    if (OnGetFocusWindowActive) OnGetFocusWindowActive();
  } else {
    if (highlights) {
      SetCurrentLook(fontColHighlightNoneFocused_, fontStyleHighlightNoneFocused_, bgColor_);
    }
    if (OnGetFocusWindowInActive) OnGetFocusWindowInActive();
  }
  if (OnGetFocus) OnGetFocus();
}

void THTTPLabel::MouseLeave() {
  hovered_ = false;
  SetCurrentLook(fontColorNormal_, fontStyleNormal_, bgColorNormal_);
  if (FormActive()) {
    if (OnLooseFocusWindowActive) OnLooseFocusWindowActive();
  } else if (OnLooseFocusWindowInActive) {
    OnLooseFocusWindowInActive();
  }
  if (OnLooseFocus) OnLooseFocus();
}

void THTTPLabel::Click() {
  if (openUrlOnClick_ && !url_.empty() && UrlOpener) {
    UrlOpener(handle_ ? GetAncestor(handle_, GA_ROOT) : nullptr, url_);
  }
  if (OnClick) OnClick();
}

void THTTPLabel::ApplyLook() {
  const bool highlights = !url_.empty() || highLightOnBlankUrl_;
  if (!hovered_ || !highlights) {
    SetCurrentLook(fontColorNormal_, fontStyleNormal_, bgColorNormal_);
  } else if (hoverActive_) {
    SetCurrentLook(fontColHighlightFocused_, fontStyleHighlightFocused_, bgColorHighlight_);
  } else {
    SetCurrentLook(fontColHighlightNoneFocused_, fontStyleHighlightNoneFocused_, bgColorNormal_);
  }
}

void THTTPLabel::SetCurrentLook(COLORREF font, TFontStyles style, COLORREF background) {
  fontColor_ = font;
  fontStyle_ = style;
  bgColor_ = background;
  Redraw();
}

void THTTPLabel::Redraw() {
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void THTTPLabel::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(handle_, &paint);
  RECT client = {};
  GetClientRect(handle_, &client);
  FillRect(dc, &client, TGdiObject<HBRUSH>(CreateSolidBrush(bgColor_)).get());

  if (!styledFont_ || styledFontStyle_ != fontStyle_) {
    styledFont_.reset();
    LOGFONTA font = {};
    GetObjectA(baseFont_ ? baseFont_ : GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    font.lfWeight = (fontStyle_ & fsBold) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (fontStyle_ & fsItalic) != 0;
    font.lfUnderline = (fontStyle_ & fsUnderline) != 0;
    font.lfStrikeOut = (fontStyle_ & fsStrikeOut) != 0;
    styledFont_.reset(CreateFontIndirectA(&font));
    styledFontStyle_ = fontStyle_;
  }
  {
    const TSelectedObject selected(dc, styledFont_.get());
    SetTextColor(dc, fontColor_);
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &client,
              DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    if (GetFocus() == handle_) {
      RECT text = client;
      DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text,
                DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
      text.right = std::min(text.right + 2, client.right);
      DrawFocusRect(dc, &text);
    }
  }
  EndPaint(handle_, &paint);
}

void THTTPLabel::Detach() {
  styledFont_.reset();
  if (toolTip_) DestroyWindow(toolTip_);
  toolTip_ = nullptr;
  handle_ = nullptr;
}

LRESULT CALLBACK THTTPLabel::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  THandlerScope scope;
  if (message == WM_NCCREATE) {
    auto* creating =
        static_cast<THTTPLabel*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    creating->handle_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creating));
  }
  auto* label = reinterpret_cast<THTTPLabel*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!label) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    label->Detach();
    return DefWindowProcA(window, message, wParam, lParam);
  }
  try {
    return label->Handle(message, wParam, lParam);
  } catch (...) {
    Application().ShowCurrentException();
    return 0;
  }
}

LRESULT THTTPLabel::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        SetCursor(cursor_);
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE:
      if (!hovered_) {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = handle_;
        TrackMouseEvent(&track);
        MouseEnter();
      }
      return 0;
    case WM_MOUSELEAVE:
      if (hovered_) MouseLeave();
      return 0;
    case WM_LBUTTONDOWN:
      pressed_ = true;
      SetCapture(handle_);
      return 0;
    case WM_LBUTTONUP: {
      const bool wasPressed = pressed_;
      pressed_ = false;
      if (GetCapture() == handle_) ReleaseCapture();
      RECT client = {};
      GetClientRect(handle_, &client);
      const POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (wasPressed && PtInRect(&client, at)) Click();
      return 0;
    }
    case WM_GETDLGCODE: {
      // Enter runs the link, not the dialog's default button.
      const auto* key = reinterpret_cast<const MSG*>(lParam);
      if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) return DLGC_WANTMESSAGE;
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == VK_RETURN || wParam == VK_SPACE) {
        Click();
        return 0;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Redraw();
      break;
    case WM_SETTEXT:
      caption_ = reinterpret_cast<const char*>(lParam) ? reinterpret_cast<const char*>(lParam) : "";
      Redraw();
      break;
  }
  return DefWindowProcA(handle_, message, wParam, lParam);
}

}  // namespace reminder
