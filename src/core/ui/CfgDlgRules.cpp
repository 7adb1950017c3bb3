#include "core/ui/CfgDlgRules.h"

#include <limits>
#include <string_view>

#include "core/common/MyTools.h"

namespace reminder {

bool TryWholeNumber(const std::string& text, int32_t& value) {
  size_t pos = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) pos = 1;
  if (pos == text.size()) return false;
  // Accumulated as a negative number, so that the lowest 32-bit value fits as well.
  int64_t accumulated = 0;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c < '0' || c > '9') return false;
    accumulated = accumulated * 10 - (c - '0');
    if (accumulated < std::numeric_limits<int32_t>::min()) return false;
  }
  if (!negative) {
    if (-accumulated > std::numeric_limits<int32_t>::max()) return false;
    accumulated = -accumulated;
  }
  value = static_cast<int32_t>(accumulated);
  return true;
}

std::string IntervalEditExit(const std::string& text) {
  int32_t value = 0;
  if (!TryWholeNumber(text, value) || value < kIntervalMin) return std::to_string(kIntervalMin);
  if (value > kIntervalMax) return std::to_string(kIntervalMax);
  return text;
}

int RefreshIntervalFromText(const std::string& text) {
  int32_t value = 0;
  if (!TryWholeNumber(text, value)) return kIntervalFallback;
  if (value < kIntervalMin) return kIntervalMin;
  if (value > kIntervalMax) return kIntervalMax;
  return value;
}

std::string WinStartUpCaption(bool libraryMode) {
  return libraryMode ? "Bei jedem &Start von Zelto/Vantrel öffnen."
                     : " Bei jedem &Windowsstart öffnen";
}

std::string AutostartPath(const std::string& directory, const std::string& exeName) {
  std::string path = directory;
  if (path.empty() || path.back() != '\\') path += '\\';
  return UpperCaseGerman(path + exeName);
}

bool RunEntryNamesPath(const char* data, size_t size, const std::string& autostartPath) {
  std::string_view text(data, size);
  text = text.substr(0, text.find('\0'));
  return UpperCaseGerman(std::string(text)) == autostartPath;
}

std::string RunEntryWriteErrorText(long errorCode) {
  return "Wert konnte nicht in die Registrierung eingefügt werden. Fehlercode: " +
         std::to_string(errorCode);
}

std::string RunEntryDeleteErrorText(long errorCode) {
  return "Eintrag konnte nicht aus der Registrierung gelöscht werden. Fehlercode: " +
         std::to_string(errorCode);
}

}  // namespace reminder
