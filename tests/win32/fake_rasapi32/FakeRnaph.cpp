// A stand-in for the library that supplies the phonebook-entry functions when the remote
// access library lacks them.
#include <windows.h>

extern "C" {

DWORD WINAPI RasRenameEntryA() {
  return 1;
}
DWORD WINAPI RasDeleteEntryA() {
  return 1;
}
DWORD WINAPI RasGetEntryPropertiesA() {
  return 1;
}
DWORD WINAPI RasSetEntryPropertiesA() {
  return 1;
}

}  // extern "C"
