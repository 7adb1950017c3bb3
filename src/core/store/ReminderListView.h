// What the scheduler needs of the main window's list of reminders.
#pragma once

#include <string>

#include "core/common/FormatSettings.h"
#include "core/store/NotifyInfo.h"

namespace reminder {

constexpr int kImagePending = 0;
constexpr int kImageFinished = 1;

// One row: "Termin", "Erinnern an...", "Aktion", "Wie oft?", the image and the record.
struct TListRow {
  TNotifyInfo* Data = nullptr;
  std::string Caption;
  std::string Text;
  std::string Action;
  std::string Repeat;
  int ImageIndex = kImagePending;
};

TListRow MakeListRow(TNotifyInfo& record, const TFormatSettings& fs);

class IReminderListView {
 public:
  virtual ~IReminderListView() = default;
  virtual void ClearItems() = 0;
  // Forgets the direction of the last column sort.
  virtual void ResetSortMarker() = 0;
  virtual void AddItem(const TListRow& row) = 0;
};

}  // namespace reminder
