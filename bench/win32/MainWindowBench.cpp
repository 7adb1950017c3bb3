// Speed of the main window as a host meets it: how long ZeltoReminderCreate takes to
// return with 10,000 (and 100,000) reminders in the list, and how long a click on a column
// header takes to sort them. Run by hand under Wine; the figures go to docs/benchmarks.md.
//
// The module keeps its data file beside the running program and its settings below
// HKEY_CURRENT_USER. So that neither touches anything but its own scratch, the program
// copies itself and Reminder.dll into a fresh directory below %TEMP%, runs the copy there
// (which redirects HKEY_CURRENT_USER to a scratch key for its own process), and removes
// the directory when the copy has ended.
#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/store/DataFileFormat.h"
#include "core/store/IOUnit.h"
#include "core/store/NotifyInfo.h"
#include "win32/host/RegistryRemover.h"
#include "win32/store/Win32DataFile.h"
#include "win32/system/Win32Clock.h"
#include "win32/system/Win32MsgBox.h"

namespace reminder {
namespace {

constexpr char kRunSwitch[] = "--in-scratch";
constexpr char kModuleName[] = "Reminder.dll";
constexpr char kHostClass[] = "ReminderBenchHost";
constexpr char kScratchKey[] = "Software\\ReminderBench";
constexpr UINT kReminderClose = 32002;   // WM_REMINDERCLOSE, posted by the module to its host
constexpr WPARAM kRestoreCommand = 109;  // the main window's "Anzeigen"
constexpr DWORD kSettleLimitMs = 20000;

using CreateFn = bool(__stdcall*)(DWORD, HWND);
using CloseFn = void(__stdcall*)();

// ---- Timing -------------------------------------------------------------------------

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

struct Summary {
  double median = 0;
  double min = 0;
  double max = 0;
};

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

// ---- The data file --------------------------------------------------------------------

const char* const kTexts[] = {
    "Zahnarzttermin vereinbaren",
    "Geburtstag von Jürgen Müller",
    "Steuererklärung abgeben",
    "Kfz-Versicherung kündigen",
    "Auto zum TÜV bringen",
    "Blumen gießen",
    "Müll rausstellen",
    "Miete überweisen",
    "Ölwechsel fällig",
    "Abo für Zeitschrift prüfen",
    "anrufen: Oma Käthe",
    "Backup der Festplatte",
    "Rechnung Nr. 2024-117 zahlen",
    "Elternabend Schule",
    "Führerschein verlängern",
};

// A realistic mix in which nothing falls due while the program runs: pending date
// reminders lie at least two days ahead of their warning, finished ones in the past, and
// the actions that restart or shut down the system or start programs are kept to
// reminders that are only stored.
TNotifyInfo MixedRecord(int i, TDateTime now) {
  TNotifyInfo r;
  r.NotifyText = std::string(kTexts[i % (sizeof kTexts / sizeof kTexts[0])]) + " #" +
                 std::to_string((i * 7919) % 100003);
  const TDateTime future = now + 2 + 7 + (i * 37) % 700 + EncodeTime(i % 24, (i * 7) % 60, 0, 0);
  const TDateTime past = now - 1 - (i * 53) % 900 + EncodeTime((i * 5) % 24, i % 60, 0, 0);
  r.NotifyKind = nkAtDate;
  r.ActionKind = static_cast<uint8_t>(1 + i % 5);  // warning, mail, web, program, document
  switch (r.ActionKind) {
    case akWarning:
      r.DaysBefore = i % 8;
      break;
    case akEmail:
      r.ActionParam = "jemand" + std::to_string(i % 97) + "@example.org";
      break;
    case akWebsite:
      r.ActionParam = "https://www.example.org/seite/" + std::to_string(i % 31);
      break;
    case akProgram:
      r.ActionParam = "C:\\Programme\\Werkzeug\\werkzeug.exe";
      break;
    default:
      r.ActionParam = "C:\\Eigene Dateien\\Brief " + std::to_string(i % 13) + ".doc";
      break;
  }
  switch (i % 10) {
    case 0:
    case 1:
    case 2:
      r.RepeatKind = rkOnce;
      r.NotifyDate = future;
      break;
    case 3:
    case 4:
      r.RepeatKind = rkOnce;
      r.NotifyDate = past;
      r.Notified = 1;
      break;
    case 5:
      r.RepeatKind = rkDaily;
      r.NotifyDate = future;
      break;
    case 6:
      r.RepeatKind = rkWeekly;
      r.NotifyDate = future;
      break;
    case 7:
      r.RepeatKind = rkMonthly;
      r.NotifyDate = future;
      break;
    case 8:
      r.RepeatKind = rkYearly;
      r.NotifyDate = future;
      break;
    default:
      if (i % 20 == 19) {
        // Waits for the next dial-up connection; none comes while the program runs.
        r.NotifyKind = nkDialUp;
        r.RepeatKind = rkOnce;
        r.NotifyDate = past;
        break;
      }
      // Only stored: the one place for every action, those that change the system too.
      r.NotifyKind = nkNever;
      r.NotifyDate = past;
      r.ActionKind = static_cast<uint8_t>(i % kActionCount);
      r.RepeatKind = static_cast<uint8_t>((i / 10) % kRepeatCount);
      break;
  }
  return r;
}

bool WriteDataFile(const std::string& path, int count) {
  TWin32Clock clock;
  const TDateTime now = clock.Now();
  std::string bytes;
  for (int i = 0; i < count; ++i) EncodeRecord(bytes, MixedRecord(i, now));
  TWin32DataFile file;
  return file.Replace(path, bytes);
}

// ---- Windows of this thread -------------------------------------------------------------

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

// Pumps this thread's messages until done() holds; false when the limit passed first.
bool PumpUntil(const std::function<bool()>& done) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > kSettleLimitMs) return false;
    PumpMessages();
    Sleep(1);
  }
  return true;
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

