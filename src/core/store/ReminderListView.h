// What the scheduler needs of the main window's list of reminders.
#pragma once

#include "core/store/NotifyInfo.h"

namespace reminder {

class IReminderListView {
 public:
  virtual ~IReminderListView() = default;
  virtual void ClearItems() = 0;
  // Forgets the direction of the last column sort.
  virtual void ResetSortMarker() = 0;
  // One row for the record, which stays in the store while the list refers to it.
  virtual void AddItem(TNotifyInfo& record) = 0;
};

}  // namespace reminder
