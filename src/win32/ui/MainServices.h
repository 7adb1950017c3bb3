// The services the main window works with: the machine's own, made once where the module
// starts, or a test's, which replaces what must not touch the machine.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/common/Clock.h"
#include "core/dialup/DialUpProbe.h"
#include "core/host/WMsgBox.h"
#include "core/store/DataFile.h"
#include "core/ui/RemindFormRules.h"
#include "win32/components/TrayIco.h"
#include "win32/host/AutoStrt.h"

namespace reminder {

constexpr char kRegistryArea[] = "\\Software\\Orvandel Software\\Reminder";

struct TMainServices {
  std::string DataFile;                      // the full path of "Reminder.dat"
  std::string RegistryArea = kRegistryArea;  // below HKEY_CURRENT_USER
  IMsgBox* MsgBox = nullptr;
  IDataFile* File = nullptr;
  IClock* Clock = nullptr;
  IDialUpProbe* DialUp = nullptr;
  IAlertActions* Actions = nullptr;  // what the alerts' links and countdowns carry out
  TShellNotify ShellNotify;          // how the tray icon reaches the shell
  TShellBalloon ShellBalloon;        // how its balloons do
  std::function<void(const char* alias)> PlaySoundAlias;
  TRunEntryPlace RunEntryPlace;  // the log-on Run entry (standalone mode)
  std::shared_ptr<void> Owner;   // keeps alive what the pointers above refer to
};

// The machine's services over the data file at that path.
TMainServices SystemServices(std::string dataFile);

}  // namespace reminder
