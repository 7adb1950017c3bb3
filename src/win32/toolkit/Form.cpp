#include "win32/toolkit/Form.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <windowsx.h>

#include <stdexcept>

#include "win32/toolkit/Application.h"
#include "win32/toolkit/Menu.h"
#include "win32/toolkit/ToolBar.h"

namespace reminder {

TForm::~TForm() {
  TApplication& app = Application();
  if (handle_) {
    // The derived part is gone already: no handler may run while the window goes.
    SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
    DestroyWindow(handle_);
    handle_ = nullptr;
    if (app.MainForm() == this) app.Terminate();
  }
  app.CancelRelease(this);
  if (app.MainForm() == this) app.SetMainForm(nullptr);
}

void TForm::Create(const TFormParams& params) {
  if (handle_) throw std::logic_error("Das Fenster besteht schon.");
  if (!Application().Initialized()) {
    throw std::logic_error("Das Anwendungsobjekt ist nicht initialisiert.");
  }
  RegisterFormClass(params.ClassName);

  const bool child = (params.Style & WS_CHILD) != 0;
  int x = child ? 0 : CW_USEDEFAULT;
  int y = x;
  int width = x;
  int height = x;
  if (params.ClientWidth > 0 && params.ClientHeight > 0) {
    RECT frame = {0, 0, Scaled(params.ClientWidth), Scaled(params.ClientHeight)};
    AdjustWindowRectEx(&frame, params.Style, !child && params.Menu, params.ExStyle);
    width = frame.right - frame.left;
    height = frame.bottom - frame.top;
  }
  HWND parent = (params.Parent || child) ? params.Parent : Application().TaskBarWindow();
  HMENU menu = child ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(params.ChildId)) : params.Menu;
  // WM_NCCREATE stores the window in handle_.
  CreateWindowExA(params.ExStyle, params.ClassName.c_str(), params.Caption.c_str(), params.Style, x,
                  y, width, height, parent, menu, TApplication::Instance(), this);
  if (!handle_) throw std::runtime_error("Das Fenster konnte nicht erzeugt werden.");
  try {
    OnCreate();
  } catch (...) {
    Destroy();
    throw;
  }
}

