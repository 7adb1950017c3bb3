// The status-bar text of the main window for the selected reminder, and the texts around it.
#pragma once

#include <string>

#include "core/common/FormatDateTime.h"
#include "core/common/FormatSettings.h"
#include "core/store/NotifyInfo.h"

namespace reminder {

constexpr char kStatusReady[] = "Bereit.";
constexpr char kStatusFinished[] = "Erinnerung durchgeführt.";
constexpr char kStatusLastPrefix[] = "Letzte Erinnerung: ";
constexpr char kStatusNeverFired[] = "Noch keine Erinnerung durchgeführt!";
constexpr char kStatusSnoozedPrefix[] = "Erinnert erneut: ";

// The snooze moment in the "c" format, else finished, else the last firing in the "c"
// format, else never fired.
std::string ListStatusText(const TNotifyInfo& record, const TFormatSettings& fs);
// The same with the "c" format read once, for many records.
std::string ListStatusText(const TNotifyInfo& record, const TCompiledDateFormat& dateFormat);
void AppendListStatusText(std::string& out, const TNotifyInfo& record,
                          const TCompiledDateFormat& dateFormat);

}  // namespace reminder
