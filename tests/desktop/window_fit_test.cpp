// The desktop window's scale and layout: the start scale for common usable areas, the
// TAVREL_SCALE values taken and refused, and the pen mapped exactly at a non-integer scale
// with bars beside the device.
#include "internal/window_fit.h"

#include <gtest/gtest.h>

namespace {

using namespace device::internal;

TEST(WindowFit, TwiceTheSizeWhenItFitsElseTheLargestThatFitsButNeverBelowOne) {
  EXPECT_DOUBLE_EQ(ChooseScale(1920, 1080), 2.0);
  EXPECT_DOUBLE_EQ(ChooseScale(1024, 768), 2.0);      // 2 x 368 and the decorations fit exactly
  EXPECT_LT(ChooseScale(1024, 740), 2.0);             // a panel takes 28 rows: the device shrinks
  EXPECT_DOUBLE_EQ(ChooseScale(1024, 740), (740.0 - kDecorationAllowance) / kDeviceHeight);
  EXPECT_LE(ChooseScale(1024, 740) * kDeviceHeight + kDecorationAllowance, 740.0);
  EXPECT_DOUBLE_EQ(ChooseScale(400, 2000), 400.0 / kDeviceWidth);  // a narrow portrait screen
  EXPECT_DOUBLE_EQ(ChooseScale(320, 240), 1.0);
}

TEST(WindowFit, AScaleFromTheEnvironmentIsANumberFromOneToEight) {
  EXPECT_EQ(ParseScale("3"), 3.0);
  EXPECT_EQ(ParseScale("1.5"), 1.5);
  for (const char* refused : {"", "0", "0.5", "9", "two", "2x", "nan", "inf", "-2"}) {
    EXPECT_FALSE(ParseScale(refused).has_value()) << refused;
  }
  EXPECT_FALSE(ParseScale(nullptr).has_value());
}

TEST(WindowFit, ThePenMapsExactlyAtANonIntegerScaleWithBarsBesideTheDevice) {
  // 600 x 552: the height allows 1.5, the width more; the device is centred with bars of 120.
  const DeviceLayout layout = FitDevice(600, 552);
  EXPECT_DOUBLE_EQ(layout.scale, 1.5);
  EXPECT_DOUBLE_EQ(layout.left, 120.0);
  EXPECT_DOUBLE_EQ(layout.top, 0.0);
  EXPECT_EQ(HostToDevice(layout, 119, 0).x, -1);  // the bar, not the device
  EXPECT_EQ(HostToDevice(layout, 120, 0).x, 0);
  // A host pixel belongs to the device pixel under its centre, as the nearest-neighbour
  // drawing shows it: centres 0.5, 1.5, 2.5, 3.5 host pixels in are device 0.33, 1, 1.67, 2.33.
  EXPECT_EQ(HostToDevice(layout, 121, 0).x, 1);
  EXPECT_EQ(HostToDevice(layout, 122, 0).x, 1);
  EXPECT_EQ(HostToDevice(layout, 123, 0).x, 2);
  EXPECT_EQ(HostToDevice(layout, 479, 551).x, 239);
  EXPECT_EQ(HostToDevice(layout, 479, 551).y, 367);
  EXPECT_EQ(HostToDevice(layout, 480, 0).x, 240);  // the bar on the right
  // The screen's last row and the buttons' first row meet at 320 x 1.5 = 480.
  EXPECT_EQ(HostToDevice(layout, 200, 479).y, 319);
  EXPECT_EQ(HostToDevice(layout, 200, 480).y, 320);
}

TEST(WindowFit, ATallWindowGetsBarsAboveAndBelow) {
  const DeviceLayout layout = FitDevice(480, 368 * 2 + 100);
  EXPECT_DOUBLE_EQ(layout.scale, 2.0);
  EXPECT_DOUBLE_EQ(layout.top, 50.0);
  EXPECT_EQ(HostToDevice(layout, 240, 49).y, -1);
  EXPECT_EQ(HostToDevice(layout, 240, 50).y, 0);
  EXPECT_EQ(HostToDevice(layout, 240, 50).x, 120);
}

}  // namespace
