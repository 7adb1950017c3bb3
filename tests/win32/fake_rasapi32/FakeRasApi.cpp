// A stand-in for the remote access service. The number of connections it lists comes from
// the environment variable FAKE_RAS_CONNECTIONS, read at every call; hang-ups are recorded
// for the test to read back through FakeRasHungUp. FAKE_RAS_HANGUP_ERROR, when set, is the
// error every hang-up is refused with.
#include <windows.h>

#include <cstdlib>

#include "win32/dialup/RASAPI32.h"

namespace {

constexpr DWORD kBufferTooSmall = 603;
constexpr DWORD kInvalidHandle = 6;
constexpr DWORD kFirstHandle = 0x1000;

DWORD g_hungUp[32];
DWORD g_hungUpCount = 0;

DWORD EnvironmentNumber(const char* name) {
  char value[16] = {};
  if (!GetEnvironmentVariableA(name, value, sizeof value)) return 0;
  return static_cast<DWORD>(atoi(value));
}

DWORD Connections() {
  return EnvironmentNumber("FAKE_RAS_CONNECTIONS");
}

}  // namespace

extern "C" {

DWORD WINAPI RasEnumConnectionsA(reminder::TRasConnA* buffer, DWORD* size, DWORD* count) {
  const DWORD connections = Connections();
  const DWORD needed = connections * sizeof(reminder::TRasConnA);
  *count = 0;
  if (*size < needed) {
    *size = needed;
    return kBufferTooSmall;
  }
  for (DWORD i = 0; i < connections; ++i) {
    buffer[i].dwSize = sizeof(reminder::TRasConnA);
    buffer[i].hrasconn = kFirstHandle + i;
    wsprintfA(buffer[i].szEntryName, "Verbindung %lu", i + 1);
  }
  *count = connections;
  return 0;
}

DWORD WINAPI RasHangUpA(DWORD connection) {
  if (const DWORD refusal = EnvironmentNumber("FAKE_RAS_HANGUP_ERROR")) return refusal;
  if (connection < kFirstHandle || connection >= kFirstHandle + Connections()) {
    return kInvalidHandle;
  }
  if (g_hungUpCount < 32) g_hungUp[g_hungUpCount++] = connection;
  return 0;
}

// How many hang-ups arrived and the handle of the one at index.
DWORD WINAPI FakeRasHungUp(DWORD index, DWORD* handle) {
  if (index < g_hungUpCount) *handle = g_hungUp[index];
  return g_hungUpCount;
}

DWORD WINAPI RasDialA() {
  return 1;
}
DWORD WINAPI RasGetConnectStatusA() {
  return 1;
}
DWORD WINAPI RasGetErrorStringA() {
  return 1;
}
DWORD WINAPI RasCreatePhonebookEntryA() {
  return 1;
}
DWORD WINAPI RasEditPhonebookEntryA() {
  return 1;
}
DWORD WINAPI RasSetEntryDialParamsA() {
  return 1;
}
DWORD WINAPI RasGetEntryDialParamsA() {
  return 1;
}
DWORD WINAPI RasEnumEntriesA() {
  return 1;
}

}  // extern "C"