TForm* TForm::FromHandle(HWND window) {
  // Only a window with the forms' procedure keeps a form in its user data.
  if (!window ||
      GetWindowLongPtrA(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&WindowProc)) {
    return nullptr;
  }
  return reinterpret_cast<TForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void TForm::RegisterFormClass(const std::string& name) {
  WNDCLASSEXA windowClass = {};
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = &WindowProc;
  windowClass.hIcon = LoadIconA(TApplication::Instance(), "MAINICON");
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = name.c_str();
  Application().RegisterWindowClass(windowClass);
}

void TForm::Show() {
  if (handle_) ShowWindow(handle_, SW_SHOW);
}

void TForm::Hide() {
  if (handle_) ShowWindow(handle_, SW_HIDE);
}

bool TForm::Visible() const {
  return handle_ && IsWindowVisible(handle_);
}

void TForm::Close() {
  if (!handle_ || !OnClose()) return;
  if (modal_) {
    if (modalResult_ == 0) modalResult_ = IDCANCEL;
  } else if (closeAction_ == TCloseAction::Free) {
    Release();
  } else {
    Hide();
  }
}

void TForm::Destroy() {
  if (handle_) DestroyWindow(handle_);
}

void TForm::Release() {
  Application().ReleaseLater(this);
}

int TForm::ShowModal() {
  if (!handle_ || modal_) throw std::logic_error("Das Fenster kann nicht modal gezeigt werden.");
  HWND owner = GetWindow(handle_, GW_OWNER);
  const bool disableOwner = owner && IsWindowEnabled(owner);
  if (disableOwner) EnableWindow(owner, FALSE);
  modal_ = true;
  modalResult_ = 0;
  Show();
  Application().RunModalLoop([this] { return modalResult_ != 0 || !handle_; });
  modal_ = false;
  // The owner is enabled before the form hides, so that it gets the activation back.
  if (disableOwner && IsWindow(owner)) EnableWindow(owner, TRUE);
  Hide();
  if (modalResult_ == 0) modalResult_ = IDCANCEL;
  return modalResult_;
}

std::string TForm::Caption() const {
  std::string text(GetWindowTextLengthA(handle_) + 1, '\0');
  text.resize(GetWindowTextA(handle_, &text[0], static_cast<int>(text.size())));
  return text;
}

void TForm::SetCaption(const std::string& caption) {
  SetWindowTextA(handle_, caption.c_str());
}

void TForm::SetClientSize(int width, int height) {
  const DWORD style = static_cast<DWORD>(GetWindowLongA(handle_, GWL_STYLE));
  RECT frame = {0, 0, width, height};
  AdjustWindowRectEx(&frame, style, !(style & WS_CHILD) && GetMenu(handle_),
                     static_cast<DWORD>(GetWindowLongA(handle_, GWL_EXSTYLE)));
  SetWindowPos(handle_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE TForm::ClientSize() const {
  RECT client = {};
  GetClientRect(handle_, &client);
  return {client.right, client.bottom};
}

void TForm::CenterOnScreen() {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(handle_, MONITOR_DEFAULTTOPRIMARY), &monitor);
  RECT window = {};
  GetWindowRect(handle_, &window);
  const RECT& area = monitor.rcWork;
  const int x = area.left + (area.right - area.left - (window.right - window.left)) / 2;
  const int y = area.top + (area.bottom - area.top - (window.bottom - window.top)) / 2;
  SetWindowPos(handle_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int TForm::AddFrame(const TBounds& bounds) {
  const TBounds place = Scaled(bounds);
  frames_.push_back({{place.X, place.Y, place.X + place.Width, place.Y + place.Height}, true});
  return static_cast<int>(frames_.size()) - 1;
}

void TForm::ShowFrame(int frame, bool shown) {
  TFrame& changed = frames_.at(static_cast<size_t>(frame));
  if (changed.Shown == shown) return;
  changed.Shown = shown;
  if (handle_) InvalidateRect(handle_, &changed.Place, TRUE);
}

void TForm::SetBackground(int systemColor) {
  background_ = systemColor;
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TForm::SetTimer(UINT_PTR id, UINT milliseconds) {
  if (!::SetTimer(handle_, id, milliseconds, nullptr)) {
    throw std::runtime_error("Der Zeitgeber konnte nicht gestartet werden.");
  }
}

void TForm::KillTimer(UINT_PTR id) {
  ::KillTimer(handle_, id);
}

void TForm::SetActiveControl(HWND control) {
  activeControl_ = control;
  if (handle_ && GetActiveWindow() == handle_) ::SetFocus(control);
}

void TForm::SetAccelerators(HACCEL accelerators) {
  accelerators_.reset(accelerators);
}

bool TForm::OnPage(HWND control) const {
  if (!pageBrush_ || !control) return false;
  RECT place = {};
  GetWindowRect(control, &place);
  MapWindowPoints(nullptr, handle_, reinterpret_cast<POINT*>(&place), 2);
  RECT inside = {};
  return IntersectRect(&inside, &place, &pageArea_) && EqualRect(&inside, &place);
}

namespace {

// Leaves the visible controls on the pages out of what the tab control paints: it lies on
// top of them, and its background would cover their frames, or whole fields, whenever it
// repaints without them.
void ExcludePageControls(HWND tabControl, HDC dc) {
  for (HWND sibling = GetWindow(tabControl, GW_HWNDNEXT); sibling;
       sibling = GetWindow(sibling, GW_HWNDNEXT)) {
    if (!IsWindowVisible(sibling)) continue;
    RECT place = {};
    GetWindowRect(sibling, &place);
    MapWindowPoints(nullptr, tabControl, reinterpret_cast<POINT*>(&place), 2);
    ExcludeClipRect(dc, place.left, place.top, place.right, place.bottom);
  }
}

// The pages' controls lie over the tab control. It comes first in the tab order, so it is
// first among its siblings, paints around the controls below it and lets the mouse through
// to them except over its tabs.
LRESULT CALLBACK PageTabsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                              DWORD_PTR) {
  THandlerScope scope;
  if (message == WM_PAINT && !wParam) {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    ExcludePageControls(window, dc);
    DefSubclassProc(window, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    EndPaint(window, &paint);
    return 0;
  }
  if (message == WM_ERASEBKGND || message == WM_PAINT) {
    ExcludePageControls(window, reinterpret_cast<HDC>(wParam));
  } else if (message == WM_NCHITTEST) {
    TCHITTESTINFO hit = {{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, 0};
    ScreenToClient(window, &hit.pt);
    if (SendMessageA(window, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) < 0) {
      return HTTRANSPARENT;
    }
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, &PageTabsProc, id);
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

void TForm::SetPageTabs(HWND tabControl) {
  pageTabs_ = tabControl;
  SetWindowSubclass(tabControl, &PageTabsProc, 0, 0);
  SetWindowPos(tabControl, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  RECT area = {};
  GetClientRect(tabControl, &area);
  SendMessageA(tabControl, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  if (area.right - area.left < 8 || area.bottom - area.top < 8) return;
  // A tab control with a visual style paints its pages in the window colour, one without
  // in the colour of 3D faces.
  const int colour = GetWindowTheme(tabControl) ? COLOR_WINDOW : COLOR_BTNFACE;
  pageColor_ = GetSysColor(colour);
  pageBrush_ = GetSysColorBrush(colour);
  MapWindowPoints(tabControl, handle_, reinterpret_cast<POINT*>(&area), 2);
  pageArea_ = area;
}

bool TForm::SwitchPage(const MSG& message) {
  if (!pageTabs_ || message.message != WM_KEYDOWN || message.wParam != VK_TAB ||
      GetKeyState(VK_CONTROL) >= 0 || !IsChild(handle_, message.hwnd)) {
    return false;
  }
  const int count = static_cast<int>(SendMessageA(pageTabs_, TCM_GETITEMCOUNT, 0, 0));
  if (count < 2) return false;
  const int step = GetKeyState(VK_SHIFT) < 0 ? count - 1 : 1;
  const int current = static_cast<int>(SendMessageA(pageTabs_, TCM_GETCURSEL, 0, 0));
  SendMessageA(pageTabs_, TCM_SETCURSEL, static_cast<WPARAM>((current + step) % count), 0);
  NMHDR changed = {pageTabs_, static_cast<UINT_PTR>(GetDlgCtrlID(pageTabs_)),
                   static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageA(handle_, WM_NOTIFY, changed.idFrom, reinterpret_cast<LPARAM>(&changed));
  // The focus stays on the tabs, else it goes to the new page's first control: the one
  // that had it may be hidden with its page.
  if (GetFocus() != pageTabs_) {
    const HWND first = GetNextDlgTabItem(handle_, pageTabs_, FALSE);
    ::SetFocus(first && first != pageTabs_ ? first : pageTabs_);
  }
  return true;
}

bool TForm::PreTranslateMessage(MSG& message) {
  if (SwitchPage(message)) return true;
  if (accelerators_ && TranslateAcceleratorA(handle_, accelerators_.get(), &message)) return true;
  return dialogKeys_ && IsDialogMessageA(handle_, &message);
}

LRESULT CALLBACK TForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  THandlerScope scope;
  if (message == WM_NCCREATE) {
    auto* creating = static_cast<TForm*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    creating->handle_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creating));
  }
  auto* form = reinterpret_cast<TForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!form) return DefWindowProcA(window, message, wParam, lParam);
  const LRESULT result = form->Dispatch(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) form->Detach();
  return result;
}

LRESULT TForm::Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // A handler may destroy the window (and so clear handle_): only window is used after it.
  try {
    LRESULT result = 0;
    if (Route(message, wParam, lParam, result)) return result;
  } catch (...) {
    Application().ShowCurrentException();
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool TForm::Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (HandleMessage(message, wParam, lParam, result)) return true;
  result = 0;
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return true;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (!TToolBar::SupplyInfoTip(header)) result = OnNotify(header);
      return true;
    }
    case WM_TIMER:
      OnTimer(wParam);
      return true;
    case WM_SHOWWINDOW:
      // lParam 0: shown by a call, not because the owner was restored.
      if (wParam && lParam == 0) OnShow();
      return false;
    case WM_CLOSE:
      Close();
      return true;
    case WM_DESTROY:
      OnDestroy();
      return true;
    case WM_SIZE:
      OnSize(LOWORD(lParam), HIWORD(lParam));
      return false;
    case WM_KEYDOWN:
      return OnKeyDown(static_cast<int>(wParam));
    case WM_ACTIVATE:
      // Handled when activated, or the default would give the focus to the form itself.
      return OnActivate(LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam));
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      return HandleMenuImageMessage(message, wParam, lParam, result);
    case WM_GETMINMAXINFO:
      if (minTrackSize_.cx > 0 || minTrackSize_.cy > 0) {
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {Scaled(minTrackSize_.cx),
                                                                 Scaled(minTrackSize_.cy)};
      }
      return true;
    case WM_ERASEBKGND: {
      const HDC dc = reinterpret_cast<HDC>(wParam);
      RECT client = {};
      GetClientRect(handle_, &client);
      FillRect(dc, &client, GetSysColorBrush(background_));
      for (TFrame& frame : frames_) {
        if (frame.Shown) DrawEdge(dc, &frame.Place, EDGE_ETCHED, BF_RECT);
      }
      result = 1;
      return true;
    }
    case WM_CTLCOLORSTATIC:
      if (OnPage(reinterpret_cast<HWND>(lParam))) {
        SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(reinterpret_cast<HDC>(wParam), pageColor_);
        result = reinterpret_cast<LRESULT>(pageBrush_);
        return true;
      }
      // Labels, check boxes and read-only edits on the form's background.
      SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(background_));
      result = reinterpret_cast<LRESULT>(GetSysColorBrush(background_));
      return true;
    case WM_NEXTDLGCTL: {
      // The dialog manager's keys (Tab, access keys) send this; a plain window must move
      // the focus itself.
      HWND target = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                   : GetNextDlgTabItem(handle_, GetFocus(), wParam != 0);
      if (target) ::SetFocus(target);
      return true;
    }
    case DM_GETDEFID:
      // IsDialogMessage asks for the button that Enter presses.
      if (defaultButton_ == 0) return false;
      result = MAKELRESULT(defaultButton_, DC_HASDEFID);
      return true;
  }
  return false;
}

bool TForm::OnActivate(bool active) {
  if (!active) {
    HWND focus = GetFocus();
    if (focus && IsChild(handle_, focus)) activeControl_ = focus;
    return false;
  }
  HWND target = activeControl_ && IsChild(handle_, activeControl_)
                    ? activeControl_
                    : GetNextDlgTabItem(handle_, nullptr, FALSE);
  ::SetFocus(target ? target : handle_);
  return true;
}

void TForm::Detach() {
  SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
  handle_ = nullptr;
  TApplication& app = Application();
  if (closeAction_ == TCloseAction::Free) app.ReleaseLater(this);
  if (app.MainForm() == this) app.Terminate();
}

}  // namespace reminder
