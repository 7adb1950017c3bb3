#include "win32/support/RegistryScratch.h"

#include <sddl.h>

#include <vector>

#include "win32/settings/RegistryKey.h"

namespace reminder::testing {

RegistryScratch::RegistryScratch(const std::string& name)
    : path_("Software\\ReminderTests\\" + name) {
  DeleteKeyTree(HKEY_CURRENT_USER, path_);
}

RegistryScratch::~RegistryScratch() {
  DeleteKeyTree(HKEY_CURRENT_USER, path_);
}

std::string RegistryScratch::PathOf(const std::string& subpath) const {
  return subpath.empty() ? path_ : path_ + "\\" + subpath;
}

bool RegistryScratch::KeyExists(const std::string& subpath) const {
  TRegistryKey key;
  return key.Open(HKEY_CURRENT_USER, PathOf(subpath), KEY_READ);
}

std::string RegistryScratch::KeyClass(const std::string& subpath) const {
  TRegistryKey key;
  if (!key.Open(HKEY_CURRENT_USER, PathOf(subpath), KEY_READ)) return "<no key>";
  char text[1024] = {};
  DWORD length = sizeof text;
  if (RegQueryInfoKeyA(key.Handle(), text, &length, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    return "<no class>";
  }
  return std::string(text, length);
}

bool RegistryScratch::DeleteKey(const std::string& subpath) const {
  return DeleteKeyTree(HKEY_CURRENT_USER, PathOf(subpath));
}

bool RegistryScratch::Set(const std::string& subpath, const std::string& name, DWORD type,
                          const std::string& data) const {
  TRegistryKey key;
  if (!key.Create(HKEY_CURRENT_USER, PathOf(subpath), KEY_ALL_ACCESS)) return false;
  return RegSetValueExA(key.Handle(), name.c_str(), 0, type,
                        reinterpret_cast<const BYTE*>(data.data()),
                        static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

bool RegistryScratch::DenyValueChanges(const std::string& subpath) const {
  TRegistryKey key;
  if (!key.Create(HKEY_CURRENT_USER, PathOf(subpath), KEY_READ | WRITE_DAC)) return false;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;KRSD;;;WD)", SDDL_REVISION_1,
                                                            &descriptor, nullptr)) {
    return false;
  }
  const LONG status = RegSetKeySecurity(key.Handle(), DACL_SECURITY_INFORMATION, descriptor);
  LocalFree(descriptor);
  return status == ERROR_SUCCESS;
}

RawValue RegistryScratch::Get(const std::string& subpath, const std::string& name) const {
  RawValue value;
  TRegistryKey key;
  if (!key.Open(HKEY_CURRENT_USER, PathOf(subpath), KEY_READ)) return value;
  DWORD size = 0;
  if (RegQueryValueExA(key.Handle(), name.c_str(), nullptr, &value.type, nullptr, &size) !=
      ERROR_SUCCESS) {
    return value;
  }
  std::vector<char> data(size + 1);
  if (RegQueryValueExA(key.Handle(), name.c_str(), nullptr, &value.type,
                       reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS) {
    return value;
  }
  value.exists = true;
  value.data.assign(data.data(), size);
  return value;
}

}  // namespace reminder::testing
