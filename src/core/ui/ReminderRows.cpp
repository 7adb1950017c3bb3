#include "core/ui/ReminderRows.h"

#include <algorithm>
#include <string>
#include <utility>

namespace reminder {

int TReminderRows::Find(const TNotifyInfo* record) const {
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].Data == record) return static_cast<int>(i);
  }
  return -1;
}

void TReminderRows::SortByColumn(int column, const TSortKeyOf& keyOf, const TFormatSettings& fs) {
  const TSortStep step = ColumnSortStep(sortToggle_, column);
  Sort(step.Code, keyOf, fs);
  sortToggle_ = step.NextToggle;
}

void TReminderRows::Sort(int code, const TSortKeyOf& keyOf, const TFormatSettings& fs) {
  // Each key is made once, not once per comparison, and compared as bytes.
  std::vector<std::pair<std::string, TListRow>> keyed;
  keyed.reserve(rows_.size());
  for (TListRow& row : rows_) keyed.emplace_back(keyOf(SortKey(row, code, fs)), std::move(row));
  const bool descending = SortsDescending(code);
  std::stable_sort(keyed.begin(), keyed.end(), [&](const auto& first, const auto& second) {
    return descending ? second.first < first.first : first.first < second.first;
  });
  for (size_t i = 0; i < keyed.size(); ++i) rows_[i] = std::move(keyed[i].second);
}

}  // namespace reminder
