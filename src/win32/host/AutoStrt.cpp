#include "win32/host/AutoStrt.h"

#include <vector>

#include "core/common/MyTools.h"
#include "core/ui/CfgDlgRules.h"
#include "win32/store/Win32DataFile.h"
#include "win32/system/Handles.h"
#include "win32/system/Win32MsgBox.h"

namespace reminder {

namespace {

constexpr DWORD kShortPathBufferSize = 1024;

// The directory in its 8.3 form; unchanged when the system cannot convert it.
std::string ShortDirectory(const std::string& directory) {
  std::vector<char> buffer(kShortPathBufferSize, '\0');
  directory.copy(buffer.data(), kShortPathBufferSize - 1);
  GetShortPathNameA(directory.c_str(), buffer.data(), kShortPathBufferSize - 1);
  return std::string(buffer.data());
}

TRunKey WithPath(TRunKey key) {
  if (key.Path.empty()) key.Path = kRunKeyPath;
  return key;
}

}  // namespace

TAutoStart::TAutoStart(IMsgBox& msgBox, TRunEntryPlace place)
    : msgBox_(msgBox),
      machine_(WithPath(place.Machine)),
      user_(WithPath(place.User)),
      programPath_(place.ProgramPath.empty() ? ExecutablePath() : place.ProgramPath) {}

std::string TAutoStart::Path() const {
  return AutostartPath(ShortDirectory(ExtractFilePath(programPath_)),
                       ExtractFileName(programPath_));
}

bool TAutoStart::EntryIn(const TRunKey& runKey) const {
  const std::string path = Path();
  HKEY opened = nullptr;
  if (RegOpenKeyExA(runKey.Root, runKey.Path.c_str(), 0, KEY_QUERY_VALUE, &opened) !=
      ERROR_SUCCESS) {
    return false;
  }
  const TRegKeyHandle key(opened);
  std::vector<char> buffer(kRunValueBufferSize, '\0');
  DWORD size = kRunValueBufferSize - 1;
  const LONG status = RegQueryValueExA(key.get(), kRunValueName, nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(buffer.data()), &size);
  return status == ERROR_SUCCESS && RunEntryNamesPath(buffer.data(), size, path);
}

bool TAutoStart::IsAutostartEntered() const {
  return EntryIn(machine_) || EntryIn(user_);
}

LONG TAutoStart::Write(const TRunKey& runKey, bool create) const {
  HKEY opened = nullptr;
  // A fresh profile may lack the user's Run key; the machine always has one.
  const LONG opening =
      create ? RegCreateKeyExA(runKey.Root, runKey.Path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                               nullptr, &opened, nullptr)
             : RegOpenKeyExA(runKey.Root, runKey.Path.c_str(), 0, KEY_SET_VALUE, &opened);
  if (opening != ERROR_SUCCESS) return opening;
  const TRegKeyHandle key(opened);
  const std::string path = Path();
  return RegSetValueExA(key.get(), kRunValueName, 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(path.c_str()),
                        static_cast<DWORD>(path.size() + 1));
}

LONG TAutoStart::Remove(const TRunKey& runKey) const {
  if (!EntryIn(runKey)) return ERROR_SUCCESS;
  HKEY opened = nullptr;
  const LONG opening = RegOpenKeyExA(runKey.Root, runKey.Path.c_str(), 0, KEY_SET_VALUE, &opened);
  if (opening != ERROR_SUCCESS) return opening;
  const TRegKeyHandle key(opened);
  return RegDeleteValueA(key.get(), kRunValueName);
}

void TAutoStart::SetAutostart(bool enter) const {
  if (enter) {
    if (IsAutostartEntered() || Write(machine_, false) == ERROR_SUCCESS) return;
    const LONG status = Write(user_, true);
    if (status != ERROR_SUCCESS) {
      ShowMsgBox(msgBox_, RunEntryWriteErrorText(status), kAutostartMsgCaption, mkError, mbOK);
    }
    return;
  }
  LONG status = Remove(machine_);
  const LONG userStatus = Remove(user_);
  if (status == ERROR_SUCCESS) status = userStatus;
  if (status != ERROR_SUCCESS) {
    ShowMsgBox(msgBox_, RunEntryDeleteErrorText(status), kAutostartMsgCaption, mkError, mbOK);
  }
}

bool IsAutostartEntered() {
  TWin32MsgBox box;
  return TAutoStart(box).IsAutostartEntered();
}

void SetAutostart(bool enter) {
  TWin32MsgBox box;
  TAutoStart(box).SetAutostart(enter);
}

}  // namespace reminder
