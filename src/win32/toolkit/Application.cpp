#include "win32/toolkit/Application.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "win32/toolkit/Form.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace reminder {

namespace {

const char kUtilityClass[] = "ReminderUtility";
const char kTaskBarClass[] = "ReminderTaskBar";
constexpr UINT kReleaseMessage = WM_APP + 1;
constexpr UINT kActivateMainMessage = WM_APP + 2;

// Counts the module's loops on the stack, also when one is left by an exception.
class TLoopScope {
 public:
  explicit TLoopScope(int& count) : count_(count) { ++count_; }
  ~TLoopScope() { --count_; }
  TLoopScope(const TLoopScope&) = delete;
  TLoopScope& operator=(const TLoopScope&) = delete;

 private:
  int& count_;
};

bool OwnedBy(HWND window, HWND owner) {
  for (; window; window = GetWindow(window, GW_OWNER)) {
    if (window == owner) return true;
  }
  return false;
}

bool IsDialogBox(HWND window) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  return lstrcmpA(name, "#32770") == 0;
}

// Cancels a modal form or a message box (a system dialog) that the owner given owns.
BOOL CALLBACK EndOwnedLoop(HWND window, LPARAM ownerParam) {
  const HWND owner = reinterpret_cast<HWND>(ownerParam);
  if (window == owner || !OwnedBy(window, owner)) return TRUE;
  if (TForm* form = TForm::FromHandle(window)) {
    if (form->Modal()) {
      form->SetModalResult(IDCANCEL);
      // The modal loop looks at the result after each message.
      PostMessageA(window, WM_NULL, 0, 0);
    }
  } else if (IsDialogBox(window)) {
    EndDialog(window, IDCANCEL);
  }
  return TRUE;
}

HFONT CreateMessageFont() {
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    return nullptr;
  }
  return CreateFontIndirectA(&metrics.lfMessageFont);
}

}  // namespace

THandlerScope::THandlerScope() {
  ++Application().handlers_;
}

THandlerScope::~THandlerScope() {
  Application().LeaveHandler();
}

void TApplication::LeaveHandler() {
  if (--handlers_ > 0 || !releaseDeferred_) return;
  releaseDeferred_ = false;
  PostMessageA(utilityWindow_, kReleaseMessage, 0, 0);
}

TApplication::~TApplication() {
  Finalize();
}

void TApplication::Initialize(TAppMode mode) {
  if (Initialized()) return;
  INITCOMMONCONTROLSEX controls = {sizeof controls,
                                   ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_COOL_CLASSES};
  InitCommonControlsEx(&controls);

  dpi_ = GetDeviceCaps(TWindowDC(nullptr).get(), LOGPIXELSY);
  if (dpi_ <= 0) dpi_ = kLayoutDpi;
  ownFont_.reset(CreateMessageFont());
  font_ = ownFont_ ? ownFont_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));

  WNDCLASSEXA utility = {};
  utility.lpfnWndProc = &UtilityProc;
  utility.lpszClassName = kUtilityClass;
  RegisterWindowClass(utility);
  utilityWindow_ = CreateWindowExA(0, kUtilityClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   Instance(), nullptr);
  if (!utilityWindow_) throw std::runtime_error("Das Anwendungsfenster fehlt.");

  if (mode == TAppMode::Standalone) {
    WNDCLASSEXA taskBar = {};
    taskBar.lpfnWndProc = &TaskBarProc;
    taskBar.hIcon = LoadIconA(Instance(), "MAINICON");
    taskBar.lpszClassName = kTaskBarClass;
    RegisterWindowClass(taskBar);
    // Zero-sized in the middle of the screen: only its task-bar button is ever seen.
    taskBarWindow_ = CreateWindowExA(
        0, kTaskBarClass, title_.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
        GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
        nullptr, Instance(), nullptr);
  }
  hook_ = SetWindowsHookExA(WH_GETMESSAGE, &GetMessageHook, nullptr, GetCurrentThreadId());
}

void TApplication::Finalize() {
  if (hook_) UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
  // Destroying the task-bar window destroys the forms it owns as well.
  if (taskBarWindow_) DestroyWindow(taskBarWindow_);
  taskBarWindow_ = nullptr;
  ReleasePending();
  if (utilityWindow_) DestroyWindow(utilityWindow_);
  utilityWindow_ = nullptr;
  ownFont_.reset();
  font_ = nullptr;
  for (const std::string& name : classes_) UnregisterClassA(name.c_str(), Instance());
  classes_.clear();
  mainForm_ = nullptr;
}

HINSTANCE TApplication::Instance() {
  return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

void TApplication::RegisterWindowClass(WNDCLASSEXA windowClass) {
  windowClass.cbSize = sizeof windowClass;
  windowClass.hInstance = Instance();
  WNDCLASSEXA existing = {};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(windowClass.hInstance, windowClass.lpszClassName, &existing)) {
    if (existing.lpfnWndProc == windowClass.lpfnWndProc) return;
    UnregisterClassA(windowClass.lpszClassName, windowClass.hInstance);
  }
  if (!RegisterClassExA(&windowClass)) {
    throw std::runtime_error(std::string("Fensterklasse nicht registriert: ") +
                             windowClass.lpszClassName);
  }
  classes_.push_back(windowClass.lpszClassName);
}

void TApplication::ShowTaskBarWindow() {
  if (taskBarWindow_) ShowWindow(taskBarWindow_, SW_SHOWNOACTIVATE);
}

void TApplication::HideTaskBarWindow() {
  if (taskBarWindow_) ShowWindow(taskBarWindow_, SW_HIDE);
}

