#include "win32/dialup/RASAPI32.h"

namespace reminder {

namespace {

template <typename T>
T LookUp(HMODULE library, const char* name) {
  return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

TRasApi32::TRasApi32() {
  const HMODULE library = LoadLibraryA("RASAPI32.dll");
  if (reinterpret_cast<uintptr_t>(library) < 32) return;
  library_.reset(library);
  RasDialA = GetProcAddress(library, "RasDialA");
  RasHangUpA = LookUp<TRasHangUpA>(library, "RasHangUpA");
  RasEnumConnectionsA = LookUp<TRasEnumConnectionsA>(library, "RasEnumConnectionsA");
  RasEnumEntriesA = GetProcAddress(library, "RasEnumEntriesA");
  RasGetConnectStatusA = GetProcAddress(library, "RasGetConnectStatusA");
  RasGetErrorStringA = GetProcAddress(library, "RasGetErrorStringA");
  RasCreatePhonebookEntryA = GetProcAddress(library, "RasCreatePhonebookEntryA");
  RasEditPhonebookEntryA = GetProcAddress(library, "RasEditPhonebookEntryA");
  RasSetEntryDialParamsA = GetProcAddress(library, "RasSetEntryDialParamsA");
  RasGetEntryDialParamsA = GetProcAddress(library, "RasGetEntryDialParamsA");
  rasAvailable_ = RasDialA && RasHangUpA && RasEnumConnectionsA && RasGetConnectStatusA &&
                  RasGetErrorStringA && RasCreatePhonebookEntryA && RasEditPhonebookEntryA &&
                  RasSetEntryDialParamsA && RasGetEntryDialParamsA;
  if (!rasAvailable_) {
    library_.reset();
    RasHangUpA = nullptr;
    RasEnumConnectionsA = nullptr;
    return;
  }
  rasEntriesAvailable_ = LookUpEntryFunctions(library);
  if (rasEntriesAvailable_) return;
  const HMODULE fallback = LoadLibraryA("RNAPH.dll");
  if (reinterpret_cast<uintptr_t>(fallback) < 32) return;
  fallback_.reset(fallback);
  rasEntriesAvailable_ = LookUpEntryFunctions(fallback);
  if (!rasEntriesAvailable_) fallback_.reset();
}

bool TRasApi32::LookUpEntryFunctions(HMODULE library) {
  RasRenameEntryA = GetProcAddress(library, "RasRenameEntryA");
  RasDeleteEntryA = GetProcAddress(library, "RasDeleteEntryA");
  RasGetEntryPropertiesA = GetProcAddress(library, "RasGetEntryPropertiesA");
  RasSetEntryPropertiesA = GetProcAddress(library, "RasSetEntryPropertiesA");
  return RasRenameEntryA && RasDeleteEntryA && RasGetEntryPropertiesA && RasSetEntryPropertiesA;
}

bool TRasService::EnumConnections(std::vector<uint32_t>& handles) {
  handles.clear();
  if (!api_.RasEnumConnectionsA) return false;
  TRasConnA buffer[kRasConnectionSlots];
  ZeroMemory(buffer, sizeof buffer);
  buffer[0].dwSize = sizeof(TRasConnA);
  DWORD size = sizeof buffer;
  DWORD count = 0;
  if (api_.RasEnumConnectionsA(buffer, &size, &count) != 0) return false;
  if (count > kRasConnectionSlots) return false;
  for (DWORD i = 0; i < count; ++i) handles.push_back(buffer[i].hrasconn);
  return true;
}

bool TRasService::HangUp(uint32_t handle) {
  return api_.RasHangUpA && api_.RasHangUpA(handle) == 0;
}

}  // namespace reminder
