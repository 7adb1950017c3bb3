#include "core/store/NotifyInfo.h"

#include <cstring>

namespace reminder {

const std::array<const char*, kActionCount> ActionNames = {
    "Nichts tun",          "Warnung ausgeben",   "E-Mail schreiben",
    "Webseite öffnen",     "Programm ausführen", "Dokument öffnen",
    "Windows neu starten", "Windows beenden",    "DFÜ-Netzwerk Verbindung trennen",
};

const std::array<const char*, kRepeatCount> RepeatNames = {
    "niemals", "einmalig", "täglich", "wöchentlich", "monatlich", "jährlich",
};

const char* ActionName(uint8_t actionKind) {
  return actionKind < kActionCount ? ActionNames[actionKind] : "";
}

const char* RepeatName(uint8_t repeatKind) {
  return repeatKind < kRepeatCount ? RepeatNames[repeatKind] : "";
}

namespace {

// Date-times compare bit for bit, so that a stored NaN equals itself.
bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

bool TNotifyInfo::operator==(const TNotifyInfo& other) const {
  return Notified == other.Notified && NotifyKind == other.NotifyKind &&
         SameBits(NotifyDate, other.NotifyDate) && NotifyText == other.NotifyText &&
         ActionKind == other.ActionKind && ActionParam == other.ActionParam &&
         RepeatKind == other.RepeatKind && SameBits(LastNotified, other.LastNotified) &&
         DaysBefore == other.DaysBefore && Reserved1 == other.Reserved1 &&
         Reserved2 == other.Reserved2 && ReservedBlock == other.ReservedBlock;
}

}  // namespace reminder
