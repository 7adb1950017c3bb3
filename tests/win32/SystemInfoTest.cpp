// The system-information component against the real system and on a timer: the facts it
// reads, when it reports new values, and that a refresh never overlaps the next.
#include <gtest/gtest.h>
#include <windows.h>

#include "win32/ToolkitTestSupport.h"
#include "win32/components/SystemInfo.h"
#include "win32/support/MsgBoxCatcher.h"

namespace reminder {
namespace {

using testing::FlushEvents;
using testing::PumpUntil;

TEST(SystemInfoFactsTest, MemoryFiguresAreNotCappedAtFourGigabytes) {
  const TSystemFacts facts = ReadSystemFacts();
  MEMORYSTATUS capped = {};
  capped.dwLength = sizeof capped;
  GlobalMemoryStatus(&capped);
  EXPECT_GT(facts.TotalPhys, 0u);
  EXPECT_GE(facts.TotalPhys, facts.AvailPhys);
  EXPECT_GE(facts.TotalPhys, static_cast<uint64_t>(capped.dwTotalPhys));
  EXPECT_GT(facts.TotalVirtual, 0u);
  EXPECT_LE(facts.MemoryLoad, 100u);

  MEMORYSTATUSEX full = {};
  full.dwLength = sizeof full;
  ASSERT_TRUE(GlobalMemoryStatusEx(&full));
  if (full.ullTotalPhys > 0xFFFFFFFFull) {
    // On a machine with more than 4 GB the figure must say so.
    EXPECT_GT(facts.TotalPhys, 0xFFFFFFFFull);
  }
}

TEST(SystemInfoFactsTest, NamesVersionAndDirectoriesAreRead) {
  const TSystemFacts facts = ReadSystemFacts();
  EXPECT_FALSE(facts.ComputerName.empty());
  EXPECT_FALSE(facts.UserName.empty());
  ASSERT_TRUE(facts.Version.has_value());
  EXPECT_GE(facts.Version->Major, 4u);
  EXPECT_GE(facts.NumberOfProcessors, 1u);
  EXPECT_GT(facts.ScreenWidth, 0);
  EXPECT_FALSE(facts.WinDir.empty());
  EXPECT_NE(facts.SysDir.find(facts.WinDir), std::string::npos);
  // Texts end at the buffer's first zero character.
  EXPECT_EQ(facts.SysDir.find('\0'), std::string::npos);
}

class SystemInfoTimerTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::InitializeToolkit(); }
  void TearDown() override { FlushEvents(); }
};

TEST_F(SystemInfoTimerTest, ReportsOnlyWhenATextChanged) {
  TSystemFacts facts;
  facts.NumberOfProcessors = 1;
  facts.TotalPhys = 5000000;
  int reads = 0;
  int reports = 0;
  TSystemInfo info;
  EXPECT_TRUE(info.Enabled());
  EXPECT_TRUE(info.Texts().TotalPhys.empty());  // nothing is read at creation
  info.SetFactsSource([&] {
    ++reads;
    return facts;
  });
  info.SetOnNewValues([&](TSystemInfo& sender) {
    EXPECT_EQ(&sender, &info);
    ++reports;
  });
  info.SetInterval(10);

  ASSERT_TRUE(PumpUntil([&] { return reports == 1; }));
  EXPECT_EQ(info.Texts().TotalPhys, "4.882 KByte");
  EXPECT_EQ(info.Texts().NumCPUs, "1");
  const int readsAtFirstReport = reads;
  ASSERT_TRUE(PumpUntil([&] { return reads >= readsAtFirstReport + 3; }));
  EXPECT_EQ(reports, 1);

  facts.NumberOfProcessors = 2;
  ASSERT_TRUE(PumpUntil([&] { return reports == 2; }));
  EXPECT_EQ(info.Texts().NumCPUs, "2");

  // Switched off, it reads nothing more; switched on again, it goes on.
  info.SetEnabled(false);
  const int readsWhenOff = reads;
  FlushEvents(100, 200);
  EXPECT_EQ(reads, readsWhenOff);
  info.SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return reads > readsWhenOff; }));
}

TEST_F(SystemInfoTimerTest, ARefreshNeverOverlapsTheNextTick) {
  int reads = 0;
  int nested = 0;
  bool inHandler = false;
  TSystemInfo info;
  info.SetFactsSource([&] {
    ++reads;
    if (inHandler) ++nested;
    TSystemFacts facts;
    facts.AvailPhys = static_cast<uint64_t>(reads);  // a new text every time
    return facts;
  });
  info.SetOnNewValues([&](TSystemInfo&) {
    // A handler that runs the message loop for longer than an interval.
    inHandler = true;
    FlushEvents(60, 120);
    inHandler = false;
  });
  info.SetInterval(5);
  ASSERT_TRUE(PumpUntil([&] { return reads >= 3; }));
  EXPECT_EQ(nested, 0);
}

}  // namespace
}  // namespace reminder
