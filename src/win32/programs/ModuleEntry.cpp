#include "win32/programs/ModuleEntry.h"

#include <memory>

#include "core/host/ShortDateFix.h"
#include "core/store/DataFile.h"
#include "win32/host/ModuleStart.h"
#include "win32/host/OnlyOne.h"
#include "win32/host/RegistryRemover.h"
#include "win32/store/Win32DataFile.h"
#include "win32/system/ModuleMode.h"
#include "win32/system/Win32MsgBox.h"
#include "win32/toolkit/Application.h"
#include "win32/ui/MainUnit.h"

namespace reminder {

namespace {

// Creates the main window and sets Main before its creation handler runs, so that code
// reached from there (an alert opened by the first check) finds it; clears it on failure.
void CreateMainWindow(HWND host, bool applicationMain) {
  auto form = std::make_unique<TMain>(SystemServices(DataFileBeside(ExecutablePath())));
  Main = form.get();
  form->SetHostWindow(host);
  if (applicationMain) Application().SetMainForm(form.get());
  try {
    form->CreateMain();
  } catch (...) {
    if (applicationMain) Application().SetMainForm(nullptr);
    Main = nullptr;
    throw;
  }
  form.release();
}

}  // namespace

bool CreateReminder(HWND host) noexcept {
  try {
    Application().Initialize(LibraryMode() ? TAppMode::Library : TAppMode::Standalone);
    if (Main) {
      Main->SetHostWindow(host);
      return true;
    }
    CreateMainWindow(host, false);
    return true;
  } catch (...) {
    return false;
  }
}

void CloseReminder() noexcept {
  TMain* form = Main;
  if (!form) return;
  Main = nullptr;
  form->BeginClose();
  Application().ReleaseLater(form);
}

void ReleaseLeftovers() noexcept {
  try {
    CloseReminder();
    Application().Finalize();
  } catch (...) {
    // The module is going away; there is no one left to tell.
  }
}

void HandleDeinstall(const std::vector<std::string>& parameters, IMsgBox& box) {
  for (const std::string& parameter : parameters) {
    if (!IsDeinstallSwitch(parameter)) continue;
    DeleteRegistryTree(HKEY_CURRENT_USER, kRegistryArea);
    ShowMsgBox(box, "Registrierungsschlüssel für den Zelto - Reminder entfernt!", "", mkInformation,
               mbOK);
    OnlyOne().SetDoNotStart();
  }
}

int RunStandalone(const std::vector<std::string>& parameters) {
  if (OnlyOne().DoNotStart()) return 0;
  Application().Initialize(TAppMode::Standalone);
  FixModuleShortDate();
  TWin32MsgBox box;
  HandleDeinstall(parameters, box);
  if (OnlyOne().DoNotStart()) return 0;
  try {
    CreateMainWindow(nullptr, true);
  } catch (...) {
    Application().ShowCurrentException();
    return 1;
  }
  Application().Run();
  // Run ends with the main window gone; a window that "Beenden" released has deleted
  // itself and cleared Main.
  delete Main;
  return 0;
}

}  // namespace reminder
