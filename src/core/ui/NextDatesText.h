// The editor's line "Nächste Termine:": when the reminder being edited fires next.
#pragma once

#include <cstddef>
#include <string>

#include "core/common/FormatSettings.h"
#include "core/store/NextDates.h"

namespace reminder {

constexpr char kNextDatesLabel[] = "Nächste Termine:";
constexpr size_t kNextDatesShown = 5;
// Joins the date and the time of a moment, so that a wrapped line keeps them together.
constexpr char kNoBreakSpace[] = "\u00A0";

// "nie (…)" with the reason in a few words.
std::string NeverText(TNeverReason reason);
// The moments in the "c" format, each held together by no-break spaces, joined by ", ";
// NeverText when there are none.
std::string NextDatesText(const TNextDates& dates, const TFormatSettings& fs);
// The text after the label: the next five firings of the record from now on.
std::string NextDatesLine(const TNotifyInfo& record, TDateTime now, const TFormatSettings& fs);

}  // namespace reminder
