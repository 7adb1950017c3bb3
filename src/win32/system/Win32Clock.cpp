#include "win32/system/Win32Clock.h"

#include <windows.h>

namespace reminder {

TDateTime TWin32Clock::Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return EncodeDateTime({t.wYear, t.wMonth, t.wDay},
                        {t.wHour, t.wMinute, t.wSecond, t.wMilliseconds});
}

}  // namespace reminder
