#include "AnswerProbe.h"

#include <algorithm>

#include "BenchSupport.h"

namespace reminder::bench {

namespace {

constexpr UINT kProbeTimeoutMs = 30000;

BOOL CALLBACK ConfirmBox(HWND window, LPARAM confirmed) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpA(name, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  for (int button : {IDYES, IDOK}) {
    if (HWND yes = GetDlgItem(window, button)) {
      PostMessageA(yes, BM_CLICK, 0, 0);
      ++*reinterpret_cast<std::atomic<int>*>(confirmed);
      return FALSE;
    }
  }
  return TRUE;
}

}  // namespace

AnswerProbe::AnswerProbe(HWND window) : window_(window), windowThread_(GetCurrentThreadId()) {
  thread_ = CreateThread(nullptr, 0, &AnswerProbe::Run, this, 0, nullptr);
}

void AnswerProbe::Stop() {
  if (!thread_) return;
  stop_ = true;
  while (WaitForSingleObject(thread_, 1) == WAIT_TIMEOUT) PumpMessages();
  CloseHandle(thread_);
  thread_ = nullptr;
}

DWORD WINAPI AnswerProbe::Run(LPVOID self) {
  static_cast<AnswerProbe*>(self)->Probe();
  return 0;
}

void AnswerProbe::Probe() {
  while (!stop_) {
    EnumThreadWindows(windowThread_, ConfirmBox, reinterpret_cast<LPARAM>(&confirmed_));
    const double sent = Milliseconds();
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, kProbeTimeoutMs, &answer);
    longest_ = std::max(longest_.load(), Milliseconds() - sent);
    Sleep(kIntervalMs);
  }
}

}  // namespace reminder::bench
