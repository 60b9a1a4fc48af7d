// The SDL window's scale and layout (internal/window_fit.h).
#include "internal/window_fit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace device::internal {

double ChooseScale(int usableWidth, int usableHeight) {
  const double fit = std::min(static_cast<double>(usableWidth) / kDeviceWidth,
                              static_cast<double>(usableHeight - kDecorationAllowance) / kDeviceHeight);
  return std::clamp(fit, 1.0, 2.0);
}

std::optional<double> ParseScale(const char* text) {
  if (text == nullptr || *text == 0) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (*end != 0 || !std::isfinite(value) || value < 1.0 || value > 8.0) return std::nullopt;
  return value;
}

DeviceLayout FitDevice(int windowWidth, int windowHeight) {
  const double scale = std::max(0.01, std::min(static_cast<double>(windowWidth) / kDeviceWidth,
                                               static_cast<double>(windowHeight) / kDeviceHeight));
  return DeviceLayout{scale, (windowWidth - kDeviceWidth * scale) / 2, (windowHeight - kDeviceHeight * scale) / 2};
}

POINT HostToDevice(const DeviceLayout& layout, int x, int y) {
  // The host pixel's centre decides which device pixel it shows, so every device pixel is
  // reachable at any scale and none is reached from a neighbour's area.
  return POINT{static_cast<LONG>(std::floor((x + 0.5 - layout.left) / layout.scale)),
               static_cast<LONG>(std::floor((y + 0.5 - layout.top) / layout.scale))};
}

}  // namespace device::internal
