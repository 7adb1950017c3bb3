#include "win32/system/ModuleMode.h"

namespace reminder {

namespace {

bool g_libraryMode = false;

}  // namespace

bool LibraryMode() {
  return g_libraryMode;
}

void SetLibraryMode(bool library) {
  g_libraryMode = library;
}

}  // namespace reminder
