// The rows of the main window's list, kept beside the list control, which only asks for
// what it paints. Each row refers to its record in the store; its texts are made from the
// record when they are painted or printed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/common/FormatSettings.h"
#include "core/store/ReminderListView.h"
#include "core/ui/MainRules.h"

namespace reminder {

enum TListColumn : int { lcDate = 0, lcText = 1, lcAction = 2, lcRepeat = 3 };
constexpr int kListColumnCount = 4;

constexpr int kImagePending = 0;
constexpr int kImageFinished = 1;
constexpr int kImageSnoozed = 2;

// The "Wie oft?" text: the extended rule's short text, else the repetition's name.
std::string RepeatText(const TNotifyInfo& record);
// "Termin" (the date in the "c" format), "Erinnern an...", "Aktion", "Wie oft?"; an
// unknown column counts as the first.
std::string ColumnText(const TNotifyInfo& record, int column, const TFormatSettings& fs);
// A snoozed reminder shows as snoozed, whatever its state; one that has fired for good as
// finished, every other one as pending.
int RowImage(const TNotifyInfo& record);

struct TListRow {
  TNotifyInfo* Data = nullptr;
  // Set from the record when the row is made or told of a change, not when the scheduler
  // marks the record: a fired reminder shows as finished once its alert has closed.
  int ImageIndex = kImagePending;
  uint32_t TextRank = 0;  // the text's place in the locale's order, while ranks are valid
};

class TReminderRows : public IReminderListView {
 public:
  void ClearItems() override;
  void ResetSortMarker() override;
  void AddItem(TNotifyInfo& record) override;

  size_t Count() const { return rows_.size(); }
  const TListRow& Row(size_t index) const { return rows_[index]; }
  // The row of a record, -1 when none refers to it.
  int Find(const TNotifyInfo* record) const;
  // The record's fields changed (the editor): its row shows it anew. Returns the row, or -1.
  int Changed(const TNotifyInfo* record);
  // The record's alert closed: its row takes the image of its state. Returns the row, or -1.
  int UpdateImage(const TNotifyInfo* record);
  // Removes the rows of these records in one pass.
  void RemoveRecords(const std::vector<const TNotifyInfo*>& records);

  int SortToggle() const { return sortToggle_; }
  // The column of the rows' current order and its direction; -1 until a click sorted them.
  int SortedColumn() const { return sortedColumn_; }
  bool SortedDescending() const { return sortedDescending_; }
  // A click on a column: sorts by the code the toggle gives and flips the toggle. Equal
  // keys keep their order. Texts are compared by keyOf's keys, made once for the text
  // column until its rows change and once per click for the action and repetition names.
  void SortByColumn(int column, const TSortKeyOf& keyOf);

 private:
  void RankTexts(const TSortKeyOf& keyOf);
  std::vector<TListRow> rows_;
  bool textsRanked_ = false;
  int sortToggle_ = 0;
  int sortedColumn_ = -1;
  bool sortedDescending_ = false;
};

}  // namespace reminder
