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

}  // namespace

TAutoStart::TAutoStart(IMsgBox& msgBox, TRunEntryPlace place)
    : msgBox_(msgBox),
      root_(place.Root),
      keyPath_(place.KeyPath.empty() ? kRunKeyPath : place.KeyPath),
      programPath_(place.ProgramPath.empty() ? ExecutablePath() : place.ProgramPath) {}

std::string TAutoStart::Path() const {
  return AutostartPath(ShortDirectory(ExtractFilePath(programPath_)),
                       ExtractFileName(programPath_));
}

bool TAutoStart::IsAutostartEntered() const {
  const std::string path = Path();
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root_, keyPath_.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
    return false;
  }
  const TRegKeyHandle key(opened);
  std::vector<char> buffer(kRunValueBufferSize, '\0');
  DWORD size = kRunValueBufferSize - 1;
  const LONG status = RegQueryValueExA(key.get(), kRunValueName, nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(buffer.data()), &size);
  return status == ERROR_SUCCESS && RunEntryNamesPath(buffer.data(), size, path);
}

void TAutoStart::SetAutostart(bool enter) const {
  if (!enter && !IsAutostartEntered()) return;
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root_, keyPath_.c_str(), 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS) return;
  const TRegKeyHandle key(opened);
  if (enter) {
    const std::string path = Path();
    const LONG status = RegSetValueExA(key.get(), kRunValueName, 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(path.c_str()),
                                       static_cast<DWORD>(path.size() + 1));
    if (status != ERROR_SUCCESS) {
      ShowMsgBox(msgBox_, RunEntryWriteErrorText(status), kAutostartMsgCaption, mkError, mbOK);
    }
  } else {
    const LONG status = RegDeleteValueA(key.get(), kRunValueName);
    if (status != ERROR_SUCCESS) {
      ShowMsgBox(msgBox_, RunEntryDeleteErrorText(status), kAutostartMsgCaption, mkError, mbOK);
    }
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