std::vector<std::string> ColumnTexts(HWND list, int column) {
  std::vector<std::string> texts;
  const int rows = RowCount(list);
  texts.reserve(static_cast<size_t>(rows));
  for (int row = 0; row < rows; ++row) texts.push_back(RowText(list, row, column));
  return texts;
}

int CompareUser(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_USER_DEFAULT, 0, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                        static_cast<int>(b.size())) -
         CSTR_EQUAL;
}

// ---- The host ---------------------------------------------------------------------------

// What a host needs: a window that answers WM_REMINDERCLOSE with the close call.
class BenchHost {
 public:
  BenchHost(CreateFn create, CloseFn close) : create_(create), close_(close) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kHostClass;
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(0, kHostClass, "Reminder-Benchmark", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                              100, nullptr, nullptr, GetModuleHandleA(nullptr), this);
  }
  ~BenchHost() {
    if (window_) DestroyWindow(window_);
  }
  HWND Window() const { return window_; }
  bool Create() const { return create_(0, window_); }
  // The close call, then the queue until the main window is gone.
  bool Close() const {
    close_();
    return PumpUntil([] { return MainWindow() == nullptr; });
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
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

  CreateFn create_;
  CloseFn close_;
  HWND window_ = nullptr;
};

// ---- The measurements -------------------------------------------------------------------

// False when an alert opened: the data must have nothing due, and nothing may be carried out.
bool NoAlertOpen() {
  if (ThreadWindows("ReminderRemindForm").empty()) return true;
  std::printf("ERROR: a reminder fell due; stopping.\n");
  return false;
}

// The store's Load of the same file in this process, the yardstick for the window's creation.
double MedianLoad(const std::string& dataFile, int repetitions) {
  std::vector<double> loads;
  for (int i = 0; i < repetitions; ++i) {
    TWin32DataFile file;
    TWin32MsgBox box;
    TFileIO store(dataFile, file, box);
    const double start = Milliseconds();
    store.Load();
    loads.push_back(Milliseconds() - start);
  }
  PrintRow("the store's Load of the same file", loads);
  return Summarize(loads).median;
}

