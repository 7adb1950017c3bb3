// Identifiers and version of the module's resources.
#pragma once

#define REMINDER_VERSION_MAJOR 1
#define REMINDER_VERSION_MINOR 0
#define REMINDER_VERSION_RELEASE 0
#define REMINDER_VERSION_BUILD 1
#define REMINDER_VERSION_TEXT "1.0.0.1"
