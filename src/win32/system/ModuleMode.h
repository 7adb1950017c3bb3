// Whether the module runs as a library inside a host program or as the standalone
// program. Every branch between the two modes asks this one flag.
#pragma once

namespace reminder {

bool LibraryMode();
// Set once by the entry point, before any window exists.
void SetLibraryMode(bool library);

}  // namespace reminder
