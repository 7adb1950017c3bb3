// What the module sets up when it is loaded and takes down, in reverse, when it is unloaded:
// the mode flag, the single-instance guard, the remote access service, the date formats and
// the cross-thread helper.
#pragma once

#include "core/common/FormatSettings.h"
#include "win32/dialup/RASAPI32.h"

namespace reminder {

// library: loaded by a host (from DllMain) rather than started as the program.
void StartModule(bool library);
// Only when the module is unloaded explicitly, never while the process ends.
void EndModule();

// The module's one remote access service. In library mode it is loaded on first use, since
// the loader forbids loading a library from DllMain.
TRasApi32& RasApi();

// The date and time texts of the module: the user's locale, with the standalone program's
// four-digit year correction once FixModuleShortDate has run.
const TFormatSettings& ModuleFormatSettings();
void FixModuleShortDate();

}  // namespace reminder
