#include "win32/host/RegistryRemover.h"

#include <algorithm>

#include "win32/system/Handles.h"

namespace reminder {

namespace {

constexpr DWORD kNameBuffer = 1024;

// The registry takes paths relative to the root without a leading separator.
std::string Relative(const std::string& path) {
  return !path.empty() && path[0] == '\\' ? path.substr(1) : path;
}

bool LocaleLessIgnoringCase(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
         CSTR_LESS_THAN;
}

}  // namespace

void CollectSubKeys(HKEY root, const std::string& path, std::vector<std::string>& list) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, Relative(path).c_str(), 0, KEY_ENUMERATE_SUB_KEYS, &opened) !=
      ERROR_SUCCESS) {
    return;
  }
  const TRegKeyHandle key(opened);
  for (DWORD index = 0;; ++index) {
    char name[kNameBuffer] = {};
    char keyClass[kNameBuffer] = {};
    DWORD nameLength = kNameBuffer - 1;
    DWORD classLength = kNameBuffer - 1;
    if (RegEnumKeyExA(key.get(), index, name, &nameLength, nullptr, keyClass, &classLength,
                      nullptr) != ERROR_SUCCESS) {
      break;
    }
    list.push_back(path + "\\" + name);
  }
}

void DeleteSubKeys(HKEY root, const std::string& path) {
  std::vector<std::string> keys;
  CollectSubKeys(root, path, keys);
  // The list grows while it is walked, so it ends with every descendant, breadth-first.
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const std::string parent = keys[i];
    CollectSubKeys(root, parent, keys);
  }
  // A child's path extends its parent's, so it sorts after it: backwards, children go first.
  std::stable_sort(keys.begin(), keys.end(), LocaleLessIgnoringCase);
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
    RegDeleteKeyA(root, Relative(*key).c_str());
  }
}

void DeleteRegistryTree(HKEY root, const std::string& path) {
  DeleteSubKeys(root, path);
  RegDeleteKeyA(root, Relative(path).c_str());
}

}  // namespace reminder
