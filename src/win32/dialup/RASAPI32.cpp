#include "win32/dialup/RASAPI32.h"

namespace reminder {

namespace {

template <typename T>
T LookUp(HMODULE library, const char* name) {
  return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

TRasApi32::TRasApi32() {
  library_ = LoadLibraryA("RASAPI32.dll");
  if (reinterpret_cast<uintptr_t>(library_) < 32) {
    library_ = nullptr;
    return;
  }
  RasDialA = GetProcAddress(library_, "RasDialA");
  RasHangUpA = LookUp<TRasHangUpA>(library_, "RasHangUpA");
  RasEnumConnectionsA = LookUp<TRasEnumConnectionsA>(library_, "RasEnumConnectionsA");
  RasEnumEntriesA = GetProcAddress(library_, "RasEnumEntriesA");
  RasGetConnectStatusA = GetProcAddress(library_, "RasGetConnectStatusA");
  RasGetErrorStringA = GetProcAddress(library_, "RasGetErrorStringA");
  RasCreatePhonebookEntryA = GetProcAddress(library_, "RasCreatePhonebookEntryA");
  RasEditPhonebookEntryA = GetProcAddress(library_, "RasEditPhonebookEntryA");
  RasSetEntryDialParamsA = GetProcAddress(library_, "RasSetEntryDialParamsA");
  RasGetEntryDialParamsA = GetProcAddress(library_, "RasGetEntryDialParamsA");
  rasAvailable_ = RasDialA && RasHangUpA && RasEnumConnectionsA && RasGetConnectStatusA &&
                  RasGetErrorStringA && RasCreatePhonebookEntryA && RasEditPhonebookEntryA &&
                  RasSetEntryDialParamsA && RasGetEntryDialParamsA;
  if (!rasAvailable_) {
    FreeLibrary(library_);
    library_ = nullptr;
    RasHangUpA = nullptr;
    RasEnumConnectionsA = nullptr;
    return;
  }
  rasEntriesAvailable_ = LookUpEntryFunctions(library_);
  if (rasEntriesAvailable_) return;
  fallback_ = LoadLibraryA("RNAPH.dll");
  if (reinterpret_cast<uintptr_t>(fallback_) < 32) {
    fallback_ = nullptr;
    return;
  }
  rasEntriesAvailable_ = LookUpEntryFunctions(fallback_);
  if (!rasEntriesAvailable_) {
    FreeLibrary(fallback_);
    fallback_ = nullptr;
  }
}

bool TRasApi32::LookUpEntryFunctions(HMODULE library) {
  RasRenameEntryA = GetProcAddress(library, "RasRenameEntryA");
  RasDeleteEntryA = GetProcAddress(library, "RasDeleteEntryA");
  RasGetEntryPropertiesA = GetProcAddress(library, "RasGetEntryPropertiesA");
  RasSetEntryPropertiesA = GetProcAddress(library, "RasSetEntryPropertiesA");
  return RasRenameEntryA && RasDeleteEntryA && RasGetEntryPropertiesA && RasSetEntryPropertiesA;
}

TRasApi32::~TRasApi32() {
  if (fallback_) FreeLibrary(fallback_);
  if (library_) FreeLibrary(library_);
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
