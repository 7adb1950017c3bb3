#include "core/ui/ReminderRows.h"

#include <algorithm>
#include <array>
#include <limits>
#include <numeric>

#include "core/common/FormatDateTime.h"
#include "core/store/RepeatRule.h"
#include "core/store/RuleText.h"
#include "core/store/Snooze.h"

namespace reminder {

namespace {

// The moment in whole seconds, as the list shows it; a value outside the calendar first.
int64_t DateKey(TDateTime date) {
  // From 30 December 1899 on, the value grows with the moment: the seconds come straight
  // from it. Before, the fraction counts forward from the start of its day.
  if (date >= 0 && date < kMaxDateTime) {
    return static_cast<int64_t>(date * kMSecsPerDay + 0.5) / 1000;
  }
  const TDateParts day = DecodeDate(date);
  if (day.Year == 0) return std::numeric_limits<int64_t>::min();
  const TTimeParts time = DecodeTime(date);
  return DaysFromCivil(day.Year, day.Month, day.Day) * 86400 + time.Hour * 3600 + time.Minute * 60 +
         time.Second;
}

// Each key's place among the keys in byte order; equal keys share their place.
std::vector<uint32_t> Ranks(const std::vector<std::string>& keys) {
  std::vector<uint32_t> order(keys.size());
  std::iota(order.begin(), order.end(), 0u);
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) { return keys[a] < keys[b]; });
  std::vector<uint32_t> ranks(keys.size());
  uint32_t rank = 0;
  for (size_t i = 0; i < order.size(); ++i) {
    if (i > 0 && keys[order[i]] != keys[order[i - 1]]) ++rank;
    ranks[order[i]] = rank;
  }
  return ranks;
}

// The place of every kind's table text, for the few names a kind column can show.
std::array<uint32_t, 256> KindRanks(const char* (*name)(uint8_t), const TSortKeyOf& keyOf) {
  std::vector<std::string> keys;
  for (int kind = 0; kind < 256; ++kind) keys.push_back(keyOf(name(static_cast<uint8_t>(kind))));
  const std::vector<uint32_t> ranks = Ranks(keys);
  std::array<uint32_t, 256> table{};
  std::copy(ranks.begin(), ranks.end(), table.begin());
  return table;
}

}  // namespace

std::string RepeatText(const TNotifyInfo& record) {
  const std::optional<TRepeatRule> rule = RuleOf(record);
  return rule ? RuleShortText(*rule) : RepeatName(record.RepeatKind);
}

std::string ColumnText(const TNotifyInfo& record, int column, const TFormatSettings& fs) {
  switch (column) {
    case lcText:
      return record.NotifyText;
    case lcAction:
      return ActionName(record.ActionKind);
    case lcRepeat:
      return RepeatText(record);
    default:
      return FormatDateTime("c", record.NotifyDate, fs);
  }
}

int RowImage(const TNotifyInfo& record) {
  if (SnoozeMoment(record)) return kImageSnoozed;
  return record.Notified != 0 ? kImageFinished : kImagePending;
}

void TReminderRows::ResetSortMarker() {
  sortToggle_ = 0;
  sortedColumn_ = -1;
}

void TReminderRows::ClearItems() {
  rows_.clear();
  textsRanked_ = false;
}

void TReminderRows::AddItem(TNotifyInfo& record) {
  rows_.push_back({&record, RowImage(record), 0});
  textsRanked_ = false;
}

int TReminderRows::Find(const TNotifyInfo* record) const {
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].Data == record) return static_cast<int>(i);
  }
  return -1;
}

int TReminderRows::Changed(const TNotifyInfo* record) {
  textsRanked_ = false;
  return UpdateImage(record);
}

int TReminderRows::UpdateImage(const TNotifyInfo* record) {
  const int row = Find(record);
  if (row >= 0) rows_[static_cast<size_t>(row)].ImageIndex = RowImage(*record);
  return row;
}

void TReminderRows::RemoveRecords(const std::vector<const TNotifyInfo*>& records) {
  std::vector<const TNotifyInfo*> sorted(records);
  std::sort(sorted.begin(), sorted.end());
  // The remaining rows keep their order, so their text ranks stay valid.
  rows_.erase(std::remove_if(rows_.begin(), rows_.end(),
                             [&](const TListRow& row) {
                               return std::binary_search(sorted.begin(), sorted.end(), row.Data);
                             }),
              rows_.end());
}

void TReminderRows::RankTexts(const TSortKeyOf& keyOf) {
  if (textsRanked_) return;
  std::vector<std::string> keys;
  keys.reserve(rows_.size());
  for (const TListRow& row : rows_) keys.push_back(keyOf(row.Data->NotifyText));
  const std::vector<uint32_t> ranks = Ranks(keys);
  for (size_t i = 0; i < rows_.size(); ++i) rows_[i].TextRank = ranks[i];
  textsRanked_ = true;
}

void TReminderRows::SortByColumn(int column, const TSortKeyOf& keyOf) {
  const TSortStep step = ColumnSortStep(sortToggle_, column);
  sortToggle_ = step.NextToggle;
  sortedColumn_ = step.Code % 10;
  sortedDescending_ = SortsDescending(step.Code);
  std::vector<int64_t> keys(rows_.size());
  switch (step.Code % 10) {
    case lcText:
      RankTexts(keyOf);
      for (size_t i = 0; i < rows_.size(); ++i) keys[i] = rows_[i].TextRank;
      break;
    case lcAction: {
      const auto ranks = KindRanks(&ActionName, keyOf);
      for (size_t i = 0; i < rows_.size(); ++i) keys[i] = ranks[rows_[i].Data->ActionKind];
      break;
    }
    case lcRepeat: {
      // Rows with an extended rule have texts of their own: those few are ranked among the
      // table's, so the many plain rows keep their kind's table lookup.
      std::vector<std::string> texts;
      std::vector<size_t> ruled;
      for (size_t i = 0; i < rows_.size(); ++i) {
        if (const std::optional<TRepeatRule> rule = RuleOf(*rows_[i].Data)) {
          texts.push_back(keyOf(RuleShortText(*rule)));
          ruled.push_back(i);
        }
      }
      for (int kind = 0; kind < 256; ++kind)
        texts.push_back(keyOf(RepeatName(static_cast<uint8_t>(kind))));
      const std::vector<uint32_t> ranks = Ranks(texts);
      const uint32_t* kindRanks = ranks.data() + ruled.size();
      for (size_t i = 0; i < rows_.size(); ++i) keys[i] = kindRanks[rows_[i].Data->RepeatKind];
      for (size_t k = 0; k < ruled.size(); ++k) keys[ruled[k]] = ranks[k];
      break;
    }
    default:
      for (size_t i = 0; i < rows_.size(); ++i) keys[i] = DateKey(rows_[i].Data->NotifyDate);
      break;
  }
  std::vector<uint32_t> order(rows_.size());
  std::iota(order.begin(), order.end(), 0u);
  const bool descending = SortsDescending(step.Code);
  std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    return descending ? keys[b] < keys[a] : keys[a] < keys[b];
  });
  std::vector<TListRow> sorted;
  sorted.reserve(rows_.size());
  for (uint32_t i : order) sorted.push_back(rows_[i]);
  rows_ = std::move(sorted);
}

}  // namespace reminder
