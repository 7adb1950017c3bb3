#include "core/ical/RuleImport.h"

#include "core/ical/Values.h"
#include "core/store/RuleOccurrences.h"
#include "core/store/RuleText.h"

namespace reminder {

std::optional<TRepeatRule> ExtendedRuleOf(const std::map<std::string, std::string>& parts,
                                          TDateTime start, ILocalTime& localTime,
                                          std::string& why) {
  std::string text;
  for (const auto& [name, value] : parts) {
    std::string given = value;
    TICalDateTime until;
    if (name == "UNTIL" && ParseICalDateTime(value, until) && until.Utc) {
      const int64_t seconds = ToSeconds(until.Date, until.Time);
      given = FormatICalDateTime(localTime.UtcToLocal(FromSeconds(seconds)));
    }
    text += (text.empty() ? "" : ";") + name + "=" + given;
  }
  return ParseRRule(text, start, why);
}

std::optional<TDateTime> RuleSeriesEnd(const TRepeatRule& rule, TDateTime start) {
  if (rule.Count == 0 && !rule.Until) return std::nullopt;
  const std::optional<TOccurrence> last = LastOccurrence(rule, start, kMaxDateTime);
  return last ? last->Moment : start;
}

}  // namespace reminder
