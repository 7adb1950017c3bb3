// Stores the position, size and maximised state of a window and restores them later,
// either in the registry (below HKEY_CURRENT_USER) or in an initialisation file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/settings/WindowPlacement.h"

namespace reminder {

class TRePosApp {
 public:
  // The window whose place is stored; it is not owned.
  explicit TRePosApp(HWND owner) : owner_(owner) {}

  HWND Owner() const { return owner_; }

  std::string LeftName = "Left";
  std::string TopName = "Top";
  std::string HeightName = "Height";
  std::string WidthName = "Width";
  // Registry form: key path below HKEY_CURRENT_USER; file form: path of the file.
  std::string InifileName;
  // Registry form: subkey of InifileName; file form: section of the file.
  std::string SectionName = "WindowPosition";
  std::string WindowStateName = "ShowCmd";
  bool AllowMaximized = false;

  // Without stored geometry the window is centred on the first monitor at its size.
  void LoadAppPosition(bool useIniFile);
  // Does nothing while the window is minimised; errors are swallowed.
  void SaveAppPosition(bool useIniFile);

 private:
  void UseDefaultName(bool useIniFile);
  void Restore(const TStoredPlacement& stored);

  HWND owner_;
};

}  // namespace reminder
