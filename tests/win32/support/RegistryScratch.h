// A registry area of one test's own below HKEY_CURRENT_USER, removed with everything in it
// when the test ends, and raw access to the values the code under test leaves there.
#pragma once

#include <windows.h>

#include <string>

namespace reminder::testing {

struct RawValue {
  bool exists = false;
  DWORD type = REG_NONE;
  std::string data;
};

class RegistryScratch {
 public:
  // The area "Software\ReminderTests\<name>"; one left over from an earlier run is cleared.
  explicit RegistryScratch(const std::string& name);
  ~RegistryScratch();
  RegistryScratch(const RegistryScratch&) = delete;
  RegistryScratch& operator=(const RegistryScratch&) = delete;

  // Without a leading separator.
  const std::string& Path() const { return path_; }
  // Below the area; an empty subpath is the area itself.
  std::string PathOf(const std::string& subpath) const;

  bool KeyExists(const std::string& subpath) const;
  std::string KeyClass(const std::string& subpath) const;
  bool DeleteKey(const std::string& subpath) const;
  // Creates the key when missing.
  bool Set(const std::string& subpath, const std::string& name, DWORD type,
           const std::string& data) const;
  RawValue Get(const std::string& subpath, const std::string& name) const;
  // Creates the key when missing and lets everyone read and delete it but change none of its
  // values, as the machine's keys are for a user without administrator rights.
  bool DenyValueChanges(const std::string& subpath) const;

 private:
  std::string path_;
};

}  // namespace reminder::testing
