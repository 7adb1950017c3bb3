#include "core/ui/SyncRules.h"

#include "core/common/FormatDateTime.h"
#include "core/sync/Url.h"

namespace reminder {

namespace {

constexpr double kMinute = 1.0 / (24 * 60);
constexpr int32_t kMaxBackoffMinutes = 60;

}  // namespace

std::string SyncSettingsProblem(const TSyncSettings& settings) {
  TUrl url;
  if (!settings.Enabled && settings.Server.empty()) return "";
  if (settings.Server.empty()) return "Bitte geben Sie die Adresse des Servers an.";
  if (!ParseUrl(settings.Server, url)) {
    return "Die Serveradresse muss mit http:// oder https:// beginnen und einen Rechnernamen "
           "enthalten.";
  }
  if (!settings.Enabled) return "";
  if (settings.User.empty()) return "Bitte geben Sie den Benutzernamen an.";
  if (settings.CalendarUrl.empty()) {
    return "Bitte wählen Sie einen Kalender (\"Kalender suchen\").";
  }
  return "";
}

std::string HexOfBytes(const std::vector<uint8_t>& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (uint8_t byte : bytes) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  return text;
}

bool BytesOfHex(const std::string& text, std::vector<uint8_t>& bytes) {
  const auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  if (text.size() % 2 != 0) return false;
  std::vector<uint8_t> result;
  result.reserve(text.size() / 2);
  for (size_t i = 0; i < text.size(); i += 2) {
    const int high = digit(text[i]);
    const int low = digit(text[i + 1]);
    if (high < 0 || low < 0) return false;
    result.push_back(static_cast<uint8_t>(high * 16 + low));
  }
  bytes.swap(result);
  return true;
}

std::string SyncSucceededText(TDateTime when, const TFormatSettings& fs) {
  return "Synchronisation: zuletzt erfolgreich am " + FormatDateTime("c", when, fs);
}

std::string SyncFailedText(const std::string& error) {
  return "Synchronisation fehlgeschlagen: " + error;
}

int32_t SyncBackoffMinutes(int failures) {
  if (failures <= 1) return 1;
  if (failures > 7) return kMaxBackoffMinutes;
  const int32_t minutes = int32_t{1} << (failures - 1);
  return minutes < kMaxBackoffMinutes ? minutes : kMaxBackoffMinutes;
}

void TSyncSchedule::Succeeded(TDateTime now, int32_t intervalSeconds) {
  failures_ = 0;
  next_ = now + intervalSeconds / 86400.0;
}

void TSyncSchedule::Failed(TDateTime now) {
  ++failures_;
  next_ = now + SyncBackoffMinutes(failures_) * kMinute;
}

void TSyncSchedule::ChangeMade(TDateTime now) {
  if (failures_ == 0) next_ = now;
}

}  // namespace reminder
