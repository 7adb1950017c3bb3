// What every scenario of the main window's benchmark needs: a clock, summaries of samples,
// the windows of this thread and their list, a message pump, and the host that loads the
// module as a host program does.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace reminder::bench {

constexpr UINT kReminderClose = 32002;   // WM_REMINDERCLOSE, posted by the module to its host
constexpr WPARAM kRestoreCommand = 109;  // the main window's "Anzeigen"

using CreateFn = bool(__stdcall*)(DWORD, HWND);
using CloseFn = void(__stdcall*)();

double Milliseconds();

struct Summary {
  double median = 0;
  double min = 0;
  double max = 0;
};

Summary Summarize(std::vector<double> samples);
void PrintRow(const char* what, const std::vector<double>& samples);

std::vector<HWND> ThreadWindows(const char* className);
// The module's main window on this thread, or null.
HWND MainWindow();
HWND ListOf(HWND main);
int RowCount(HWND list);
void PumpMessages();
// Pumps this thread's messages until done() holds; false when the limit passed first.
bool PumpUntil(const std::function<bool()>& done);
std::vector<std::string> ColumnTexts(HWND list, int column);
// Selects every row (step 1) or every step-th row, as Strg+A or clicks with Strg would;
// returns the list's selected count.
int SelectEvery(HWND list, int step);
// What a click on the column's header delivers to the main window.
void SendColumnClick(HWND main, HWND list, int column);
// CompareStringA in the user's locale, as -1, 0 or 1.
int CompareUser(const std::string& a, const std::string& b);
// False when an alert opened: the data must have nothing due, and nothing may be carried out.
bool NoAlertOpen();

// What a host needs: a window that answers WM_REMINDERCLOSE with the close call.
class BenchHost {
 public:
  BenchHost(CreateFn create, CloseFn close);
  ~BenchHost();
  BenchHost(const BenchHost&) = delete;
  BenchHost& operator=(const BenchHost&) = delete;

  HWND Window() const { return window_; }
  bool Create() const { return create_(0, window_); }
  // The close call, then the queue until the main window is gone.
  bool Close() const;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  CreateFn create_;
  CloseFn close_;
  HWND window_ = nullptr;
};

}  // namespace reminder::bench
