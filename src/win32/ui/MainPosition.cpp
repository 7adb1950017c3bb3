#include "win32/ui/MainPosition.h"

#include "win32/settings/ReposApp.h"

namespace reminder {
namespace {

TRePosApp PositionStore(HWND window, const std::string& area) {
  TRePosApp store(window);
  store.InifileName = area;
  store.SectionName = "WindowPosition";
  store.AllowMaximized = false;
  return store;
}

}  // namespace

void LoadMainPosition(HWND window, const std::string& area) {
  PositionStore(window, area).LoadAppPosition(false);
}

void SaveMainPosition(HWND window, const std::string& area) {
  PositionStore(window, area).SaveAppPosition(false);
}

}  // namespace reminder
