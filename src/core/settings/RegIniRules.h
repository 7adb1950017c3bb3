// The rules of the registry settings accessor that need no registry: how area and section
// make a key path, how values are stored as text and how texts convert back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace reminder {

// Outcome of the accessor's last read or write call.
constexpr int32_t kRegIniOk = 0;
constexpr int32_t kRegIniReadFailed = 1;
constexpr int32_t kRegIniNotANumber = 2;
constexpr int32_t kRegIniWriteFailed = 5;

// The key path below the root: the area without its leading "\", a "\" and the section.
// "\Software\Orvandel Software\Reminder" and "Options" give
// "Software\Orvandel Software\Reminder\Options".
std::string FullKeyPath(const std::string& area, const std::string& section);

// A signed decimal whole number that fits 32 bits, nothing before or after it.
bool ParseWholeNumber(const std::string& text, int32_t& value);

// What a boolean is stored as: the digit and a zero character, which the string write
// then terminates once more.
std::string StoredBoolText(bool value);

// Registry data read as text: everything up to the first zero byte.
std::string TextUpToZero(const char* data, size_t size);

struct TIntegerRead {
  int32_t value;
  int32_t errorCode;
};

// Converts what a string read gave (its text and error code) into an integer read.
TIntegerRead IntegerFromRead(const std::string& text, int32_t readCode, int32_t defaultValue);

// Converts what a string read gave into a flag: an empty text or one that is no whole
// number gives the default, a whole number gives true exactly when it is "1".
bool BoolFromRead(const std::string& text, bool defaultValue);

}  // namespace reminder
