#pragma once

#include "core/common/FormatSettings.h"

namespace reminder {

// The user's date and time formats, separators and names; German defaults fill any gap.
TFormatSettings LocaleFormatSettings();

}  // namespace reminder
