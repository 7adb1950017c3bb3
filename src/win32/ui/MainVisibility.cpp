// The main window between the tray and the screen: it starts hidden, close and minimise
// hide it to the tray, the tray's double click and "Anzeigen" bring it back, and its
// position is kept across.
#include "win32/toolkit/Application.h"
#include "win32/ui/MainPosition.h"
#include "win32/ui/MainUnit.h"

namespace reminder {

namespace {

struct TModalSearch {
  HWND Owner;
  HWND Found;
};

// A window the user must answer before the owner: a modal form, or a box or system dialog,
// that it owns; the alerts it owns do not count.
BOOL CALLBACK FindModal(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<TModalSearch*>(data);
  if (GetWindow(window, GW_OWNER) != search.Owner || !IsWindowVisible(window) ||
      !IsWindowEnabled(window)) {
    return TRUE;
  }
  const TForm* form = TForm::FromHandle(window);
  if (form && !form->Modal()) return TRUE;
  search.Found = window;
  return FALSE;
}

}  // namespace

// While a dialog or box of the main window is open, the window is disabled; commands from
// the tray then bring that dialog to the front instead of opening another one.
bool TMain::BringModalToFront() {
  if (IsWindowEnabled(Handle())) return false;
  HWND popup = GetLastActivePopup(Handle());
  // The tray menu makes the disabled main window the last active one; the modal window
  // is then found among those it owns, and brought up with what it shows in turn.
  if (!popup || popup == Handle()) {
    TModalSearch search{Handle(), nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &FindModal, reinterpret_cast<LPARAM>(&search));
    if (search.Found) popup = GetLastActivePopup(search.Found);
  }
  if (popup && popup != Handle()) SetForegroundWindow(popup);
  return true;
}

void TMain::LoadPosition() {
  LoadMainPosition(Handle(), services_.RegistryArea);
}

void TMain::SavePosition() {
  SaveMainPosition(Handle(), services_.RegistryArea);
}

void TMain::OnShow() {
  if (firstShow_) {
    firstShow_ = false;
    LoadPosition();
  }
  tray_.WindowShown(true);
}

void TMain::HideToTray() {
  SavePosition();
  if (services_.PlaySoundAlias) services_.PlaySoundAlias("Minimize");
  tray_.WindowShown(false);
  Hide();
  Application().HideTaskBarWindow();
}

bool TMain::ShowFirstTime() {
  if (Application().ShowMainForm()) return false;
  Application().SetShowMainForm(true);
  Application().ShowTaskBarWindow();
  Show();
  return true;
}

// Close becomes minimise, minimise hides to the tray; true when the default handling is
// to be skipped.
bool TMain::SysCommand(unsigned command, WPARAM wParam, LPARAM lParam) {
  switch (SysCommandAction(command)) {
    case TSysCommandAction::HideToTray:
      HideToTray();
      return true;
    case TSysCommandAction::Restore:
      DefWindowProcA(Handle(), WM_SYSCOMMAND, wParam, lParam);
      ShowFirstTime();
      tray_.WindowShown(true);
      return true;
    default:
      return false;
  }
}

// Posted system commands reach the window through here first: hiding must not wait for
// the window procedure, and a restore shows the window before the default handling.
bool TMain::AppMessage(MSG& message) {
  if (message.message != WM_SYSCOMMAND || message.hwnd != Handle()) return false;
  const TSysCommandAction action = SysCommandAction(static_cast<unsigned>(message.wParam));
  if (action == TSysCommandAction::HideToTray) {
    HideToTray();
    return true;
  }
  if (action == TSysCommandAction::Restore) {
    ShowFirstTime();
    tray_.WindowShown(true);
  }
  return false;
}

void TMain::mnuMinimizeClick() {
  if (Visible()) SendMessageA(Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  tray_.WindowShown(Visible());
}

void TMain::TrayIconDblClick() {
  if (closing_ || BringModalToFront()) return;
  if (Visible()) {
    SetForegroundWindow(Handle());
    return;
  }
  if (Application().ShowMainForm()) {
    Show();
    Application().ShowTaskBarWindow();
    SendMessageA(Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  } else {
    Application().SetShowMainForm(true);
    Show();
    Application().ShowTaskBarWindow();
  }
  SetForegroundWindow(Handle());
  tray_.WindowShown(Visible());
  Application().ProcessMessages();
}

}  // namespace reminder
