// Identifiers and version of the module's resources.
#pragma once

#include "Version.h"
