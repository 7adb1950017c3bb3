// The log-on autostart entry of the standalone program: a value in a Run key that holds the
// program's path. The machine-wide Run key is taken where it may be written; a user without
// administrator rights, whom the installer serves, gets the entry in the user's own Run key.
// Only the standalone program enters itself there.
#pragma once

#include <windows.h>

#include <string>

#include "core/host/WMsgBox.h"

namespace reminder {

// A Run key: a root and the path below it, the system's Run key when empty.
struct TRunKey {
  HKEY Root;
  std::string Path;
};

// Where the Run entry may live and which program it names. The defaults are the Run keys
// of the machine and of the user and the running executable; tests point them at scratch
// keys and a made-up path.
struct TRunEntryPlace {
  TRunKey Machine{HKEY_LOCAL_MACHINE, ""};
  TRunKey User{HKEY_CURRENT_USER, ""};
  std::string ProgramPath;  // the running executable when empty
};

class TAutoStart {
 public:
  explicit TAutoStart(IMsgBox& msgBox, TRunEntryPlace place = {});

  // The path the entry holds: the short form of the program's directory and its file
  // name, upper-cased.
  std::string Path() const;
  // Whether either Run key holds the value, naming this program whatever the letter case.
  bool IsAutostartEntered() const;
  // Enter: writes the entry in the machine's Run key, or where that is refused in the
  // user's; only when neither takes it is the user told, with the code of the last refusal.
  // Remove: deletes the entry from each key where it names this program; one that stays is
  // reported with its code.
  void SetAutostart(bool enter) const;

 private:
  bool EntryIn(const TRunKey& key) const;
  LONG Write(const TRunKey& key, bool create) const;
  LONG Remove(const TRunKey& key) const;

  IMsgBox& msgBox_;
  TRunKey machine_;
  TRunKey user_;
  std::string programPath_;
};

// On the real Run keys, for the running executable.
bool IsAutostartEntered();
void SetAutostart(bool enter);

}  // namespace reminder
