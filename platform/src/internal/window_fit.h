// How the SDL window shows the device (the screen and the buttons drawn under it): the scale
// chosen at start for the display's usable area, and the letter-boxed layout of any window
// size, with the mapping of host points to device points. Pure functions, so that a test
// checks them without a display.
#pragma once

#include <device/win_types.h>

#include <optional>
#include <string>

namespace device::internal {

constexpr int kDeviceWidth = 240;
constexpr int kDeviceHeight = 368;  // the 320-pixel screen and two 24-pixel rows of buttons
// Room left for the window manager's title bar and borders when the start scale is chosen.
constexpr int kDecorationAllowance = 32;

// The start scale: 2 when the device at twice its size fits the usable area (less the room
// for the decorations), else the largest scale that fits, never below 1.
double ChooseScale(int usableWidth, int usableHeight);

// The scale variable's value (<prefix>_SCALE): a number from 1 to 8. Anything else is no scale (the caller reports
// it and chooses one itself).
std::optional<double> ParseScale(const char* text);

// The device drawn into a window of the given size: the largest scale that keeps the
// aspect ratio, centred, with bars at the sides or above and below.
struct DeviceLayout {
  double scale;
  double left, top;  // host position of the device's top-left corner
};
DeviceLayout FitDevice(int windowWidth, int windowHeight);

// The device point under a host point (may lie outside the device).
POINT HostToDevice(const DeviceLayout& layout, int x, int y);

}  // namespace device::internal
