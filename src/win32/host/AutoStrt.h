// The log-on autostart entry of the standalone program: a value in the machine-wide Run
// key that holds the program's path. Only the standalone program enters itself there.
#pragma once

#include <windows.h>

#include <string>

#include "core/host/WMsgBox.h"

namespace reminder {

// Where the Run entry lives and which program it names. The defaults are the machine-wide
// Run key and the running executable; tests point it at a scratch key and a made-up path.
struct TRunEntryPlace {
  HKEY Root = HKEY_LOCAL_MACHINE;
  std::string KeyPath;      // the Run key when empty
  std::string ProgramPath;  // the running executable when empty
};

class TAutoStart {
 public:
  explicit TAutoStart(IMsgBox& msgBox, TRunEntryPlace place = {});

  // The path the entry holds: the short form of the program's directory and its file
  // name, upper-cased.
  std::string Path() const;
  // Whether the Run value exists and names this program, whatever the letter case.
  bool IsAutostartEntered() const;
  // Writes the entry, or removes it when it names this program; a Run key that cannot be
  // opened is skipped in silence, a refused write or delete is reported with its code.
  void SetAutostart(bool enter) const;

 private:
  IMsgBox& msgBox_;
  HKEY root_;
  std::string keyPath_;
  std::string programPath_;
};

// On the real Run key, for the running executable.
bool IsAutostartEntered();
void SetAutostart(bool enter);

}  // namespace reminder
