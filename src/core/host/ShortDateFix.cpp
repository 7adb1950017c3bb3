#include "core/host/ShortDateFix.h"

#include "core/common/MyTools.h"

namespace reminder {

std::string FixShortDateFormat(const std::string& format) {
  // The upper-cased copy keeps every byte at its place, so its positions fit the original.
  const std::string upper = UpperCaseGerman(format);
  const std::string::size_type year = upper.find("YY");
  if (year == std::string::npos || upper.find("YYYY") != std::string::npos) return format;
  std::string fixed = format;
  fixed.insert(year, "yy");
  return fixed;
}

bool IsDeinstallSwitch(const std::string& parameter) {
  return UpperCaseGerman(parameter) == "/DEINSTALL";
}

}  // namespace reminder
