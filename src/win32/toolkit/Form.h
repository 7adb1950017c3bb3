// The base of every window of the system. A form creates its window, keeps `this` with it
// from WM_NCCREATE on, and hands the messages to virtual handlers. No exception leaves its
// window procedure: one thrown by a handler is shown by the application's error display.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "win32/system/Handles.h"
#include "win32/toolkit/Control.h"

namespace reminder {

struct TFormParams {
  std::string ClassName = "ReminderForm";
  std::string Caption;
  DWORD Style = WS_OVERLAPPEDWINDOW;
  DWORD ExStyle = 0;
  int ClientWidth = 0;  // 0: the system's default window size
  int ClientHeight = 0;
  // Owner of a top-level form (the application's task-bar window when null), parent of a
  // child form (WS_CHILD). A child form whose controls Tab should reach from its parent
  // needs WS_EX_CONTROLPARENT.
  HWND Parent = nullptr;
  HMENU Menu = nullptr;  // menu bar of a top-level form; the window destroys it
  int ChildId = 0;       // control identifier of a child form
};

// What closing a form that is not modal does.
enum class TCloseAction { Hide, Free };

class TForm {
 public:
  TForm() = default;
  // Destroys the window without calling the derived class's OnDestroy (it is gone by then);
  // forms that need OnDestroy are ended by Destroy or Release.
  virtual ~TForm();
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  // Creates the window, then calls OnCreate outside the window procedure: an exception from
  // OnCreate destroys the window and passes on to the caller.
  void Create(const TFormParams& params);
  HWND Handle() const { return handle_; }
  // The form of one of the module's form windows; null for any other window.
  static TForm* FromHandle(HWND window);

  void Show();
  void Hide();
  bool Visible() const;
  // What the close box does: asks OnClose, then ends the modal loop with IDCANCEL, or hides
  // or releases the form as its CloseAction says.
  void Close();
  // Destroys the window now (OnDestroy runs); the object stays.
  void Destroy();
  // Destroys the window and deletes the form (made with new) once the queue reaches the
  // request posted now (see TApplication::ReleaseLater).
  void Release();
  TCloseAction CloseAction() const { return closeAction_; }
  // With Free the object is also released when its window is destroyed by other means,
  // such as the destruction of its owner; such forms must be made with new.
  void SetCloseAction(TCloseAction action) { closeAction_ = action; }

  // Disables the owner (the Parent given at creation: a dialog passes the form it belongs
  // to), shows the form and handles messages until a modal result is set or the window is
  // gone (IDCANCEL); then enables the owner again and hides the form.
  int ShowModal();
  bool Modal() const { return modal_; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }

  std::string Caption() const;
  void SetCaption(const std::string& caption);
  void SetClientSize(int width, int height);
  SIZE ClientSize() const;
  // The smallest window size the user can drag the form to.
  // At 96 DPI, as every layout size.
  void SetMinTrackSize(int width, int height) { minTrackSize_ = {width, height}; }
  void CenterOnScreen();
  // A system colour index (COLOR_BTNFACE by default) for the background and labels.
  void SetBackground(int systemColor);
  // An etched frame the form draws on its own background, at 96 DPI. A frame made as a
  // child window would leave its inside unpainted, since the form's painting leaves out
  // its children. Returns the frame's number for ShowFrame.
  int AddFrame(const TBounds& bounds);
  void ShowFrame(int frame, bool shown);

  // Window timers; ticks arrive at OnTimer with the same identifier.
  void SetTimer(UINT_PTR id, UINT milliseconds);
  void KillTimer(UINT_PTR id);

  // Tab and the arrow keys move between controls, Enter sends the default button's command
  // (IDOK when there is none) and Escape sends IDCANCEL, as in a dialog.
  void SetDialogKeys(bool on) { dialogKeys_ = on; }
  // The tab control whose pages Ctrl+Tab and Ctrl+Shift+Tab switch, as a click on a tab
  // does (the form is told TCN_SELCHANGE). The labels, check boxes and radio buttons on
  // its pages take the colour the control gives its pages.
  void SetPageTabs(HWND tabControl);
  void SetDefaultButton(int id) { defaultButton_ = id; }
  // The control that gets the focus whenever the form is activated; by default the last
  // focused one, else the first that Tab reaches.
  void SetActiveControl(HWND control);
  // The form destroys the table. Its shortcuts work while the form or one of its
  // controls has the focus.
  void SetAccelerators(HACCEL accelerators);

  // Sees the keyboard messages for the form and its controls before they are dispatched;
  // true when it handled the message. By default: accelerators, then dialog keys.
  virtual bool PreTranslateMessage(MSG& message);

 protected:
  virtual void OnCreate() {}
  virtual void OnShow() {}
  virtual void OnCommand(int /*id*/, int /*code*/, HWND /*control*/) {}
  virtual LRESULT OnNotify(NMHDR* /*header*/) { return 0; }
  virtual void OnTimer(UINT_PTR /*id*/) {}
  // False keeps the form open.
  virtual bool OnClose() { return true; }
  virtual void OnDestroy() {}
  virtual void OnSize(int /*clientWidth*/, int /*clientHeight*/) {}
  // A key pressed while the form itself has the focus; true when handled.
  virtual bool OnKeyDown(int /*key*/) { return false; }
  // Sees every message first; true (with its result set) stops the usual handling.
  virtual bool HandleMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
                             LRESULT& /*result*/) {
    return false;
  }

 private:
  // Ctrl+Tab: true when it switched the page.
  bool SwitchPage(const MSG& message);
  // Whether a control lies on the pages of the page tabs.
  bool OnPage(HWND control) const;
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static void RegisterFormClass(const std::string& name);
  LRESULT Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool OnActivate(bool active);
  void Detach();

  HWND handle_ = nullptr;
  TCloseAction closeAction_ = TCloseAction::Hide;
  bool modal_ = false;
  int modalResult_ = 0;
  bool dialogKeys_ = false;
  int defaultButton_ = 0;
  HWND activeControl_ = nullptr;
  TAcceleratorTable accelerators_;
  SIZE minTrackSize_ = {0, 0};
  int background_ = COLOR_BTNFACE;
  HWND pageTabs_ = nullptr;
  RECT pageArea_ = {};          // where the pages lie, in the form's coordinates
  HBRUSH pageBrush_ = nullptr;  // a system brush, never freed
  COLORREF pageColor_ = 0;
  struct TFrame {
    RECT Place;
    bool Shown;
  };
  std::vector<TFrame> frames_;
};

}  // namespace reminder