void TApplication::SetTitle(const std::string& title) {
  title_ = title;
  if (taskBarWindow_) SetWindowTextA(taskBarWindow_, title_.c_str());
}

void TApplication::Run() {
  terminated_ = false;
  if (mainForm_ && showMainForm_) mainForm_->Show();
  TLoopScope own(ownLoops_);
  TLoopScope run(runLoops_);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) Deliver(message);
  terminated_ = true;
}

void TApplication::ProcessMessages() {
  TLoopScope own(ownLoops_);
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      terminated_ = true;
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Deliver(message);
  }
}

void TApplication::Terminate() {
  terminated_ = true;
  if (runLoops_ > 0) PostQuitMessage(0);
}

void TApplication::RunModalLoop(const std::function<bool()>& done) {
  TLoopScope own(ownLoops_);
  MSG message;
  while (!done()) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Deliver(message);
  }
}

void TApplication::Deliver(MSG& message) {
  {
    THandlerScope scope;
    try {
      if (onMessage_ && onMessage_(message)) return;
      if (PreTranslate(message)) return;
    } catch (...) {
      ShowCurrentException();
      return;
    }
  }
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

bool TApplication::PreTranslate(MSG& message) {
  if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST || !message.hwnd) return false;
  TForm* form = TForm::FromHandle(GetAncestor(message.hwnd, GA_ROOT));
  return form && form->PreTranslateMessage(message);
}

LRESULT CALLBACK TApplication::GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
  TApplication& app = Application();
  // The module's own loops do this themselves; here it is done for the host's loop and
  // for the loops of message boxes and menus.
  if (code == HC_ACTION && wParam == PM_REMOVE && app.ownLoops_ == 0) {
    MSG& message = *reinterpret_cast<MSG*>(lParam);
    THandlerScope scope;
    try {
      if (app.PreTranslate(message)) {
        message.message = WM_NULL;
        message.wParam = 0;
        message.lParam = 0;
      }
    } catch (...) {
      app.ShowCurrentException();
    }
  }
  return CallNextHookEx(app.hook_, code, wParam, lParam);
}

void TApplication::ReleaseLater(TForm* form) {
  if (!form) return;
  if (std::find(pendingRelease_.begin(), pendingRelease_.end(), form) == pendingRelease_.end()) {
    pendingRelease_.push_back(form);
  }
  PostMessageA(utilityWindow_, kReleaseMessage, 0, 0);
  // The handlers waiting in loops of the form's dialogs, boxes and menus return, and with
  // the last of them the release can run.
  if (InHandler()) EndLoopsOwnedBy(form->Handle());
}

void TApplication::EndLoopsOwnedBy(HWND owner) {
  if (!owner) return;
  EnumThreadWindows(GetCurrentThreadId(), &EndOwnedLoop, reinterpret_cast<LPARAM>(owner));
  GUITHREADINFO thread = {};
  thread.cbSize = sizeof thread;
  if (GetGUIThreadInfo(GetCurrentThreadId(), &thread) && (thread.flags & GUI_INMENUMODE) &&
      OwnedBy(thread.hwndMenuOwner, owner)) {
    EndMenu();
  }
}

void TApplication::CancelRelease(TForm* form) {
  pendingRelease_.erase(std::remove(pendingRelease_.begin(), pendingRelease_.end(), form),
                        pendingRelease_.end());
}

void TApplication::ReleasePending() {
  // Only the forms released before this request; a form destroyed meanwhile by another's
  // destruction has left the list through its destructor.
  const std::vector<TForm*> batch = pendingRelease_;
  for (TForm* form : batch) {
    const auto pending = std::find(pendingRelease_.begin(), pendingRelease_.end(), form);
    if (pending == pendingRelease_.end()) continue;
    pendingRelease_.erase(pending);
    form->Destroy();
    delete form;
  }
}

void TApplication::ShowException(const char* text) {
  try {
    ShowMsgBox(*msgBox_, text ? text : "Unbekannter Fehler.", "", mkError, mbOK);
  } catch (...) {
    // The error display itself failed; there is nowhere left to report to.
  }
}

void TApplication::ShowCurrentException() {
  try {
    throw;
  } catch (const std::exception& error) {
    ShowException(error.what());
  } catch (...) {
    ShowException(nullptr);
  }
}

LRESULT CALLBACK TApplication::UtilityProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  if (message == kReleaseMessage) {
    TApplication& app = Application();
    if (app.InHandler()) {
      app.releaseDeferred_ = true;
    } else {
      app.ReleasePending();
    }
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK TApplication::TaskBarProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  TForm* main = Application().MainForm();
  HWND mainWindow = main ? main->Handle() : nullptr;
  switch (message) {
    case WM_SYSCOMMAND:
    case WM_CLOSE:
      // The task-bar button's minimise, restore and close act on the main form.
      if (mainWindow) return SendMessageA(mainWindow, message, wParam, lParam);
      break;
    case WM_ACTIVATE:
      // The window itself is never seen; the activation moves on once it is complete.
      if (LOWORD(wParam) != WA_INACTIVE) PostMessageA(window, kActivateMainMessage, 0, 0);
      break;
    case kActivateMainMessage:
      if (mainWindow && GetActiveWindow() == window && IsWindowVisible(mainWindow)) {
        SetActiveWindow(GetLastActivePopup(mainWindow));
      }
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

TApplication& Application() {
  static TApplication application;
  return application;
}

int Scaled(int pixels) {
  return MulDiv(pixels, Application().Dpi(), kLayoutDpi);
}

}  // namespace reminder
