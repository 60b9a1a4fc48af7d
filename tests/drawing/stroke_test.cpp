// Stroke classification: the exact threshold, diagonals, and the four directions.
#include "drawing/stroke.h"

#include <gtest/gtest.h>

namespace {

constexpr POINT kOrigin{120, 120};

StrokeKind To(int x, int y, int threshold = 35) { return ClassifyStroke(kOrigin, POINT{x, y}, threshold); }

TEST(Stroke, ExactlyTheThresholdIsATapAndOnePixelMoreIsAStroke) {
  EXPECT_EQ(To(120 + 35, 120), kNoStroke);
  EXPECT_EQ(To(120 + 36, 120), kStrokeRight);
  EXPECT_EQ(To(120 - 36, 120), kStrokeLeft);
  EXPECT_EQ(To(120, 120 + 36), kStrokeDown);
  EXPECT_EQ(To(120, 120 - 36), kStrokeUp);
  EXPECT_EQ(To(120 - 35, 120), kNoStroke);
  EXPECT_EQ(To(120, 120 - 35), kNoStroke);

  EXPECT_EQ(To(120 + 45, 120, 45), kNoStroke) << "the threshold is the caller's";
  EXPECT_EQ(To(120 + 46, 120, 45), kStrokeRight);
}

TEST(Stroke, ADiagonalWithEqualSidesCountsAsVertical) {
  EXPECT_EQ(To(120 + 50, 120 + 50), kStrokeDown);
  EXPECT_EQ(To(120 - 50, 120 - 50), kStrokeUp);
  EXPECT_EQ(To(120 + 51, 120 - 50), kStrokeRight);
}

}  // namespace
