// Test images for the drawing toolkit: solid strips written as PNG files into the device's
// program folder under gx\, so that the real loader decodes them.
#pragma once

#include "drawing/skin_images.h"

#include <device/driver.h>
#include <device/kernel.h>

#include "internal/png_writer.h"

#include <filesystem>
#include <string>
#include <vector>

namespace skin_test {

// The "gx" folder beside the running program, where LoadSkinImage looks: the program folder
// depends on the install description the test program carries (none: "\Program Files").
inline std::filesystem::path SkinFolder(const device::Driver& driver) {
  WCHAR module[MAX_PATH] = {};
  const DWORD length = GetModuleFileName(nullptr, module, MAX_PATH);
  std::filesystem::path folder = std::filesystem::path(driver.DeviceFolder()) / "fs";
  std::string part;
  for (DWORD i = 0; i < length; ++i) {
    if (module[i] == u'\\') {
      if (!part.empty()) folder /= part;
      part.clear();
    } else {
      part += static_cast<char>(module[i]);  // the program folders are ASCII names
    }
  }
  return folder / "gx";
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
