#include "core/settings/RegIniRules.h"

#include <cstring>

namespace reminder {

std::string FullKeyPath(const std::string& area, const std::string& section) {
  std::string path = !area.empty() && area[0] == '\\' ? area.substr(1) : area;
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path + section;
}

bool ParseWholeNumber(const std::string& text, int32_t& value) {
  size_t pos = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) pos = 1;
  if (pos == text.size()) return false;
  // Accumulated as a magnitude with room for -2147483648.
  int64_t magnitude = 0;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c < '0' || c > '9') return false;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > 2147483648LL) return false;
  }
  if (!negative && magnitude > 2147483647LL) return false;
  value = static_cast<int32_t>(negative ? -magnitude : magnitude);
  return true;
}

std::string StoredBoolText(bool value) {
  return std::string(value ? "1" : "0", 2);
}

std::string TextUpToZero(const char* data, size_t size) {
  const void* zero = std::memchr(data, 0, size);
  return std::string(data, zero ? static_cast<const char*>(zero) - data : size);
}

TIntegerRead IntegerFromRead(const std::string& text, int32_t readCode, int32_t defaultValue) {
  if (text.empty()) return {defaultValue, readCode};
  int32_t value = 0;
  if (ParseWholeNumber(text, value)) return {value, readCode};
  return {defaultValue, kRegIniNotANumber};
}

bool BoolFromRead(const std::string& text, bool defaultValue) {
  int32_t value = 0;
  if (text.empty() || !ParseWholeNumber(text, value)) return defaultValue;
  return text == "1";
}

}  // namespace reminder
