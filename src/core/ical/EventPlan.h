// How a reminder shows as an event so that a calendar program alarms exactly when the
// module fires it: the start and the rule of the event, and the alarm's days ahead of each
// occurrence. Where the module's rule and RFC 5545 part ways, the event is placed so that
// its alarms still fall on the module's moments; a reminder the module never fires gets
// no alarm.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/common/DateTime.h"
#include "core/store/NotifyInfo.h"

namespace reminder {

struct TEventPlan {
  TDateTime Start = 0;  // DTSTART, local time without a zone
  std::string Rule;     // the RRULE value, "" for a single event
  // Days the alarm comes ahead of each occurrence; none when the module never fires.
  std::optional<int64_t> AlarmDaysAhead;
  // The module could fire by its trigger and action, but its rule meets no day.
  bool RuleNeverFires = false;
};

TEventPlan PlanEvent(const TNotifyInfo& record);

// The day number of the count-th occurrence of a series from start as RFC 5545 counts
// it (a month or year without the day has none), or none beyond the calendar. everyYear:
// a yearly series of Feb 29 that falls on Mar 1 in common years (BYYEARDAY=60).
std::optional<int64_t> LastOccurrenceDay(const TDateParts& start, uint8_t repeat, int64_t count,
                                         bool everyYear);

// The first line of a text, for SUMMARY (the whole text goes to DESCRIPTION).
std::string FirstLine(const std::string& text);
// A text for a TEXT value: control characters, which it must not hold, become blanks
// (line breaks and tabs stay).
std::string CalendarText(std::string text);

}  // namespace reminder
