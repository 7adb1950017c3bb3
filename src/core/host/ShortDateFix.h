// The standalone program's start-up text rules: four-digit years in the short date, and
// the command-line switch that removes the module's settings.
#pragma once

#include <string>

namespace reminder {

// A short date format with a two-digit year ("yy" in any letter case, no "yyyy") gets "yy"
// inserted before its first "yy": dd.MM.yy becomes dd.MM.yyyy, M/d/yy becomes M/d/yyyy.
// Any other format is returned unchanged.
std::string FixShortDateFormat(const std::string& format);

// True for "/DEINSTALL" in any letter case.
bool IsDeinstallSwitch(const std::string& parameter);

}  // namespace reminder
