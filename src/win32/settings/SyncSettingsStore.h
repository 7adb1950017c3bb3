// The calendar sync's settings in the registry's "Sync" section, beside "Options". The
// password is kept only as the system's data protection made it for the current user
// (hexadecimal text), so that neither another user nor a copy of the registry reads it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/ui/SyncRules.h"
#include "win32/settings/RegIni.h"

namespace reminder {

constexpr char kSyncSection[] = "Sync";

// The settings as stored; a password that does not decrypt (another user's, a damaged
// value) reads as "".
TSyncSettings ReadSyncSettings(TTheRegIniFile& ini, const std::string& area);
void WriteSyncSettings(TTheRegIniFile& ini, const std::string& area, const TSyncSettings& settings);

// The password sealed for the current user, and opened again; false when it cannot be.
bool ProtectPassword(const std::string& password, std::vector<uint8_t>& sealed);
bool UnprotectPassword(const std::vector<uint8_t>& sealed, std::string& password);

}  // namespace reminder
