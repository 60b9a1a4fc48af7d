// Test images for the drawing toolkit: solid strips written as PNG files into the device's
// program folder under gx\, so that the real loader decodes them.
#pragma once

#include "drawing/skin_images.h"

#include <device/driver.h>

#include "internal/png_writer.h"

#include <filesystem>
#include <string>
#include <vector>

namespace skin_test {

inline std::filesystem::path SkinFolder(const device::Driver& driver) {
  return std::filesystem::path(driver.DeviceFolder()) / "fs" / "Program Files" / "Tavrel" / "gx";
}

// Pixels are 0x00RRGGBB, as the surface stores them.
inline void WriteImage(const device::Driver& driver, const std::string& name, int width, int height,
                       const std::vector<std::uint32_t>& pixels) {
  std::filesystem::create_directories(SkinFolder(driver));
  std::vector<std::uint32_t> copy = pixels;
  device::internal::Surface surface{copy.data(), width, height};
  device::internal::WriteSurfacePng((SkinFolder(driver) / name).string().c_str(), surface);
}

inline void WriteSolidImage(const device::Driver& driver, const std::string& name, int width, int height,
                            std::uint32_t rgb) {
  WriteImage(driver, name, width, height, std::vector<std::uint32_t>(static_cast<size_t>(width * height), rgb));
}

}  // namespace skin_test
