#include <algorithm>

#include "win32/support/MainWindowFixture.h"

namespace reminder {
namespace {

TEST_F(MainWindowTest, DeleteKeyRemovesEverySelectedRecordAndRewritesTheFile) {
  Prepare({{kFuture, "eins", 0, 1, false},
           {kFuture + 1, "zwei", 0, 1, false},
           {kFuture + 2, "drei", 0, 1, false},
           {kFuture + 3, "vier", 0, 1, false},
           {kFuture + 4, "fünf", 0, 1, false}});
  TMain& main = Create();
  Select(1);
  Select(2);
  Select(3);
  Key(List(), VK_DELETE);
  ASSERT_EQ(main.LV().Count(), 2);
  EXPECT_EQ(Cell(0, 1), "eins");
  EXPECT_EQ(Cell(1, 1), "fünf");
  EXPECT_EQ(main.Scheduler().Count(), 2u);
  EXPECT_TRUE(main.Scheduler().Enabled());

  TWin32DataFile file;
  TWin32MsgBox box;
  TFileIO reread(DataFile(), file, box);
  reread.Load();
  ASSERT_EQ(reread.Count(), 2u);
  EXPECT_EQ(reread.Item(1).NotifyText, "fünf");
}

TEST_F(MainWindowTest, DeletingABigSelectionKeepsExactlyTheOtherRowsUnselected) {
  std::vector<std::string> texts;
  for (int i = 0; i < 300; ++i) texts.push_back("Nr. " + std::to_string(1000 + i));
  std::vector<Prepared> records;
  for (int i = 0; i < 300; ++i) records.push_back({kFuture + i, texts[i].c_str(), 0, 1, false});
  Prepare(records);
  TMain& main = Create();
  for (int i = 0; i < 300; i += 2) Select(i);  // more than the list clears row by row
  Key(List(), VK_DELETE);
  TWin32DataFile file;
  TWin32MsgBox box;
  TFileIO reread(DataFile(), file, box);
  reread.Load();
  ASSERT_EQ(main.LV().Count(), 150);
  ASSERT_EQ(reread.Count(), 150u);
  for (int i = 0; i < 150; ++i) {
    EXPECT_EQ(Cell(i, 1), texts[2 * i + 1]);
    EXPECT_EQ(reread.Item(i).NotifyText, texts[2 * i + 1]);
  }
  // No selection of the deleted rows lingers on those that took their places.
  EXPECT_EQ(main.LV().SelectedCount(), 0);
  Select(0);
  EXPECT_EQ(main.LV().SelectedCount(), 1);

  Select(-1);
  Key(List(), VK_DELETE);
  EXPECT_EQ(main.LV().Count(), 0);
  reread.Load();
  EXPECT_EQ(reread.Count(), 0u);
}

// More rows selected than the list clears one by one, alone and in runs of 2, 3 and 30
// rows, with the focus and the anchor of Shift+click on rows of their own and the view
// scrolled down: sorts and a refill keep all of it with its reminders, and the window's
// bars follow the selection.
TEST_F(MainWindowTest, SortingAndRefillingKeepAScatteredSelectionWithItsReminders) {
  std::vector<std::string> texts;
  std::vector<Prepared> records;
  for (int i = 0; i < 300; ++i) texts.push_back("Nr. " + std::to_string(1000 + i));
  for (int i = 0; i < 300; ++i) {
    // The dates stand in another order than the texts.
    records.push_back({kFuture + (i * 7) % 300, texts[i].c_str(), 0, 1, i == 299});
  }
  Prepare(records);
  TMain& main = Create();
  for (int i = 0; i < 300; ++i) {
    if ((i >= 200 && i < 230) || i % 11 == 0 || i % 11 == 2 || i % 11 == 3 || i % 11 == 5 ||
        i % 11 == 6 || i % 11 == 7) {
      Select(i);
    }
  }
  ListView_SetItemState(List(), 151, LVIS_FOCUSED, LVIS_FOCUSED);
  ListView_SetSelectionMark(List(), 90);
  ListView_EnsureVisible(List(), 200, FALSE);
  const int top = ListView_GetTopIndex(List());
  ASSERT_GT(top, 100);
  EXPECT_EQ(Status(), "Noch keine Erinnerung durchgeführt!");
  const auto selectedTexts = [&] {
    std::vector<std::string> selected;
    for (int row = ListView_GetNextItem(List(), -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(List(), row, LVNI_SELECTED)) {
      selected.push_back(Cell(row, 1));
    }
    std::sort(selected.begin(), selected.end());
    return selected;
  };
  const std::vector<std::string> before = selectedTexts();
  ASSERT_EQ(before.size(), 177u);
  const auto expectKept = [&] {
    EXPECT_EQ(selectedTexts(), before);
    EXPECT_EQ(Cell(ListView_GetNextItem(List(), -1, LVNI_FOCUSED), 1), "Nr. 1151");
    EXPECT_EQ(Cell(ListView_GetSelectionMark(List()), 1), "Nr. 1090");
    EXPECT_EQ(ListView_GetTopIndex(List()), top);
  };

  ClickColumn(1);  // descending: "Nr. 1299", finished, is the first selected row
  ASSERT_EQ(Cell(0, 1), "Nr. 1299");
  expectKept();
  EXPECT_EQ(Status(), "Erinnerung durchgeführt.");
  EXPECT_TRUE(main.ToolBar().ButtonEnabled(cmChange));
  EXPECT_TRUE(main.ToolBar().ButtonEnabled(cmDelete));

  ClickColumn(1);
  ASSERT_EQ(Cell(0, 1), "Nr. 1000");
  expectKept();
  EXPECT_EQ(Status(), "Noch keine Erinnerung durchgeführt!");

  ClickColumn(0);
  ASSERT_EQ(Cell(0, 1), "Nr. 1257");  // the latest date
  expectKept();

  main.RefillList();
  expectKept();
}

TEST_F(MainWindowTest, ColumnClicksAlternateDescendingAndAscending) {
  Prepare({{EncodeDate(2099, 1, 1), "b", 0, 1, false},
           {EncodeDate(2099, 12, 1), "c", 0, 1, false},
           {EncodeDate(2098, 6, 1), "a", 0, 1, false}});
  TMain& main = Create();
  Select(0);  // "b" stays selected wherever it moves
  ClickColumn(0);
  EXPECT_EQ(Cell(0, 1), "c");
  EXPECT_EQ(Cell(1, 1), "b");
  EXPECT_EQ(Cell(2, 1), "a");
  EXPECT_TRUE(main.LV().IsSelected(1));
  EXPECT_FALSE(main.LV().IsSelected(0));
  ClickColumn(1);
  EXPECT_EQ(Cell(0, 1), "a");
  EXPECT_EQ(Cell(2, 1), "c");
  main.RefillList();
  ClickColumn(1);  // a refill starts descending again
  EXPECT_EQ(Cell(0, 1), "c");
  // The header shows the order with one arrow, at its column.
  const HWND header = ListView_GetHeader(List());
  const auto format = [&](int column) {
    HDITEMA item = {};
    item.mask = HDI_FORMAT;
    SendMessageA(header, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item));
    return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
  };
  EXPECT_EQ(format(1), HDF_SORTDOWN);
  EXPECT_EQ(format(0) | format(2) | format(3), 0);
  // The action column shows its longest name whole.
  const char* longest = "DFÜ-Netzwerk Verbindung trennen";
  EXPECT_GT(ListView_GetColumnWidth(List(), 2),
            ListView_GetStringWidth(List(), const_cast<char*>(longest)));
}

}  // namespace
}  // namespace reminder
