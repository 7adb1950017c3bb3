// One reminder, its value tables and their display texts.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/common/DateTime.h"

namespace reminder {

enum TNotifyKind : uint8_t { nkNever = 0, nkDialUp = 1, nkAtDate = 2 };

enum TActionKind : uint8_t {
  akNothing = 0,
  akWarning = 1,
  akEmail = 2,
  akWebsite = 3,
  akProgram = 4,
  akDocument = 5,
  akRestart = 6,
  akShutdown = 7,
  akHangUp = 8,
};

enum TRepeatKind : uint8_t {
  rkNever = 0,
  rkOnce = 1,
  rkDaily = 2,
  rkWeekly = 3,
  rkMonthly = 4,
  rkYearly = 5,
};

constexpr int kActionCount = 9;
constexpr int kRepeatCount = 6;
constexpr size_t kReservedBlockSize = 52;

extern const std::array<const char*, kActionCount> ActionNames;
extern const std::array<const char*, kRepeatCount> RepeatNames;

// The table text, or "" for a value only a damaged or foreign file can hold.
const char* ActionName(uint8_t actionKind);
const char* RepeatName(uint8_t repeatKind);

// The kind fields are plain bytes: values outside the tables load and save unchanged.
// The fields are ordered for a compact record in memory; the file's order is the data
// file format's business.
struct TNotifyInfo {
  TDateTime NotifyDate = 0.0;
  TDateTime LastNotified = 0.0;
  std::string NotifyText;
  std::string ActionParam;
  int32_t DaysBefore = 0;
  uint8_t Notified = 0;
  uint8_t NotifyKind = nkNever;
  uint8_t ActionKind = akNothing;
  uint8_t RepeatKind = rkNever;
  uint8_t Reserved1 = 0;
  uint8_t Reserved2 = 0;
  std::array<uint8_t, kReservedBlockSize> ReservedBlock{};

  bool operator==(const TNotifyInfo& other) const;
};

}  // namespace reminder
