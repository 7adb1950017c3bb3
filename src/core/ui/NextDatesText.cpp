#include "core/ui/NextDatesText.h"

#include "core/common/FormatDateTime.h"

namespace reminder {

std::string NeverText(TNeverReason reason) {
  switch (reason) {
    case TNeverReason::ActionNothing:
      return "nie (die Aktion „Nichts tun“ löst nie aus)";
    case TNeverReason::StoredOnly:
      return "nie (nur gespeichert)";
    case TNeverReason::DialUp:
      return "nie (erst beim Aufbau der nächsten DFÜ-Netzwerk Verbindung)";
    case TNeverReason::Finished:
      return "nie (Erinnerung bereits durchgeführt)";
    case TNeverReason::NoMatch:
      return "nie (kein Tag passt zur Wiederholung)";
    case TNeverReason::None:
      break;
  }
  return "nie";
}

std::string NextDatesText(const TNextDates& dates, const TFormatSettings& fs) {
  if (dates.Moments.empty()) return NeverText(dates.Reason);
  std::string text;
  for (TDateTime moment : dates.Moments) {
    if (!text.empty()) text += ", ";
    // A line breaks only between two moments, never inside one.
    for (char c : FormatDateTime("c", moment, fs)) {
      if (c == ' ') {
        text += kNoBreakSpace;
      } else {
        text += c;
      }
    }
  }
  return text;
}

std::string NextDatesLine(const TNotifyInfo& record, TDateTime now, const TFormatSettings& fs) {
  return NextDatesText(NextDates(record, now, kNextDatesShown), fs);
}

}  // namespace reminder
