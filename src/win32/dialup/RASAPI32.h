// The remote access service, loaded at run time so that the module starts without it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "core/dialup/HangupUnit.h"
#include "win32/system/Handles.h"

namespace reminder {

// The service's ANSI connection record in its 412-byte form.
#pragma pack(push, 1)
struct TRasConnA {
  DWORD dwSize;
  DWORD hrasconn;
  char szEntryName[257];
  char szDeviceType[17];
  char szDeviceName[129];
  char padding;
};
#pragma pack(pop)
static_assert(sizeof(TRasConnA) == 412, "the service expects the 412-byte record");

constexpr int kRasConnectionSlots = 10;

using TRasEnumConnectionsA = DWORD(WINAPI*)(TRasConnA*, DWORD*, DWORD*);
using TRasHangUpA = DWORD(WINAPI*)(DWORD);
using TRasEntryPoint = FARPROC;

// "RASAPI32.dll" and its entry points; the phonebook-entry functions come from "RNAPH.dll"
// where the first library lacks them.
class TRasApi32 {
 public:
  TRasApi32();
  TRasApi32(const TRasApi32&) = delete;
  TRasApi32& operator=(const TRasApi32&) = delete;

  bool RasAvailable() const { return rasAvailable_; }
  bool RasEntriesAvailable() const { return rasEntriesAvailable_; }
  bool UsesFallbackLibrary() const { return static_cast<bool>(fallback_); }

  TRasEnumConnectionsA RasEnumConnectionsA = nullptr;
  TRasHangUpA RasHangUpA = nullptr;
  // Looked up and kept as the service offers them; the module itself does not call them.
  TRasEntryPoint RasDialA = nullptr;
  TRasEntryPoint RasEnumEntriesA = nullptr;
  TRasEntryPoint RasGetConnectStatusA = nullptr;
  TRasEntryPoint RasGetErrorStringA = nullptr;
  TRasEntryPoint RasCreatePhonebookEntryA = nullptr;
  TRasEntryPoint RasEditPhonebookEntryA = nullptr;
  TRasEntryPoint RasSetEntryDialParamsA = nullptr;
  TRasEntryPoint RasGetEntryDialParamsA = nullptr;
  TRasEntryPoint RasRenameEntryA = nullptr;
  TRasEntryPoint RasDeleteEntryA = nullptr;
  TRasEntryPoint RasGetEntryPropertiesA = nullptr;
  TRasEntryPoint RasSetEntryPropertiesA = nullptr;

 private:
  bool LookUpEntryFunctions(HMODULE library);

  TModuleHandle library_;
  TModuleHandle fallback_;  // freed before library_
  bool rasAvailable_ = false;
  bool rasEntriesAvailable_ = false;
};

// The two calls the module makes, on the loaded service; a missing service lists nothing.
class TRasService : public IRasService {
 public:
  explicit TRasService(const TRasApi32& api) : api_(api) {}
  bool EnumConnections(std::vector<uint32_t>& handles) override;
  bool HangUp(uint32_t handle) override;

 private:
  const TRasApi32& api_;
};

}  // namespace reminder
