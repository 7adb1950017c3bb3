// Reminder.dll: the module a host loads. Loading it sets up the module and shows nothing;
// the host opens the main window with ZeltoReminderCreate and, once the module has posted
// WM_REMINDERCLOSE (32002) to it, closes it with ZeltoReminderClose.
#include <windows.h>

#include "win32/host/ModuleStart.h"
#include "win32/programs/ModuleEntry.h"

using namespace reminder;

// Exported by their plain names through ReminderDll.def; __stdcall, one-byte result.
extern "C" bool __stdcall ZeltoReminderCreate(DWORD /*unused*/, HWND host) noexcept {
  return CreateReminder(host);
}

extern "C" void __stdcall ZeltoReminderClose() noexcept {
  CloseReminder();
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  try {
    if (reason == DLL_PROCESS_ATTACH) {
      DisableThreadLibraryCalls(module);
      StartModule(true);
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
      // Unloaded by FreeLibrary; when the process ends, the system cleans up by itself.
      ReleaseLeftovers();
      EndModule();
    }
  } catch (...) {
    // Loading goes on: the create call reports what is missing by its result.
  }
  return TRUE;
}
