#include "BenchSupport.h"

// After <windows.h>, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace reminder::bench {

namespace {

constexpr char kHostClass[] = "ReminderBenchHost";
constexpr DWORD kSettleLimitMs = 20000;

struct WindowSearch {
  const char* className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<WindowSearch*>(context);
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::strcmp(name, search->className) == 0) search->found.push_back(window);
  return TRUE;
}

std::string RowText(HWND list, int row, int column) {
  char text[512] = {};
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return text;
}

}  // namespace

double Milliseconds() {
  static const double perMs = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / perMs;
}

Summary Summarize(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  const size_t n = samples.size();
  if (n == 0) return {};
  const double median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
  return {median, samples.front(), samples.back()};
}

void PrintRow(const char* what, const std::vector<double>& samples) {
  const Summary s = Summarize(samples);
  std::printf("  %-44s n=%-2u median %9.2f ms  min %9.2f ms  max %9.2f ms\n", what,
              static_cast<unsigned>(samples.size()), s.median, s.min, s.max);
  std::fflush(stdout);
}

std::vector<HWND> ThreadWindows(const char* className) {
  WindowSearch search{className, {}};
  EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND MainWindow() {
  const std::vector<HWND> windows = ThreadWindows("TMain");
  return windows.empty() ? nullptr : windows.front();
}

HWND ListOf(HWND main) {
  return main ? FindWindowExA(main, nullptr, WC_LISTVIEWA, nullptr) : nullptr;
}

int RowCount(HWND list) {
  return list ? static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) : -1;
}

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

bool PumpUntil(const std::function<bool()>& done) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > kSettleLimitMs) return false;
    PumpMessages();
    Sleep(1);
  }
  return true;
}

std::vector<std::string> ColumnTexts(HWND list, int column) {
  std::vector<std::string> texts;
  const int rows = RowCount(list);
  texts.reserve(static_cast<size_t>(rows));
  for (int row = 0; row < rows; ++row) texts.push_back(RowText(list, row, column));
  return texts;
}

int SelectEvery(HWND list, int step) {
  LVITEMA selected = {};
  selected.stateMask = LVIS_SELECTED;
  selected.state = LVIS_SELECTED;
  if (step == 1) {
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&selected));
  } else {
    for (int row = 0; row < RowCount(list); row += step) {
      SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&selected));
    }
  }
  PumpMessages();
  return static_cast<int>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0));
}

void SendColumnClick(HWND main, HWND list, int column) {
  NMLISTVIEW click = {};
  click.hdr.hwndFrom = list;
  click.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
  click.hdr.code = LVN_COLUMNCLICK;
  click.iItem = -1;
  click.iSubItem = column;
  SendMessageA(main, WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
}

int CompareUser(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_USER_DEFAULT, 0, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                        static_cast<int>(b.size())) -
         CSTR_EQUAL;
}

bool NoAlertOpen() {
  if (ThreadWindows("ReminderRemindForm").empty()) return true;
  std::printf("ERROR: a reminder fell due; stopping.\n");
  return false;
}

BenchHost::BenchHost(CreateFn create, CloseFn close) : create_(create), close_(close) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kHostClass;
  RegisterClassA(&windowClass);
  window_ = CreateWindowExA(0, kHostClass, "Reminder-Benchmark", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                            100, nullptr, nullptr, GetModuleHandleA(nullptr), this);
}

BenchHost::~BenchHost() {
  if (window_) DestroyWindow(window_);
}

bool BenchHost::Close() const {
  close_();
  return PumpUntil([] { return MainWindow() == nullptr; });
}

LRESULT CALLBACK BenchHost::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* host = reinterpret_cast<BenchHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == kReminderClose && host) {
    host->close_();
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace reminder::bench
