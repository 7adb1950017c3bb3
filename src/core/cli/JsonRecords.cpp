#include "core/cli/JsonRecords.h"

#include <cstdio>
#include <optional>

#include "core/cli/KindKeys.h"
#include "core/ical/Cp1252.h"
#include "core/ical/ModuleFields.h"
#include "core/store/RepeatRule.h"
#include "core/store/ReservedBlock.h"
#include "core/store/RuleText.h"
#include "core/ui/ListStatusText.h"
#include "core/ui/ReminderRows.h"

namespace reminder {

namespace {

// "2025-07-24T09:30:00"; null outside the years a date-time can be decoded in.
void AppendIsoDateTime(std::string& out, TDateTime value) {
  const TDateParts date = DecodeDate(value);
  if (date.Year == 0) {
    out += "null";
    return;
  }
  const TTimeParts time = DecodeTime(value);
  char text[32];
  std::snprintf(text, sizeof text, "\"%04d-%02d-%02dT%02d:%02d:%02d\"", date.Year, date.Month,
                date.Day, time.Hour, time.Minute, time.Second);
  out += text;
}

void AppendKey(std::string& out, const char* key) {
  if (key) {
    out += '"';
    out += key;
    out += '"';
  } else {
    out += "null";
  }
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view cp1252) {
  out += '"';
  for (const char c : Cp1252ToUtf8(cp1252)) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

void TJsonRecords::Add(size_t number, const TNotifyInfo& record) {
  text_ += any_ ? ",\n" : "[\n";
  any_ = true;
  text_ += "{\"number\":" + std::to_string(number) + ",\"date\":";
  AppendIsoDateTime(text_, record.NotifyDate);
  text_ += ",\"text\":";
  AppendJsonString(text_, record.NotifyText);
  text_ += ",\"trigger\":";
  AppendKey(text_, KeyOf(kTriggerKeys, record.NotifyKind));
  text_ += ",\"action\":";
  AppendKey(text_, KeyOf(kActionKeys, record.ActionKind));
  text_ += ",\"param\":";
  AppendJsonString(text_, record.ActionParam);
  text_ += ",\"repeat\":";
  AppendKey(text_, KeyOf(kRepeatKeys, record.RepeatKind));
  text_ += ",\"rrule\":";
  if (const std::optional<TRepeatRule> rule = RuleOf(record)) {
    AppendJsonString(text_, FormatRRule(*rule, record.NotifyDate));
  } else {
    text_ += "null";
  }
  text_ += ",\"daysBefore\":" + std::to_string(record.DaysBefore);
  text_ += record.Notified != 0 ? ",\"finished\":true" : ",\"finished\":false";
  text_ += ",\"lastFired\":";
  if (record.LastNotified != 0.0) {
    AppendIsoDateTime(text_, record.LastNotified);
  } else {
    text_ += "null";
  }
  text_ += ",\"uid\":";
  if (const std::optional<TIdentity> identity = IdentityOf(record)) {
    AppendJsonString(text_, UidOf(*identity));
  } else {
    text_ += "null";
  }
  text_ += ",\"texts\":{\"date\":";
  AppendJsonString(text_, ColumnText(record, lcDate, fs_));
  text_ += ",\"action\":";
  AppendJsonString(text_, ColumnText(record, lcAction, fs_));
  text_ += ",\"repeat\":";
  AppendJsonString(text_, ColumnText(record, lcRepeat, fs_));
  text_ += ",\"status\":";
  AppendJsonString(text_, ListStatusText(record, fs_));
  text_ += "}}";
  if (text_.size() >= kPartSize) Flush();
}

void TJsonRecords::Finish() {
  text_ += any_ ? "\n]\n" : "[]\n";
  Flush();
}

void TJsonRecords::Flush() {
  out_ << text_;
  text_.clear();
}

}  // namespace reminder
