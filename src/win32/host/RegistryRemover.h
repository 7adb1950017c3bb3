// Removal of a registry key with everything below it, for the "/DEINSTALL" switch.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace reminder {

// Deletes every descendant of the key, then the key itself; failures are ignored. A leading
// separator in the path is allowed.
void DeleteRegistryTree(HKEY root, const std::string& path);
// Deletes every descendant of the key, the deepest first.
void DeleteSubKeys(HKEY root, const std::string& path);
// Appends "path\name" for each direct subkey; a key that cannot be opened adds nothing.
void CollectSubKeys(HKEY root, const std::string& path, std::vector<std::string>& list);

}  // namespace reminder