bool BenchCreate(const BenchHost& host, const std::string& dataFile, int count, int repetitions) {
  std::vector<double> create;
  std::vector<double> close;
  for (int i = 0; i <= repetitions; ++i) {
    const double start = Milliseconds();
    const bool created = host.Create();
    const double returned = Milliseconds();
    const int rows = RowCount(ListOf(MainWindow()));
    if (!created || rows != count) {
      std::printf("ERROR: ZeltoReminderCreate gave %d with %d rows instead of %d.\n", created, rows,
                  count);
      host.Close();
      return false;
    }
    if (!NoAlertOpen()) {
      host.Close();
      return false;
    }
    const double closing = Milliseconds();
    if (!host.Close()) {
      std::printf("ERROR: the main window outlived ZeltoReminderClose.\n");
      return false;
    }
    const double closed = Milliseconds();
    if (i == 0) {
      // The first call also registers the window classes and builds the image lists.
      std::printf("  %-44s %9.2f ms\n", "ZeltoReminderCreate, first call", returned - start);
      continue;
    }
    create.push_back(returned - start);
    close.push_back(closed - closing);
  }
  PrintRow("ZeltoReminderCreate until it returns", create);
  PrintRow("ZeltoReminderClose and the queue until gone", close);
  const double load = MedianLoad(dataFile, repetitions);
  std::printf("  %-44s %9.2f\n", "create / Load (target: at most 2)",
              Summarize(create).median / load);
  return true;
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

// Whether the column's texts stand in the order the click asked for.
bool InOrder(HWND list, int column, bool descending) {
  const std::vector<std::string> texts = ColumnTexts(list, column);
  for (size_t i = 1; i < texts.size(); ++i) {
    const int order = CompareUser(texts[i - 1], texts[i]);
    if (descending ? order < 0 : order > 0) return false;
  }
  return true;
}

// The column clicks: the main window keeps one toggle for the whole list, so the first
// click after an odd number of clicks sorts ascending. Before each timed click the list is
// sorted by another column, so that no timed sort starts from an order it has made itself.
// slowest: for each column, the larger median of its two directions with repaint.
bool BenchSort(HWND main, int repetitions, bool verify, double slowest[4]) {
  HWND list = ListOf(main);
  int clicks = 0;  // the toggle was reset by the fill
  const char* const names[] = {"Termin", "Erinnern an...", "Aktion", "Wie oft?"};
  for (int column = 0; column < 4; ++column) {
    for (const bool descending : {true, false}) {
      std::vector<double> handler;
      std::vector<double> painted;
      for (int i = 0; i < repetitions; ++i) {
        const int other = (column + 1 + i % 3) % 4;
        SendColumnClick(main, list, other);
        ++clicks;
        const bool nextDescending = clicks % 2 == 0;
        if (nextDescending != descending) {
          SendColumnClick(main, list, other);
          ++clicks;
        }
        UpdateWindow(list);
        PumpMessages();
        const double start = Milliseconds();
        SendColumnClick(main, list, column);
        const double sorted = Milliseconds();
        UpdateWindow(list);
        const double shown = Milliseconds();
        ++clicks;
        handler.push_back(sorted - start);
        painted.push_back(shown - start);
        if (verify && column > 0 && i == 0 && !InOrder(list, column, descending)) {
          std::printf("ERROR: column \"%s\" is not in order after the click.\n", names[column]);
          return false;
        }
      }
      char what[96];
      std::snprintf(what, sizeof what, "\"%s\" %s, handler", names[column],
                    descending ? "descending" : "ascending");
      PrintRow(what, handler);
      std::snprintf(what, sizeof what, "\"%s\" %s, with repaint", names[column],
                    descending ? "descending" : "ascending");
      PrintRow(what, painted);
      slowest[column] = std::max(slowest[column], Summarize(painted).median);
    }
  }
  return true;
}

// Where a sort's time goes: the column's texts, in the order the list holds them now,
// sorted as the list sorts them (one locale comparison per pair), with the locale's sort
// keys made once per row, and bytewise.
void BenchCompareCost(HWND list, int column) {
  const std::vector<std::string> texts = ColumnTexts(list, column);
  std::vector<size_t> order(texts.size());
  auto reset = [&] {
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  };
  long comparisons = 0;
  reset();
  double start = Milliseconds();
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    ++comparisons;
    return CompareUser(texts[a], texts[b]) < 0;
  });
  const double locale = Milliseconds() - start;

  reset();
  start = Milliseconds();
  std::vector<std::string> keys;
  keys.reserve(texts.size());
  for (const std::string& text : texts) {
    const int size = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text.c_str(),
                                  static_cast<int>(text.size()), nullptr, 0);
    std::string key(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
      LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text.c_str(), static_cast<int>(text.size()),
                   &key[0], size);
    }
    keys.push_back(std::move(key));
  }
  const double keyed = Milliseconds();
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return std::strcmp(keys[a].c_str(), keys[b].c_str()) < 0;
  });
  const double keySorted = Milliseconds();

  reset();
  const double plainStart = Milliseconds();
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return texts[a] < texts[b]; });
  const double plain = Milliseconds() - plainStart;

  std::printf(
      "  column %d, %u texts: %ld comparisons; CompareStringA each %.2f ms (%.2f us per"
      " comparison);\n    sort keys %.2f ms to make + %.2f ms to sort; bytewise %.2f ms\n",
      column, static_cast<unsigned>(texts.size()), comparisons, locale,
      1000.0 * locale / static_cast<double>(comparisons ? comparisons : 1), keyed - start,
      keySorted - keyed, plain);
  std::fflush(stdout);
}

