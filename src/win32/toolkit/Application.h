// The module's application object: the common controls and the default font, the message
// loop of the standalone program with its hook, the task-bar window, and the release of
// forms after their window procedure has returned.
//
// In library mode the host's loop dispatches every message. So that forms behave the same
// there, the release requests go to a hidden message-only window of the module, and the
// keyboard handling of forms (accelerators, dialog keys) runs from a message hook of the
// thread whenever a loop other than the module's own takes a message.
//
// Lifetime under nested loops: a handler that shows a dialog, a message box or a menu runs
// a message loop of its own, and anything may happen inside it, the host closing the module
// included. So every window procedure of the module opens a THandlerScope, and released
// forms are destroyed and deleted only when no scope is open: no object of the module goes
// away while a handler is on the stack. Releasing a form also ends the dialogs, message
// boxes and menus it owns, so that the handlers waiting on them return and the release can
// follow at once.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/host/WMsgBox.h"
#include "win32/system/Handles.h"
#include "win32/system/Win32MsgBox.h"

namespace reminder {

class TForm;

// Marks a handler of the module as running for as long as it lives; see above.
class THandlerScope {
 public:
  THandlerScope();
  ~THandlerScope();
  THandlerScope(const THandlerScope&) = delete;
  THandlerScope& operator=(const THandlerScope&) = delete;
};

enum class TAppMode { Standalone, Library };

// The DPI the layouts' pixel sizes are written for.
constexpr int kLayoutDpi = 96;

class TApplication {
 public:
  TApplication() = default;
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // Registers the common control classes, creates the hidden windows and the font. Later
  // calls do nothing. Only the standalone program gets a task-bar window.
  void Initialize(TAppMode mode);
  // Releases what Initialize made and every form still waiting for its release. The module
  // calls it before it is unloaded, so that no window procedure or hook of it outlives it.
  void Finalize();
  bool Initialized() const { return utilityWindow_ != nullptr; }

  // The module's own instance (the library's, not the host's, in library mode).
  static HINSTANCE Instance();
  HFONT Font() const { return font_; }
  // The screen's pixels per inch, read once at Initialize; 96 before. A module follows the
  // awareness of the process that loaded it: an unaware host is told 96 and scaled by the
  // system.
  int Dpi() const { return dpi_; }

  // The standalone program's main form: Run shows it if ShowMainForm is set, and its
  // destruction ends Run.
  void SetMainForm(TForm* form) { mainForm_ = form; }
  TForm* MainForm() const { return mainForm_; }
  bool ShowMainForm() const { return showMainForm_; }
  void SetShowMainForm(bool show) { showMainForm_ = show; }

  // The window that stands for the program in the task bar and owns its top-level forms;
  // null in library mode. It starts hidden.
  HWND TaskBarWindow() const { return taskBarWindow_; }
  void ShowTaskBarWindow();
  void HideTaskBarWindow();
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);

  // Sees every message the module's own loops take, before anything else; returning true
  // marks it handled, so it is not dispatched.
  void SetOnMessage(std::function<bool(MSG&)> hook) { onMessage_ = std::move(hook); }

  // The standalone program's loop: runs until Terminate or WM_QUIT.
  void Run();
  // Handles every message waiting in the queue, then returns. A WM_QUIT is left for the
  // outer loop (the host's, in library mode).
  void ProcessMessages();
  // Ends Run. Outside Run only the flag is set: a host's loop is not the module's to end.
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Handles messages until done() answers true after one, or WM_QUIT arrives (left in the
  // queue for the outer loop).
  void RunModalLoop(const std::function<bool()>& done);

  // The form's window is destroyed and the object deleted when the queue reaches the request
  // posted now, or, while a handler of the module runs, once the last one has returned;
  // the modal forms, message boxes and menus the form owns are cancelled at once. Releasing
  // a form twice deletes it once.
  void ReleaseLater(TForm* form);
  // True while a handler of the module is on the stack.
  bool InHandler() const { return handlers_ > 0; }
  // Drops a pending release; a form calls it when it is deleted by other means.
  void CancelRelease(TForm* form);

  // The general error display: a message box of kind mkError (text null: an unknown error).
  void ShowException(const char* text);
  // Shows the exception being handled; only for use inside a catch block.
  void ShowCurrentException();
  void SetMsgBox(IMsgBox& box) { msgBox_ = &box; }

  // Registers a window class of the module, once. A class left behind by an earlier load
  // of the module still points at that load's procedure and is registered anew.
  void RegisterWindowClass(WNDCLASSEXA windowClass);

 private:
  static LRESULT CALLBACK UtilityProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK TaskBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam);
  friend class THandlerScope;
  void Deliver(MSG& message);
  bool PreTranslate(MSG& message);
  void ReleasePending();
  void LeaveHandler();
  static void EndLoopsOwnedBy(HWND owner);

  HWND utilityWindow_ = nullptr;
  HWND taskBarWindow_ = nullptr;
  HHOOK hook_ = nullptr;
  HFONT font_ = nullptr;
  int dpi_ = kLayoutDpi;
  TGdiObject<HFONT> ownFont_;  // font_ when it is not the stock font
  TForm* mainForm_ = nullptr;
  bool showMainForm_ = true;
  std::string title_;
  std::function<bool(MSG&)> onMessage_;
  int ownLoops_ = 0;  // the module's loops running on the stack
  int runLoops_ = 0;  // of them, Run
  bool terminated_ = false;
  int handlers_ = 0;              // THandlerScopes open
  bool releaseDeferred_ = false;  // a release request came while one was open
  std::vector<TForm*> pendingRelease_;
  std::vector<std::string> classes_;
  TWin32MsgBox systemMsgBox_;
  IMsgBox* msgBox_ = &systemMsgBox_;
};

// The module's one application object.
TApplication& Application();

// Layouts are written in pixels at 96 DPI; this gives the pixels at the screen's DPI.
int Scaled(int pixels);

}  // namespace reminder
