// Reminders as JSON for list and due: one array with an object per reminder, each on a line
// of its own, in UTF-8 whatever the terminal takes. Dates are ISO 8601 in local time, as the
// data file holds them; the kinds are the keys add takes; "texts" holds the German texts of
// the main window's list. The objects go out in parts, so that a large file is never held
// whole.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

#include "core/common/FormatSettings.h"
#include "core/store/NotifyInfo.h"

namespace reminder {

// A Windows-1252 text as a JSON string in UTF-8, quoted and escaped.
void AppendJsonString(std::string& out, std::string_view cp1252);

class TJsonRecords {
 public:
  TJsonRecords(std::ostream& out, const TFormatSettings& fs) : out_(out), fs_(fs) {}

  // number is the one list shows.
  void Add(size_t number, const TNotifyInfo& record);
  // Closes the array. Without it nothing is written before the first reminder, so that a
  // file that cannot be read gives no output.
  void Finish();

 private:
  static constexpr size_t kPartSize = 64 * 1024;
  void Flush();

  std::ostream& out_;
  const TFormatSettings& fs_;
  std::string text_;
  bool any_ = false;
};

}  // namespace reminder
