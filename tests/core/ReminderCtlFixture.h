// The fixture of the reminderctl tests: the command run against files in memory, a fixed
// clock and zone, and identities counted from one.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/Fakes.h"
#include "core/LocalTimeFake.h"
#include "core/TestDates.h"
#include "core/cli/ReminderCtl.h"
#include "core/store/DataFileFormat.h"

namespace reminder {
namespace testing {

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

inline std::string Encoded(const std::vector<TNotifyInfo>& records) {
  std::string bytes;
  for (const TNotifyInfo& r : records) EncodeRecord(bytes, r);
  return bytes;
}

// A data file that exists but cannot be read.
class LockingDataFile : public MemoryDataFile {
 public:
  bool Read(const std::string& path, TFileBytes& bytes) override {
    return path != "locked.dat" && MemoryDataFile::Read(path, bytes);
  }
};

class ReminderCtl : public ::testing::Test {
 protected:
  ReminderCtl() { env.Identities = &ids; }
  int Run(const std::vector<std::string>& args) {
    std::ostringstream outStream;
    std::ostringstream errStream;
    const int code = RunReminderCtl(args, outStream, errStream, env);
    out = outStream.str();
    err = errStream.str();
    return code;
  }

  TNotifyInfo Reminder(const std::string& text, uint8_t repeat = rkOnce) {
    TNotifyInfo r;
    r.NotifyKind = nkAtDate;
    r.NotifyDate = At(2025, 7, 24, 9, 30);
    r.NotifyText = text;
    r.ActionKind = akWarning;
    r.RepeatKind = repeat;
    return r;
  }

  LockingDataFile files;
  CountingIdentities ids;
  FakeClock clock{At(2025, 7, 24, 8, 50)};
  FixedOffsetTime zone;
  std::set<std::string> existing = {"locked.dat", "C:\\Tools\\Kalender.exe"};
  TCtlEnvironment env{clock,
                      files,
                      zone,
                      [this](const std::string& path) {
                        return existing.count(path) != 0 || files.files.count(path) != 0;
                      },
                      "Reminder.dat",
                      TTerminalCharset::Utf8};
  std::string out;
  std::string err;
};

}  // namespace testing
}  // namespace reminder
