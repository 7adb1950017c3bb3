#include "win32/components/SystemInfo.h"

#include <windows.h>

#include <cstring>

#include "win32/system/LocaleFormat.h"
#include "win32/system/Win32Clock.h"

namespace reminder {

namespace {

// The text up to the buffer's first zero character.
std::string BufferText(const char* buffer, size_t size) {
  return std::string(buffer, strnlen(buffer, size));
}

char LocaleThousandSeparator() {
  char buffer[8] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, buffer, sizeof buffer) <= 0) {
    return '.';
  }
  return buffer[0];
}

std::optional<TWindowsVersionFacts> ReadWindowsVersionFacts() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(&info)) return std::nullopt;
  TWindowsVersionFacts facts;
  facts.Major = info.dwMajorVersion;
  facts.Minor = info.dwMinorVersion;
  facts.BuildNumber = info.dwBuildNumber;
  facts.PlatformId = info.dwPlatformId;
  facts.ServiceText = BufferText(info.szCSDVersion, sizeof info.szCSDVersion);
  return facts;
}

}  // namespace

TSystemFacts ReadSystemFacts() {
  TSystemFacts facts;
  TWin32Clock clock;
  facts.Now = clock.Now();

  MEMORYSTATUSEX memory = {};
  memory.dwLength = sizeof memory;
  if (GlobalMemoryStatusEx(&memory)) {
    facts.MemoryLoad = memory.dwMemoryLoad;
    facts.TotalPhys = memory.ullTotalPhys;
    facts.AvailPhys = memory.ullAvailPhys;
    facts.TotalPageFile = memory.ullTotalPageFile;
    facts.AvailPageFile = memory.ullAvailPageFile;
    facts.TotalVirtual = memory.ullTotalVirtual;
    facts.AvailVirtual = memory.ullAvailVirtual;
  }

  char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD computerSize = sizeof computer;
  if (GetComputerNameA(computer, &computerSize)) {
    facts.ComputerName = BufferText(computer, sizeof computer);
  }
  char user[1024] = {};
  DWORD userSize = sizeof user;
  if (GetUserNameA(user, &userSize)) facts.UserName = BufferText(user, sizeof user);

  facts.Version = ReadWindowsVersionFacts();

  SYSTEM_INFO system = {};
  GetSystemInfo(&system);
  facts.NumberOfProcessors = system.dwNumberOfProcessors;
  facts.ProcessorType = system.dwProcessorType;

  facts.ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
  facts.ScreenHeight = GetSystemMetrics(SM_CYSCREEN);

  char directory[MAX_PATH] = {};
  if (GetWindowsDirectoryA(directory, sizeof directory)) {
    facts.WinDir = BufferText(directory, sizeof directory);
  }
  char systemDirectory[MAX_PATH] = {};
  if (GetSystemDirectoryA(systemDirectory, sizeof systemDirectory)) {
    facts.SysDir = BufferText(systemDirectory, sizeof systemDirectory);
  }
  return facts;
}

TSystemInfo::TSystemInfo() {
  timer_.SetIntervalMs(1000);
  timer_.SetOnTick([this] { TimerTick(); });
  SetEnabled(true);
}

TSystemInfo::~TSystemInfo() {
  destroying_ = true;
  timer_.SetEnabled(false);
}

void TSystemInfo::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  timer_.SetEnabled(enabled);
}

bool TSystemInfo::RefreshValues() {
  return ReplaceSystemInfoTexts(
      texts_, MakeSystemInfoTexts(source_(), LocaleFormatSettings(), LocaleThousandSeparator()));
}

void TSystemInfo::TimerTick() {
  // Off while refreshing, so that a slow refresh never overlaps the next tick.
  timer_.SetEnabled(false);
  if (RefreshValues() && onNewValues_) onNewValues_(*this);
  if (!destroying_ && enabled_) timer_.SetEnabled(true);
}

}  // namespace reminder
