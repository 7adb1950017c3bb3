// An open registry key that closes itself, and the few registry calls the settings need.
#pragma once

#include <windows.h>

#include <string>

#include "win32/system/Handles.h"

namespace reminder {

class TRegistryKey {
 public:
  TRegistryKey() = default;
  TRegistryKey(TRegistryKey&&) noexcept = default;
  TRegistryKey& operator=(TRegistryKey&&) noexcept = default;
  TRegistryKey(const TRegistryKey&) = delete;
  TRegistryKey& operator=(const TRegistryKey&) = delete;

  // Each closes the key held before.
  bool Open(HKEY root, const std::string& path, REGSAM access);
  // Creates the key and its missing parents; an existing key is opened.
  bool Create(HKEY root, const std::string& path, REGSAM access,
              const std::string& className = std::string());
  void Close();

  bool IsOpen() const { return static_cast<bool>(key_); }
  HKEY Handle() const { return key_.get(); }

  // Reads a value of any type and size as text: its data up to the first zero byte.
  bool ReadText(const std::string& name, std::string& text) const;
  // Writes a string value: the text followed by one zero byte. The text may itself hold
  // zero characters; they are stored as they are.
  bool WriteText(const std::string& name, const std::string& text) const;

 private:
  TRegKeyHandle key_;
};

// Removes a key with all its subkeys and values.
bool DeleteKeyTree(HKEY root, const std::string& path);

}  // namespace reminder
