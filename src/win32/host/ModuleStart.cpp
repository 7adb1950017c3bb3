#include "win32/host/ModuleStart.h"

#include <memory>

#include "core/host/ShortDateFix.h"
#include "win32/host/DLLSynchronizer.h"
#include "win32/host/OnlyOne.h"
#include "win32/system/LocaleFormat.h"
#include "win32/system/ModuleMode.h"
#include "win32/system/Win32MsgBox.h"

namespace reminder {

namespace {

std::unique_ptr<TRasApi32> g_rasApi;
std::unique_ptr<TFormatSettings> g_formatSettings;

}  // namespace

void StartModule(bool library) {
  SetLibraryMode(library);
  TWin32MsgBox box;
  OnlyOne().Start(library, box);
  if (!library) RasApi();
  CreateSyncHelper();
}

void EndModule() {
  DestroySyncHelper();
  g_formatSettings.reset();
  g_rasApi.reset();
}

TRasApi32& RasApi() {
  if (!g_rasApi) g_rasApi = std::make_unique<TRasApi32>();
  return *g_rasApi;
}

const TFormatSettings& ModuleFormatSettings() {
  if (!g_formatSettings)
    g_formatSettings = std::make_unique<TFormatSettings>(LocaleFormatSettings());
  return *g_formatSettings;
}

void FixModuleShortDate() {
  ModuleFormatSettings();
  g_formatSettings->ShortDateFormat = FixShortDateFormat(g_formatSettings->ShortDateFormat);
}

}  // namespace reminder