bool BenchCount(const BenchHost& host, const std::string& dataFile, int count, int createReps,
                int sortReps) {
  std::printf("\n%d reminders\n", count);
  if (!WriteDataFile(dataFile, count)) {
    std::printf("ERROR: cannot write %s.\n", dataFile.c_str());
    return false;
  }
  if (!BenchCreate(host, dataFile, count, createReps)) return false;

  if (!host.Create() || !NoAlertOpen()) {
    host.Close();
    return false;
  }
  HWND main = MainWindow();
  // The window as the user opens it from the tray: shown, with one row selected.
  const double showStart = Milliseconds();
  SendMessageA(main, WM_COMMAND, kRestoreCommand, 0);
  UpdateWindow(main);
  UpdateWindow(ListOf(main));
  std::printf("  %-44s %9.2f ms\n", "\"Anzeigen\" until the list is painted",
              Milliseconds() - showStart);
  LVITEMA selection = {};
  selection.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  selection.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(ListOf(main), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&selection));
  PumpMessages();
  double slowest[4] = {0, 0, 0, 0};
  const bool sorted = BenchSort(main, sortReps, count <= 10000, slowest);
  if (sorted) {
    std::printf(
        "  a click with repaint against a plain bytewise std::sort of the column's"
        " texts (target: at most 3):\n");
    for (int column = 0; column < 4; ++column) {
      std::vector<double> plain;
      const std::vector<std::string> texts = ColumnTexts(ListOf(main), column);
      for (int i = 0; i < sortReps; ++i) {
        std::vector<std::string> copy = texts;
        const double start = Milliseconds();
        std::sort(copy.begin(), copy.end());
        plain.push_back(Milliseconds() - start);
      }
      const double median = Summarize(plain).median;
      std::printf("    column %d: click %.2f ms, std::sort %.2f ms, ratio %.2f\n", column,
                  slowest[column], median, slowest[column] / median);
    }
    std::printf("  where a sort's time goes (the list now sorted by \"Wie oft?\"):\n");
    for (int column = 1; column < 4; ++column) BenchCompareCost(ListOf(main), column);
  }
  return host.Close() && sorted;
}

void PrintSetting(const char* what, const std::string& value) {
  std::printf("%-22s %s\n", what, value.c_str());
}

