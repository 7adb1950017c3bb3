#include "DeleteBench.h"

// After <windows.h>, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

#include "BenchData.h"
#include "core/store/IOUnit.h"
#include "win32/store/Win32DataFile.h"
#include "win32/system/Win32MsgBox.h"

namespace reminder::bench {

namespace {

constexpr double kDeleteLimitMs = 1000;
constexpr double kUnansweredLimitMs = 200;
constexpr DWORD kProbeIntervalMs = 10;
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

// A second thread that asks the main window for an answer (WM_NULL) every 10 ms and keeps
// the longest wait: while the window's thread does not answer, it does not repaint either.
// A stall shows as a wait at most one interval shorter than the stall.
// A question box that opens on that thread is answered "Ja", as the user would.
class AnswerProbe {
 public:
  explicit AnswerProbe(HWND window) : window_(window), windowThread_(GetCurrentThreadId()) {
    thread_ = CreateThread(nullptr, 0, &AnswerProbe::Run, this, 0, nullptr);
  }
  ~AnswerProbe() { Stop(); }
  AnswerProbe(const AnswerProbe&) = delete;
  AnswerProbe& operator=(const AnswerProbe&) = delete;

  // Ends the probe. Its last WM_NULL waits for the window's thread, which therefore pumps
  // while it waits for the probe to end.
  void Stop() {
    if (!thread_) return;
    stop_ = true;
    while (WaitForSingleObject(thread_, 1) == WAIT_TIMEOUT) PumpMessages();
    CloseHandle(thread_);
    thread_ = nullptr;
  }
  double LongestWait() const { return longest_; }
  int Confirmed() const { return confirmed_; }

 private:
  static DWORD WINAPI Run(LPVOID self) {
    static_cast<AnswerProbe*>(self)->Probe();
    return 0;
  }
  void Probe() {
    while (!stop_) {
      EnumThreadWindows(windowThread_, ConfirmBox, reinterpret_cast<LPARAM>(&confirmed_));
      const double sent = Milliseconds();
      DWORD_PTR answer = 0;
      SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, kProbeTimeoutMs, &answer);
      longest_ = std::max(longest_.load(), Milliseconds() - sent);
      Sleep(kProbeIntervalMs);
    }
  }

  HWND window_;
  DWORD windowThread_;
  HANDLE thread_ = nullptr;
  std::atomic<bool> stop_{false};
  std::atomic<double> longest_{0};
  std::atomic<int> confirmed_{0};
};

size_t StoredCount(const std::string& dataFile) {
  TWin32DataFile file;
  TWin32MsgBox box;
  TFileIO store(dataFile, file, box);
  store.Load();
  return store.Count();
}

// Selects every row (step 1) or every step-th row, as Strg+A or clicks with Strg would.
int SelectRows(HWND list, int step) {
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

struct DeleteTimes {
  double own = 0;
  double unanswered = 0;
};

// One delete: a fresh file and window, the selection, then Entf in the list until the list
// is painted again.
bool DeleteOnce(const BenchHost& host, const std::string& dataFile, int count, int step,
                DeleteTimes& times) {
  if (!WriteDataFile(dataFile, count, TRecordOrder::Shuffled)) {
    std::printf("ERROR: cannot write %s.\n", dataFile.c_str());
    return false;
  }
  if (!host.Create() || !NoAlertOpen()) {
    host.Close();
    return false;
  }
  HWND main = MainWindow();
  HWND list = ListOf(main);
  SendMessageA(main, WM_COMMAND, kRestoreCommand, 0);
  UpdateWindow(main);
  // The list selects the row the mouse rests on; the pointer keeps off the window.
  RECT bounds;
  GetWindowRect(main, &bounds);
  SetCursorPos(bounds.right + 10, bounds.bottom + 10);
  PumpMessages();
  const int selected = SelectRows(list, step);
  const int expected = (count + step - 1) / step;
  if (selected != expected) {
    std::printf("ERROR: %d rows selected instead of %d.\n", selected, expected);
    host.Close();
    return false;
  }
  SetFocus(list);
  UpdateWindow(list);
  PumpMessages();

  AnswerProbe probe(main);
  Sleep(2 * kProbeIntervalMs);  // the probe is running before the key comes
  const double start = Milliseconds();
  PostMessageA(list, WM_KEYDOWN, VK_DELETE, 1);
  PumpMessages();
  UpdateWindow(main);
  UpdateWindow(list);
  times.own = Milliseconds() - start;
  probe.Stop();
  times.unanswered = probe.LongestWait();

  const int rows = RowCount(list);
  const size_t stored = StoredCount(dataFile);
  bool fine = rows == count - expected && stored == static_cast<size_t>(rows);
  if (!fine) {
    std::printf("ERROR: %d rows and %u stored after the delete, %d expected.\n", rows,
                static_cast<unsigned>(stored), count - expected);
  }
  if (probe.Confirmed() > 0) std::printf("  (a question box was answered \"Ja\")\n");
  fine = NoAlertOpen() && fine;
  return host.Close() && fine;
}

}  // namespace

bool BenchDelete(const BenchHost& host, const std::string& dataFile, int count, int repetitions) {
  std::printf("\ndelete, %d reminders in random order\n", count);
  struct Case {
    const char* name;
    int step;
  };
  for (const Case& c : {Case{"every row", 1}, Case{"every second row", 2}}) {
    std::vector<double> own;
    std::vector<double> unanswered;
    for (int i = 0; i < repetitions; ++i) {
      DeleteTimes times;
      if (!DeleteOnce(host, dataFile, count, c.step, times)) return false;
      own.push_back(times.own);
      unanswered.push_back(times.unanswered);
    }
    char what[96];
    std::snprintf(what, sizeof what, "%s: Entf until painted", c.name);
    PrintRow(what, own);
    std::snprintf(what, sizeof what, "%s: longest wait for an answer", c.name);
    PrintRow(what, unanswered);
    std::printf("  %-44s %9.2f (own time / 1000 ms), %.2f (wait / 200 ms)\n", c.name,
                Summarize(own).median / kDeleteLimitMs,
                Summarize(unanswered).median / kUnansweredLimitMs);
  }
  return true;
}

}  // namespace reminder::bench
