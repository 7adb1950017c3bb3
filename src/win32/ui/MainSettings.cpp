#include "win32/ui/MainSettings.h"

#include "core/ui/CfgDlgRules.h"
#include "win32/settings/SyncSettingsStore.h"
#include "win32/store/Win32DataFile.h"
#include "win32/system/ModuleMode.h"
#include "win32/ui/CfgDlgUnit.h"

namespace reminder {

namespace {

constexpr char kSection[] = "Options";

std::string DirectoryWithSeparator(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

TMainSettings ReadMainSettings(TTheRegIniFile& ini, const std::string& area) {
  ini.SetArea(area);
  ini.SetSection(kSection);
  TMainSettings settings;
  const bool animate = ini.ReadBool("AnimateIcon", false);
  settings.AnimateIcon = AnimateIconSetting(animate, ini.ErrorCode());
  ini.WriteString("ProgramPath", DirectoryWithSeparator(ExecutablePath()));
  const int32_t interval = ini.ReadInteger("RefreshInterval", 0);
  settings.RefreshInterval = RefreshIntervalSetting(interval, ini.ErrorCode());
  settings.Notification = ini.ReadBool("Notification", true);
  return settings;
}

bool EditMainSettings(HWND owner, TTheRegIniFile& ini, const std::string& area, IMsgBox& msgBox,
                      const TRunEntryPlace& runEntry, TMainSettings& settings, TSyncChoice& sync) {
  const bool library = LibraryMode();
  const TAutoStart autoStart(msgBox, runEntry);
  ini.SetArea(area);
  ini.SetSection(kSection);
  TCfgDlg dialog(library);
  dialog.CreateFor(owner);
  dialog.AnimateIconChkBox.SetChecked(settings.AnimateIcon);
  dialog.NotificationChkBox.SetChecked(settings.Notification);
  dialog.IntervalEdit.SetText(std::to_string(settings.RefreshInterval));
  dialog.UpDown.SetPosition(settings.RefreshInterval);
  dialog.WinStartUpChkBox.SetChecked(library ? ini.ReadBool("Autostart", false)
                                             : autoStart.IsAutostartEntered());
  dialog.SetSyncSettings(sync.Settings);
  if (dialog.ShowModal() != IDOK) return false;

  const bool startUp = dialog.WinStartUpChkBox.Checked();
  if (!library) autoStart.SetAutostart(startUp);
  settings.AnimateIcon = dialog.AnimateIconChkBox.Checked();
  settings.Notification = dialog.NotificationChkBox.Checked();
  settings.RefreshInterval = RefreshIntervalFromText(dialog.IntervalEdit.Text());
  ini.WriteBool("AnimateIcon", settings.AnimateIcon);
  ini.WriteBool("Autostart", startUp);
  ini.WriteInteger("RefreshInterval", settings.RefreshInterval);
  ini.WriteBool("Notification", settings.Notification);
  sync.Settings = dialog.SyncSettings();
  sync.SyncNow = dialog.SyncNowRequested();
  WriteSyncSettings(ini, area, sync.Settings);
  return true;
}

}  // namespace reminder