int RunInScratch(const std::vector<int>& counts) {
  // Everything the module reads or writes below HKEY_CURRENT_USER lands in a scratch key.
  const std::string scratchKey =
      std::string(kScratchKey) + "\\" + std::to_string(GetCurrentProcessId());
  HKEY scratch = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, scratchKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &scratch, nullptr) != ERROR_SUCCESS ||
      RegOverridePredefKey(HKEY_CURRENT_USER, scratch) != ERROR_SUCCESS) {
    std::printf("ERROR: no scratch registry key.\n");
    return 1;
  }
  int result = 1;
  HMODULE module = LoadLibraryA(kModuleName);
  auto create = module ? reinterpret_cast<CreateFn>(
                             reinterpret_cast<void*>(GetProcAddress(module, "ZeltoReminderCreate")))
                       : nullptr;
  auto close = module ? reinterpret_cast<CloseFn>(
                            reinterpret_cast<void*>(GetProcAddress(module, "ZeltoReminderClose")))
                      : nullptr;
  if (create && close) {
    char programPath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, programPath, MAX_PATH);
    std::string dataFile = programPath;
    dataFile = dataFile.substr(0, dataFile.find_last_of('\\') + 1) + "Reminder.dat";
    PrintSetting("data file:", dataFile);
    BenchHost host(create, close);
    result = 0;
    for (int count : counts) {
      const bool large = count > 10000;
      if (!BenchCount(host, dataFile, count, large ? 3 : 7, large ? 1 : 5)) result = 1;
    }
    PumpMessages();
  } else {
    std::printf("ERROR: %s or its exports are missing.\n", kModuleName);
  }
  if (module) FreeLibrary(module);
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  RegCloseKey(scratch);
  DeleteRegistryTree(HKEY_CURRENT_USER, scratchKey);
  RegDeleteKeyA(HKEY_CURRENT_USER, kScratchKey);  // only when no other run still uses it
  return result;
}

// ---- The scratch directory --------------------------------------------------------------

std::string ProgramDirectory() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string directory = path;
  return directory.substr(0, directory.find_last_of('\\') + 1);
}

void RemoveDirectoryWithFiles(const std::string& directory) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((directory + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA((directory + found.cFileName).c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(directory.c_str());
}

int RunFromScratch(const std::string& arguments) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string directory =
      std::string(temp) + "ReminderBench-" + std::to_string(GetCurrentProcessId()) + "\\";
  const std::string program = directory + "main_window_bench.exe";
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  if (!CreateDirectoryA(directory.c_str(), nullptr) || !CopyFileA(self, program.c_str(), TRUE) ||
      !CopyFileA((ProgramDirectory() + kModuleName).c_str(), (directory + kModuleName).c_str(),
                 TRUE)) {
    std::printf("ERROR: cannot set up the scratch directory %s.\n", directory.c_str());
    RemoveDirectoryWithFiles(directory);
    return 1;
  }
  std::fflush(stdout);
  std::string commandLine = "\"" + program + "\" " + kRunSwitch + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  DWORD exitCode = 1;
  if (CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                     directory.c_str(), &startup, &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  } else {
    std::printf("ERROR: %s does not start.\n", program.c_str());
  }
  RemoveDirectoryWithFiles(directory);
  return static_cast<int>(exitCode);
}

}  // namespace
}  // namespace reminder

// Arguments: the numbers of reminders to measure (10000 and 100000 when none are given).
int main(int argc, char** argv) {
  using namespace reminder;
  const bool inScratch = argc > 1 && std::strcmp(argv[1], kRunSwitch) == 0;
  std::vector<int> counts;
  std::string arguments;
  for (int i = inScratch ? 2 : 1; i < argc; ++i) {
    counts.push_back(std::atoi(argv[i]));
    arguments += std::string(" ") + argv[i];
  }
  if (!inScratch) return RunFromScratch(arguments);
  if (counts.empty()) counts = {10000, 100000};
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  return RunInScratch(counts);
}
