#include "CreateSortBench.h"

// After <windows.h>, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "BenchData.h"
#include "core/store/IOUnit.h"
#include "win32/store/Win32DataFile.h"
#include "win32/system/Win32MsgBox.h"

namespace reminder::bench {

namespace {

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

}  // namespace

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

}  // namespace reminder::bench
