#include "core/ical/ModuleFields.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/ical/ContentLine.h"
#include "core/ical/Cp1252.h"
#include "core/ical/EventPlan.h"
#include "core/ical/ReminderCalendar.h"
#include "core/ical/Values.h"

namespace reminder {

namespace {

constexpr char kTriggerProperty[] = "X-REMINDER-TRIGGER";
constexpr char kRepeatProperty[] = "X-REMINDER-REPEAT";
constexpr char kDateProperty[] = "X-REMINDER-DATE";
constexpr char kNotifiedProperty[] = "X-REMINDER-NOTIFIED";
constexpr char kLastNotifiedProperty[] = "X-REMINDER-LAST-NOTIFIED";
constexpr char kTextBytesProperty[] = "X-REMINDER-TEXT-BYTES";
constexpr char kParamBytesProperty[] = "X-REMINDER-ACTION-PARAM-BYTES";
constexpr char kReservedProperty[] = "X-REMINDER-RESERVED";
constexpr size_t kReservedBytes = 2 + kReservedBlockSize;

std::string HexOf(const uint8_t* bytes, size_t size) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(2 * size);
  for (size_t i = 0; i < size; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 0xF];
  }
  return text;
}

bool BytesOfHex(const std::string& text, std::string& bytes) {
  if (text.size() % 2 != 0) return false;
  const auto digit = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  bytes.clear();
  for (size_t i = 0; i < text.size(); i += 2) {
    const int high = digit(text[i]);
    const int low = digit(text[i + 1]);
    if (high < 0 || low < 0) return false;
    bytes += static_cast<char>(high * 16 + low);
  }
  return true;
}

// A date-time by its bits, so that every value comes back, also one that no DTSTART holds.
std::string MomentBits(TDateTime value) {
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  uint8_t bytes[8];
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<uint8_t>(bits >> (8 * (7 - i)));
  return HexOf(bytes, sizeof bytes);
}

bool MomentOfBits(const std::string& text, TDateTime& value) {
  std::string bytes;
  if (!BytesOfHex(text, bytes) || bytes.size() != 8) return false;
  uint64_t bits = 0;
  for (char c : bytes) bits = (bits << 8) | static_cast<uint8_t>(c);
  std::memcpy(&value, &bits, sizeof value);
  return true;
}

bool Number(const std::string& text, int64_t min, int64_t max, int64_t& value) {
  if (text.empty() || text.size() > 11) return false;
  size_t pos = text[0] == '-' ? 1 : 0;
  if (pos == text.size()) return false;
  int64_t number = 0;
  for (; pos < text.size(); ++pos) {
    if (text[pos] < '0' || text[pos] > '9') return false;
    number = number * 10 + (text[pos] - '0');
  }
  value = text[0] == '-' ? -number : number;
  return value >= min && value <= max;
}

// Whether a TEXT value brings the text back unchanged: line breaks other than CR LF and
// control characters do not survive one.
bool SurvivesAsText(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      ++i;
    } else if ((c < 0x20 && c != '\t') || c == 0x7F) {
      return false;
    }
  }
  return true;
}

// A text as the value of a TEXT property reads back, in UTF-8.
std::string AsRead(const std::string& cp1252) {
  return UnescapeText(EscapeText(Cp1252ToUtf8(CalendarText(cp1252))));
}

bool TextAgrees(const TComponent& event, const char* name, const std::string& cp1252) {
  const TContentLine* line = event.Find(name);
  return line && UnescapeText(line->Value) == AsRead(cp1252);
}

// The standard properties still say what the export of the record wrote.
bool EventAgrees(const TComponent& event, const TNotifyInfo& record) {
  const TEventPlan plan = PlanEvent(record);
  const TContentLine* start = event.Find("DTSTART");
  const TContentLine* rule = event.Find("RRULE");
  return start && start->Params.empty() && start->Value == FormatICalDateTime(plan.Start) &&
         (rule ? rule->Value == plan.Rule : plan.Rule.empty()) &&
         TextAgrees(event, "SUMMARY", FirstLine(record.NotifyText)) &&
         TextAgrees(event, "DESCRIPTION", record.NotifyText);
}

