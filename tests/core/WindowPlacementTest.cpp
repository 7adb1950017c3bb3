#include <gtest/gtest.h>

#include <climits>

#include "core/settings/WindowPlacement.h"

namespace reminder {
namespace {

TStoredPlacement Stored(int32_t left, int32_t top, int32_t width, int32_t height) {
  TStoredPlacement stored;
  stored.left = left;
  stored.top = top;
  stored.width = width;
  stored.height = height;
  return stored;
}

TPlacementLimits Screen1024() {
  TPlacementLimits limits;
  limits.screen = {1024, 768};
  limits.minSize = {120, 40};
  limits.maxSize = {1036, 780};
  return limits;
}

void ExpectBounds(const TPlacementBounds& actual, int32_t left, int32_t top, int32_t width,
                  int32_t height) {
  EXPECT_EQ(actual.left, left);
  EXPECT_EQ(actual.top, top);
  EXPECT_EQ(actual.width, width);
  EXPECT_EQ(actual.height, height);
}

const TPlacementBounds kForm = {100, 80, 400, 300};

TEST(WindowPlacementTest, AnyMissingGeometryValueCentresInstead) {
  EXPECT_FALSE(CentresInstead(Stored(10, 20, 300, 200)));
  EXPECT_FALSE(CentresInstead(Stored(-5, -2, 0, -7)));  // only -1 means "not stored"
  EXPECT_TRUE(CentresInstead(TStoredPlacement()));
  EXPECT_TRUE(CentresInstead(Stored(-1, 20, 300, 200)));
  EXPECT_TRUE(CentresInstead(Stored(10, -1, 300, 200)));
  EXPECT_TRUE(CentresInstead(Stored(10, 20, -1, 200)));
  EXPECT_TRUE(CentresInstead(Stored(10, 20, 300, -1)));
}

TEST(WindowPlacementTest, CentresOnTheMonitorRoundingTowardZero) {
  ExpectBounds(CentredOn({5, 5, 301, 201}, {0, 0, 1024, 768}), 361, 283, 301, 201);
  // A monitor left of the primary one, and a form one pixel wider than it: the half
  // pixel is dropped toward zero, not toward minus infinity.
  ExpectBounds(CentredOn({0, 0, 1921, 1081}, {-1920, 0, 1920, 1080}), -1920, 0, 1921, 1081);
  ExpectBounds(CentredOn({0, 0, 3001, 900}, {0, 0, 1024, 768}), -988, -66, 3001, 900);
  // Absurd sizes do not overflow.
  ExpectBounds(CentredOn({0, 0, INT32_MAX, INT32_MAX}, {INT32_MIN, 0, INT32_MAX, 768}), INT32_MIN,
               -1073741439, INT32_MAX, INT32_MAX);
}

TEST(WindowPlacementTest, MovesAWindowBackSoThatItEndsAtTheScreenEdge) {
  // Too wide for the space right of its left edge: the right edge meets the screen's.
  ExpectBounds(RestoredBounds(Stored(900, 700, 300, 200), kForm, true, Screen1024()), 724, 568, 300,
               200);
  // Wider than the screen: the left edge goes to 0, not beyond.
  ExpectBounds(RestoredBounds(Stored(50, 60, 1030, 775), kForm, true, Screen1024()), 0, 0, 1030,
               775);
  // Far off every screen: back onto the primary one.
  ExpectBounds(RestoredBounds(Stored(1000000000, 1000000000, 500, 400), kForm, true, Screen1024()),
               524, 368, 500, 400);
}

TEST(WindowPlacementTest, NegativeEdgesLeaveTheFormsEdge) {
  ExpectBounds(RestoredBounds(Stored(-5, 30, 400, 300), kForm, true, Screen1024()), 100, 30, 400,
               300);
  ExpectBounds(RestoredBounds(Stored(30, -5, 400, 300), kForm, true, Screen1024()), 30, 80, 400,
               300);
  ExpectBounds(RestoredBounds(Stored(INT32_MIN, INT32_MIN, 400, 300), kForm, true, Screen1024()),
               100, 80, 400, 300);
}

TEST(WindowPlacementTest, SizeStaysWithinTheWindowsLimits) {
  // Smaller than the window allows: its minimum.
  ExpectBounds(RestoredBounds(Stored(10, 10, 1, 2), kForm, true, Screen1024()), 10, 10, 120, 40);
  // Absurdly large: its maximum, and the edges follow that size without overflowing.
  ExpectBounds(
      RestoredBounds(Stored(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX), kForm, true, Screen1024()),
      0, 0, 1036, 780);
  // Zero or negative sizes are not taken, nor do they move the edges.
  ExpectBounds(RestoredBounds(Stored(2000, 3000, 0, -300), kForm, true, Screen1024()), 2000, 3000,
               400, 300);
}

TEST(WindowPlacementTest, AFixedBorderKeepsItsSizeAndTakesOnlyThePosition) {
  ExpectBounds(RestoredBounds(Stored(900, 700, 50, 60), kForm, false, Screen1024()), 900, 700, 400,
               300);
}

}  // namespace
}  // namespace reminder
