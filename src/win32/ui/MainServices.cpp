#include "win32/ui/MainServices.h"

#include <mmsystem.h>

#include <utility>

#include "win32/dialup/RASAPI32.h"
#include "win32/host/ModuleStart.h"
#include "win32/store/Win32DataFile.h"
#include "win32/system/Win32Clock.h"
#include "win32/system/Win32MsgBox.h"
#include "win32/ui/AlertActions.h"

namespace reminder {

namespace {

struct TSystemServices {
  TWin32MsgBox msgBox;
  TWin32DataFile file;
  TWin32Clock clock;
  TRasService rasService{RasApi()};
  TDialUpControl dialUp{rasService, msgBox};
  TAlertActions actions{dialUp};
};

}  // namespace

TMainServices SystemServices(std::string dataFile) {
  auto system = std::make_shared<TSystemServices>();
  TMainServices services;
  services.DataFile = std::move(dataFile);
  services.MsgBox = &system->msgBox;
  services.File = &system->file;
  services.Clock = &system->clock;
  services.DialUp = &system->dialUp;
  services.Actions = &system->actions;
  services.PlaySoundAlias = [](const char* alias) {
    PlaySoundA(alias, nullptr, SND_ALIAS | SND_ASYNC | SND_NODEFAULT);
  };
  services.Owner = std::move(system);
  return services;
}

}  // namespace reminder
