// Settings in the registry, read and written like an initialisation file: an area (a key
// path below a root) and a section (its subkey) hold values by name, all stored as text.
// The last key opened stays open for the next call; missing keys are created, also when
// only reading. Each read and write reports its outcome in ErrorCode.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "core/host/WMsgBox.h"
#include "core/settings/RegIniRules.h"
#include "win32/settings/RegistryKey.h"

namespace reminder {

class TTheRegIniFile {
 public:
  // The box shows the message about a missing area or section; without one the system's
  // message box is used.
  explicit TTheRegIniFile(IMsgBox* msgBox = nullptr);
  TTheRegIniFile(const TTheRegIniFile&) = delete;
  TTheRegIniFile& operator=(const TTheRegIniFile&) = delete;

  HKEY RegKey() const { return regKey_; }
  void SetRegKey(HKEY root) { regKey_ = root; }
  const std::string& Area() const { return area_; }
  void SetArea(const std::string& area);
  const std::string& Section() const { return section_; }
  void SetSection(const std::string& section) { section_ = section; }
  int32_t ErrorCode() const { return errorCode_; }
  // Caption of the message box; the executable's name without its extension at first.
  const std::string& AppTitle() const { return appTitle_; }
  void SetAppTitle(const std::string& title) { appTitle_ = title; }

  std::string ReadString(const std::string& name, const std::string& defaultText);
  void WriteString(const std::string& name, const std::string& text);
  int32_t ReadInteger(const std::string& name, int32_t defaultValue);
  void WriteInteger(const std::string& name, int32_t value);
  bool ReadBool(const std::string& name, bool defaultValue);
  void WriteBool(const std::string& name, bool value);

  // Creates the key path with the running executable's full path as the key's class;
  // failures are ignored.
  static void CreateKey(HKEY root, const std::string& path);
  // Return the cached key when it is the same key opened for the same use, otherwise open
  // it anew (creating it when missing) and cache it. The key stays owned by the accessor.
  bool OpenKeyRead(HKEY root, const std::string& path, HKEY& key);
  bool OpenKeyWrite(HKEY root, const std::string& path, HKEY& key);

 private:
  bool OpenKey(HKEY root, const std::string& path, REGSAM access, HKEY& key);
  // Shows the message and answers false when the area or the section is missing.
  bool NamesGiven();

  HKEY regKey_ = HKEY_CURRENT_USER;
  std::string area_;
  std::string section_;
  int32_t errorCode_ = kRegIniOk;
  std::string appTitle_;
  std::unique_ptr<IMsgBox> ownBox_;
  IMsgBox& msgBox_;

  HKEY cachedRoot_ = nullptr;
  std::string cachedPath_;
  REGSAM cachedAccess_ = 0;
  TRegistryKey cachedKey_;
};

}  // namespace reminder
