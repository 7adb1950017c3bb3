// Texts of the about dialog's version page and of the version and build information
// behind it.
#pragma once

#include <cstdint>
#include <string>

namespace reminder {

// "Version 1.0 [1.0.0.0006]" from the file version "1.0.0.6": major and minor, then all
// four parts with the build written in at least four digits. An empty version gives
// "Version " alone; a version that is not four dot-separated parts with a numeric build is
// shown as it stands after "Version ".
std::string VersionLabelText(const std::string& fileVersion);

// A translation entry as eight upper-case hex digits, language first: "040704E4".
std::string TranslationText(uint16_t language, uint16_t codePage);

// Where a named string of the version resource is looked up for a translation.
std::string StringFileInfoPath(const std::string& translationText, const std::string& name);

// The fixed file version's four 16-bit parts, most significant first: "1.0.0.6".
std::string FixedFileVersionText(uint32_t mostSignificant, uint32_t leastSignificant);

// Patterns of the build date text.
enum class TDateTimeFormat { tfDefault, tfShortDate, tfLongDate, tfAbbreviated, tfFullName };

std::string CompileDatePattern(TDateTimeFormat format, bool dateOnly, char dateSeparator);

// "vom 08.11.2002 00:53:41"
std::string CompileDateLabelText(const std::string& compileDate);

}  // namespace reminder
