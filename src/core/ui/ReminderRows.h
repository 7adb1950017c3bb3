// The rows of the main window's list, kept beside the list control, which only asks for
// what it paints. Each row refers to its record in the store.
#pragma once

#include <cstddef>
#include <vector>

#include "core/common/FormatSettings.h"
#include "core/store/ReminderListView.h"
#include "core/ui/MainRules.h"

namespace reminder {

class TReminderRows : public IReminderListView {
 public:
  void ClearItems() override { rows_.clear(); }
  void ResetSortMarker() override { sortToggle_ = 0; }
  void AddItem(const TListRow& row) override { rows_.push_back(row); }

  size_t Count() const { return rows_.size(); }
  const TListRow& Row(size_t index) const { return rows_[index]; }
  TListRow& Row(size_t index) { return rows_[index]; }
  // The row of a record, -1 when none refers to it.
  int Find(const TNotifyInfo* record) const;
  void Remove(size_t index) { rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index)); }

  int SortToggle() const { return sortToggle_; }
  // A click on a column: sorts by the code the toggle gives and flips the toggle.
  void SortByColumn(int column, const TSortKeyOf& keyOf, const TFormatSettings& fs);
  void Sort(int code, const TSortKeyOf& keyOf, const TFormatSettings& fs);

 private:
  std::vector<TListRow> rows_;
  int sortToggle_ = 0;
};

}  // namespace reminder