const std::string* Value(const TComponent& event, const char* name) {
  const TContentLine* line = event.Find(name);
  return line ? &line->Value : nullptr;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> ModuleFieldLines(const TNotifyInfo& r) {
  std::vector<std::pair<std::string, std::string>> lines;
  lines.emplace_back(std::string(kTriggerProperty) + ";VALUE=INTEGER",
                     std::to_string(r.NotifyKind));
  lines.emplace_back(std::string(kRepeatProperty) + ";VALUE=INTEGER", std::to_string(r.RepeatKind));
  lines.emplace_back(kDateProperty, MomentBits(r.NotifyDate));
  lines.emplace_back(std::string(kNotifiedProperty) + ";VALUE=INTEGER", std::to_string(r.Notified));
  lines.emplace_back(kLastNotifiedProperty, MomentBits(r.LastNotified));
  if (!SurvivesAsText(r.NotifyText)) {
    lines.emplace_back(
        kTextBytesProperty,
        HexOf(reinterpret_cast<const uint8_t*>(r.NotifyText.data()), r.NotifyText.size()));
  }
  if (!SurvivesAsText(r.ActionParam)) {
    lines.emplace_back(
        kParamBytesProperty,
        HexOf(reinterpret_cast<const uint8_t*>(r.ActionParam.data()), r.ActionParam.size()));
  }
  uint8_t reserved[kReservedBytes] = {r.Reserved1, r.Reserved2};
  std::memcpy(reserved + 2, r.ReservedBlock.data(), kReservedBlockSize);
  lines.emplace_back(kReservedProperty, HexOf(reserved, sizeof reserved));
  return lines;
}

std::optional<TNotifyInfo> ModuleRecord(const TComponent& event) {
  const std::string* date = Value(event, kDateProperty);
  const std::string* last = Value(event, kLastNotifiedProperty);
  const std::string* trigger = Value(event, kTriggerProperty);
  const std::string* repeat = Value(event, kRepeatProperty);
  const std::string* notified = Value(event, kNotifiedProperty);
  const std::string* action = Value(event, kActionProperty);
  const std::string* days = Value(event, kDaysBeforeProperty);
  const std::string* reserved = Value(event, kReservedProperty);
  if (!date || !last || !trigger || !repeat || !notified || !action || !days || !reserved) {
    return std::nullopt;
  }
  TNotifyInfo r;
  int64_t n[5];
  std::string bytes;
  if (!MomentOfBits(*date, r.NotifyDate) || !MomentOfBits(*last, r.LastNotified) ||
      !Number(*trigger, 0, 255, n[0]) || !Number(*repeat, 0, 255, n[1]) ||
      !Number(*notified, 0, 255, n[2]) || !Number(*action, 0, 255, n[3]) ||
      !Number(*days, INT32_MIN, INT32_MAX, n[4]) || !BytesOfHex(*reserved, bytes) ||
      bytes.size() != kReservedBytes) {
    return std::nullopt;
  }
  r.NotifyKind = static_cast<uint8_t>(n[0]);
  r.RepeatKind = static_cast<uint8_t>(n[1]);
  r.Notified = static_cast<uint8_t>(n[2]);
  r.ActionKind = static_cast<uint8_t>(n[3]);
  r.DaysBefore = static_cast<int32_t>(n[4]);
  r.Reserved1 = static_cast<uint8_t>(bytes[0]);
  r.Reserved2 = static_cast<uint8_t>(bytes[1]);
  std::memcpy(r.ReservedBlock.data(), bytes.data() + 2, kReservedBlockSize);

  const auto text = [&](const char* bytesName, const char* textName, std::string& out) {
    // A zero byte ends a text in the data file: no record holds one.
    if (const std::string* hex = Value(event, bytesName)) {
      return BytesOfHex(*hex, out) && out.find('\0') == std::string::npos;
    }
    const std::string* value = Value(event, textName);
    out = value ? Utf8ToCp1252(UnescapeText(*value)).Text : "";
    // Line breaks read back as the module writes them.
    std::string crlf;
    for (char c : out) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    out = std::move(crlf);
    return true;
  };
  if (!text(kTextBytesProperty, "DESCRIPTION", r.NotifyText) ||
      !text(kParamBytesProperty, kActionParamProperty, r.ActionParam) || !EventAgrees(event, r)) {
    return std::nullopt;
  }
  return r;
}

std::string UidOf(const TIdentity& identity) {
  return identity.Hex() + kUidDomain;
}

std::optional<TIdentity> IdentityOfUid(const std::string& uid) {
  const size_t at = uid.size() - std::min(uid.size(), std::strlen(kUidDomain));
  if (UpperAscii(uid.substr(at)) == UpperAscii(kUidDomain)) {
    if (std::optional<TIdentity> own = TIdentity::FromHex(std::string_view(uid).substr(0, at))) {
      return own;
    }
  }
  if (uid.empty()) return std::nullopt;
  // Two FNV-1a hashes of 64 bits with different bases.
  TIdentity id;
  for (int half = 0; half < 2; ++half) {
    uint64_t hash = half == 0 ? 0xCBF29CE484222325ULL : 0x84222325CBF29CE4ULL;
    for (char c : uid) {
      hash ^= static_cast<uint8_t>(c);
      hash *= 0x100000001B3ULL;
    }
    for (int i = 0; i < 8; ++i) id.Bytes[half * 8 + i] = static_cast<uint8_t>(hash >> (8 * i));
  }
  if (id.IsNone()) id.Bytes[0] = 1;
  return id;
}

}  // namespace reminder
