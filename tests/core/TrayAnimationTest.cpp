#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "core/components/TrayAnimation.h"

namespace reminder {
namespace {

std::vector<int> Steps(uint8_t start, const TTrayFrames& present, int count) {
  std::vector<int> frames;
  uint8_t frame = start;
  for (int i = 0; i < count; ++i) {
    frame = NextTrayFrame(frame, present);
    frames.push_back(frame);
  }
  return frames;
}

TEST(TrayAnimationTest, EveryCombinationShowsEachSetIconOncePerCycle) {
  for (unsigned mask = 0; mask < 16; ++mask) {
    TTrayFrames present = {};
    std::vector<int> cycle;
    for (unsigned i = 0; i < 4; ++i) {
      present[i] = (mask >> i) & 1;
      if (present[i]) cycle.push_back(static_cast<int>(i + 1));
    }
    cycle.push_back(0);
    std::vector<int> expected;
    for (int round = 0; round < 3; ++round) {
      expected.insert(expected.end(), cycle.begin(), cycle.end());
    }
    EXPECT_EQ(Steps(0, present, static_cast<int>(expected.size())), expected) << "mask " << mask;
  }
}

TEST(TrayAnimationTest, AfterTheLastFrameComesTheDefault) {
  EXPECT_EQ(NextTrayFrame(4, {true, true, true, true}), 0);
  // An icon emptied while it was showing: the cycle goes on from there.
  EXPECT_EQ(NextTrayFrame(2, {true, false, false, false}), 0);
  EXPECT_EQ(NextTrayFrame(1, {true, false, true, false}), 3);
}

TEST(TrayAnimationTest, AFixedChoiceShowsIcons1To4OrTheDefault) {
  for (int32_t n = 1; n <= 4; ++n) EXPECT_EQ(ShownTrayFrame(n), n);
  for (int32_t n : {-1, 0, 5, 57, INT32_MIN, INT32_MAX}) EXPECT_EQ(ShownTrayFrame(n), 0) << n;
}

}  // namespace
}  // namespace reminder
