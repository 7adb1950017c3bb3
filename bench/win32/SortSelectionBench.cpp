#include "SortSelectionBench.h"

// After <windows.h>, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "AnswerProbe.h"
#include "BenchData.h"

namespace reminder::bench {

namespace {

constexpr double kUnansweredLimitMs = 200;
constexpr double kSortTargetRatio = 3;
constexpr int kDateColumn = 0;
constexpr int kTextColumn = 1;

// What the user sees of a selection. Every reminder of the benchmark's data has a text of
// its own, so the texts name the reminders.
struct SelectionView {
  std::vector<std::string> selected;  // in byte order
  std::string focused;
  int top = -1;
};

SelectionView ViewOf(HWND list) {
  SelectionView view;
  const std::vector<std::string> texts = ColumnTexts(list, kTextColumn);
  const int rows = static_cast<int>(texts.size());
  for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row >= 0 && row < rows;
       row = ListView_GetNextItem(list, row, LVNI_SELECTED)) {
    view.selected.push_back(texts[static_cast<size_t>(row)]);
  }
  std::sort(view.selected.begin(), view.selected.end());
  const int focused = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
  if (focused >= 0 && focused < rows) view.focused = texts[static_cast<size_t>(focused)];
  view.top = ListView_GetTopIndex(list);
  return view;
}

// Reports what differs; true when nothing does.
bool SameView(const SelectionView& before, const SelectionView& after) {
  bool same = true;
  if (after.selected != before.selected) {
    std::printf("ERROR: %u reminders selected after the click, %u before, not the same.\n",
                static_cast<unsigned>(after.selected.size()),
                static_cast<unsigned>(before.selected.size()));
    same = false;
  }
  if (after.focused != before.focused) {
    std::printf("ERROR: the focus moved from \"%s\" to \"%s\".\n", before.focused.c_str(),
                after.focused.c_str());
    same = false;
  }
  if (after.top != before.top) {
    std::printf("ERROR: the first visible row moved from %d to %d.\n", before.top, after.top);
    same = false;
  }
  return same;
}

// The window shown, the pointer off it (the list selects the row it rests on), every second
// row selected, the focus on a selected row in the middle and the view scrolled to it.
bool PrepareSelection(HWND main, HWND list, int count) {
  SendMessageA(main, WM_COMMAND, kRestoreCommand, 0);
  UpdateWindow(main);
  RECT bounds;
  GetWindowRect(main, &bounds);
  SetCursorPos(bounds.right + 10, bounds.bottom + 10);
  PumpMessages();
  const int selected = SelectEvery(list, 2);
  if (selected != (count + 1) / 2) {
    std::printf("ERROR: %d rows selected instead of %d.\n", selected, (count + 1) / 2);
    return false;
  }
  const int middle = count / 2 & ~1;
  ListView_SetItemState(list, middle, LVIS_FOCUSED, LVIS_FOCUSED);
  ListView_EnsureVisible(list, middle, FALSE);
  SetFocus(list);
  UpdateWindow(list);
  PumpMessages();
  return true;
}

double MedianPlainSort(HWND list, int repetitions) {
  const std::vector<std::string> texts = ColumnTexts(list, kTextColumn);
  std::vector<double> plain;
  for (int i = 0; i < repetitions; ++i) {
    std::vector<std::string> copy = texts;
    const double start = Milliseconds();
    std::sort(copy.begin(), copy.end());
    plain.push_back(Milliseconds() - start);
  }
  PrintRow("std::sort of the same texts", plain);
  return Summarize(plain).median;
}

}  // namespace

bool BenchSortSelection(const BenchHost& host, const std::string& dataFile, int count,
                        int repetitions) {
  std::printf("\nsort with every second row selected, %d reminders in random order\n", count);
  if (!OpenOnShuffledData(host, dataFile, count)) return false;
  HWND main = MainWindow();
  HWND list = ListOf(main);
  bool fine = PrepareSelection(main, list, count);
  const SelectionView before = fine ? ViewOf(list) : SelectionView{};
  std::vector<double> own;
  std::vector<double> unanswered;
  int differing = 0;
  int clicks = 0;  // the fill reset the list's toggle: the next click sorts descending
  for (int i = 0; fine && i < 2 * repetitions; ++i) {
    // Each timed click starts from the date order, in the direction it is due for.
    const bool descending = i % 2 == 0;
    SendColumnClick(main, list, kDateColumn);
    ++clicks;
    if ((clicks % 2 == 0) != descending) {
      SendColumnClick(main, list, kDateColumn);
      ++clicks;
    }
    UpdateWindow(list);
    PumpMessages();

    AnswerProbe probe(main);
    Sleep(2 * AnswerProbe::kIntervalMs);  // the probe is running before the click comes
    const double start = Milliseconds();
    SendColumnClick(main, list, kTextColumn);
    UpdateWindow(main);
    UpdateWindow(list);
    own.push_back(Milliseconds() - start);
    ++clicks;
    probe.Stop();
    unanswered.push_back(probe.LongestWait());
    // A click that loses the selection is still timed, so that a fault shows with its cost.
    if (!SameView(before, ViewOf(list))) ++differing;
    fine = NoAlertOpen();
  }
  if (fine) {
    PrintRow("click \"Erinnern an...\" until painted", own);
    PrintRow("longest wait for an answer", unanswered);
    const double target = kSortTargetRatio * MedianPlainSort(list, repetitions);
    std::printf("  %-44s %9.2f (own time / 3 x std::sort), %.2f (wait / 200 ms)\n",
                "every second row selected", Summarize(own).median / target,
                Summarize(unanswered).median / kUnansweredLimitMs);
  }
  if (differing > 0) std::printf("ERROR: %d clicks changed what is selected.\n", differing);
  return host.Close() && fine && differing == 0;
}

}  // namespace reminder::bench
