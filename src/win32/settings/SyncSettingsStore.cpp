#include "win32/settings/SyncSettingsStore.h"

#include <windows.h>
// wincrypt.h needs the types of windows.h.
#include <wincrypt.h>

namespace reminder {

namespace {

// Frees what the data protection calls allocate.
struct TLocalBlob {
  DATA_BLOB Blob = {};
  ~TLocalBlob() {
    if (Blob.pbData) {
      SecureZeroMemory(Blob.pbData, Blob.cbData);
      LocalFree(Blob.pbData);
    }
  }
};

}  // namespace

bool ProtectPassword(const std::string& password, std::vector<uint8_t>& sealed) {
  DATA_BLOB in = {static_cast<DWORD>(password.size()),
                  reinterpret_cast<BYTE*>(const_cast<char*>(password.data()))};
  TLocalBlob out;
  if (!CryptProtectData(&in, L"Reminder", nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN,
                        &out.Blob)) {
    return false;
  }
  sealed.assign(out.Blob.pbData, out.Blob.pbData + out.Blob.cbData);
  return true;
}

bool UnprotectPassword(const std::vector<uint8_t>& sealed, std::string& password) {
  if (sealed.empty()) return false;
  DATA_BLOB in = {static_cast<DWORD>(sealed.size()), const_cast<BYTE*>(sealed.data())};
  TLocalBlob out;
  if (!CryptUnprotectData(&in, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN,
                          &out.Blob)) {
    return false;
  }
  password.assign(reinterpret_cast<const char*>(out.Blob.pbData), out.Blob.cbData);
  return true;
}

TSyncSettings ReadSyncSettings(TTheRegIniFile& ini, const std::string& area) {
  ini.SetArea(area);
  ini.SetSection(kSyncSection);
  TSyncSettings settings;
  settings.Enabled = ini.ReadBool("Enabled", false);
  settings.Server = ini.ReadString("Server", "");
  settings.User = ini.ReadString("User", "");
  settings.CalendarUrl = ini.ReadString("Calendar", "");
  settings.CalendarName = ini.ReadString("CalendarName", "");
  std::vector<uint8_t> sealed;
  if (!BytesOfHex(ini.ReadString("Password", ""), sealed) ||
      !UnprotectPassword(sealed, settings.Password)) {
    settings.Password.clear();
  }
  return settings;
}

void WriteSyncSettings(TTheRegIniFile& ini, const std::string& area,
                       const TSyncSettings& settings) {
  ini.SetArea(area);
  ini.SetSection(kSyncSection);
  ini.WriteBool("Enabled", settings.Enabled);
  ini.WriteString("Server", settings.Server);
  ini.WriteString("User", settings.User);
  ini.WriteString("Calendar", settings.CalendarUrl);
  ini.WriteString("CalendarName", settings.CalendarName);
  std::vector<uint8_t> sealed;
  // A password that cannot be sealed is not stored at all rather than in the clear.
  const bool kept = !settings.Password.empty() && ProtectPassword(settings.Password, sealed);
  ini.WriteString("Password", kept ? HexOfBytes(sealed) : std::string());
}

}  // namespace reminder
