#include "win32/settings/RegistryKey.h"

#include <algorithm>
#include <new>
#include <vector>

#include "core/settings/RegIniRules.h"

namespace reminder {

namespace {

// Most settings are short: the first query goes into a buffer of this size and only a
// larger value takes a second one.
constexpr DWORD kFirstBufferSize = 2048;

// Asks for a value's data into a buffer that announces `announced` bytes.
LONG QueryInto(HKEY key, const std::string& name, std::vector<char>& buffer, DWORD announced,
               DWORD& size) {
  size = announced;
  return RegQueryValueExA(key, name.c_str(), nullptr, nullptr,
                          reinterpret_cast<BYTE*>(buffer.data()), &size);
}

}  // namespace

bool TRegistryKey::Open(HKEY root, const std::string& path, REGSAM access) {
  Close();
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, access, &key) != ERROR_SUCCESS) return false;
  key_.reset(key);
  return true;
}

bool TRegistryKey::Create(HKEY root, const std::string& path, REGSAM access,
                          const std::string& className) {
  Close();
  HKEY key = nullptr;
  std::string classText = className;
  if (RegCreateKeyExA(root, path.c_str(), 0, classText.empty() ? nullptr : &classText[0],
                      REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  key_.reset(key);
  return true;
}

void TRegistryKey::Close() {
  key_.reset();
}

bool TRegistryKey::ReadText(const std::string& name, std::string& text) const {
  if (!key_) return false;
  try {
    std::vector<char> buffer(kFirstBufferSize, 0);
    DWORD size = 0;
    LONG result = QueryInto(key_.get(), name, buffer, kFirstBufferSize - 1, size);
    if (result == ERROR_MORE_DATA) {
      buffer.assign(size, 0);
      result = QueryInto(key_.get(), name, buffer, size, size);
    }
    if (result != ERROR_SUCCESS) return false;
    text = TextUpToZero(buffer.data(), std::min<size_t>(size, buffer.size()));
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool TRegistryKey::WriteText(const std::string& name, const std::string& text) const {
  if (!key_) return false;
  return RegSetValueExA(key_.get(), name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

bool DeleteKeyTree(HKEY root, const std::string& path) {
  {
    TRegistryKey key;
    if (!key.Open(root, path, KEY_READ)) return false;
    // Always the first subkey: the list shrinks as the subkeys go.
    char name[256];
    DWORD length = sizeof name;
    while (RegEnumKeyExA(key.Handle(), 0, name, &length, nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS) {
      if (!DeleteKeyTree(key.Handle(), name)) return false;
      length = sizeof name;
    }
  }
  return RegDeleteKeyA(root, path.c_str()) == ERROR_SUCCESS;
}

}  // namespace reminder
