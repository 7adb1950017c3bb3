#include "core/ui/VersionText.h"

#include <cstdio>

#include "core/common/MyTools.h"

namespace reminder {

namespace {

// A build part: blanks around it allowed, then digits only, at most 18 of them.
bool ReadBuildNumber(const std::string& text, int64_t& number) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return false;
  const size_t last = text.find_last_not_of(' ');
  if (last - first >= 18) return false;
  int64_t value = 0;
  for (size_t pos = first; pos <= last; ++pos) {
    if (text[pos] < '0' || text[pos] > '9') return false;
    value = value * 10 + (text[pos] - '0');
  }
  number = value;
  return true;
}

}  // namespace

std::string VersionLabelText(const std::string& fileVersion) {
  const std::string label = "Version ";
  const size_t dot1 = fileVersion.find('.');
  const size_t dot2 = dot1 == std::string::npos ? dot1 : fileVersion.find('.', dot1 + 1);
  const size_t dot3 = dot2 == std::string::npos ? dot2 : fileVersion.find('.', dot2 + 1);
  int64_t build = 0;
  if (dot3 == std::string::npos || !ReadBuildNumber(fileVersion.substr(dot3 + 1), build)) {
    return label + fileVersion;
  }
  const std::string majorMinor = fileVersion.substr(0, dot2);
  return label + majorMinor + " [" + fileVersion.substr(0, dot3 + 1) + FourDigits(build) + "]";
}

std::string TranslationText(uint16_t language, uint16_t codePage) {
  char text[9];
  std::snprintf(text, sizeof text, "%04X%04X", language, codePage);
  return text;
}

std::string StringFileInfoPath(const std::string& translationText, const std::string& name) {
  return "\\StringFileInfo\\" + translationText + "\\" + name;
}

std::string FixedFileVersionText(uint32_t mostSignificant, uint32_t leastSignificant) {
  return std::to_string(mostSignificant >> 16) + "." + std::to_string(mostSignificant & 0xFFFF) +
         "." + std::to_string(leastSignificant >> 16) + "." +
         std::to_string(leastSignificant & 0xFFFF);
}

std::string CompileDatePattern(TDateTimeFormat format, bool dateOnly, char dateSeparator) {
  switch (format) {
    case TDateTimeFormat::tfShortDate:
      return "ddddd";
    case TDateTimeFormat::tfLongDate:
      return "dddddd";
    case TDateTimeFormat::tfAbbreviated:
      return dateOnly ? "yy mmm ddd" : "yy mmm ddd t";
    case TDateTimeFormat::tfFullName:
      return dateOnly ? "yyyy mmmm dddd" : "yyyy mmmm dddd tt";
    case TDateTimeFormat::tfDefault:
      break;
  }
  return std::string("dd") + dateSeparator + "mm" + dateSeparator + "yyyy tt";
}

std::string CompileDateLabelText(const std::string& compileDate) {
  return "vom " + compileDate;
}

}  // namespace reminder
