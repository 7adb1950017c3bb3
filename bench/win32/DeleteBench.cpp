#include "DeleteBench.h"

// After <windows.h>, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "AnswerProbe.h"
#include "BenchData.h"
#include "core/store/IOUnit.h"
#include "win32/store/Win32DataFile.h"
#include "win32/system/Win32MsgBox.h"

namespace reminder::bench {

namespace {

constexpr double kDeleteLimitMs = 1000;
constexpr double kUnansweredLimitMs = 200;
size_t StoredCount(const std::string& dataFile) {
  TWin32DataFile file;
  TWin32MsgBox box;
  TFileIO store(dataFile, file, box);
  store.Load();
  return store.Count();
}

struct DeleteTimes {
  double own = 0;
  double unanswered = 0;
};

// One delete: a fresh file and window, the selection, then Entf in the list until the list
// is painted again.
bool DeleteOnce(const BenchHost& host, const std::string& dataFile, int count, int step,
                DeleteTimes& times) {
  if (!OpenOnShuffledData(host, dataFile, count)) return false;
  HWND main = MainWindow();
  HWND list = ListOf(main);
  SendMessageA(main, WM_COMMAND, kRestoreCommand, 0);
  UpdateWindow(main);
  // The list selects the row the mouse rests on; the pointer keeps off the window.
  RECT bounds;
  GetWindowRect(main, &bounds);
  SetCursorPos(bounds.right + 10, bounds.bottom + 10);
  PumpMessages();
  const int selected = SelectEvery(list, step);
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
  Sleep(2 * AnswerProbe::kIntervalMs);  // the probe is running before the key comes
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
