// What the settings dialog decides without a window: the interval field's rules, the
// start-up box's caption, and the program path the log-on Run entry holds and is compared
// with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/common/MyTools.h"

namespace reminder {

// The up-down control's range of the check interval, in seconds.
constexpr int kIntervalMin = 1;
constexpr int kIntervalMax = 240;
// The interval taken when the dialog is confirmed with a text that is no whole number.
constexpr int kIntervalFallback = 60;

constexpr char kRunKeyPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunValueName[] = "Zelto - Reminder";
constexpr char kAutostartMsgCaption[] = "Zelto - Reminder";
// The Run value is read into this many bytes, of which one is kept for a terminating zero.
constexpr size_t kRunValueBufferSize = 512;

// A whole number as the field holds it: an optional sign and decimal digits, nothing else
// (no blanks), within 32 bits.
bool TryWholeNumber(const std::string& text, int32_t& value);

// The interval field's text after the focus has left it: above the maximum it becomes
// "240", below the minimum or not a whole number "1"; otherwise it stays as typed.
std::string IntervalEditExit(const std::string& text);

// The interval the confirmed dialog stores: 60 when the text is no whole number, otherwise
// the number kept within 1..240, as leaving the field would have made it.
int RefreshIntervalFromText(const std::string& text);

// The start-up box's caption: library mode asks about the host's start, standalone mode
// about the log-on; each with its access key.
std::string WinStartUpCaption(bool libraryMode);

// The program path for the Run entry: the (short) directory, a "\" when it does not end in
// one, the executable's file name, all upper-cased as UpperCaseGerman does.
std::string AutostartPath(const std::string& directory, const std::string& exeName);

// Whether the Run value's bytes, as returned by the registry, name the program path: the
// text ends at its first zero and never beyond the bytes returned, and compares upper-cased.
bool RunEntryNamesPath(const char* data, size_t size, const std::string& autostartPath);

// The messages for a Run entry the registry refused to write or to delete.
std::string RunEntryWriteErrorText(long errorCode);
std::string RunEntryDeleteErrorText(long errorCode);

}  // namespace reminder
