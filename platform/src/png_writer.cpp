// Screenshots: writes a 0x00RRGGBB surface as an 8-bit RGB PNG with libpng's simplified API.
#include "internal/png_writer.h"

#include <png.h>

#include <cstring>
#include <vector>

namespace device::internal {

bool WriteSurfacePng(const char* hostPath, const Surface& surface) {
  if (!hostPath || !surface.pixels || surface.width <= 0 || surface.height <= 0) return false;
  std::vector<png_byte> rgb(static_cast<std::size_t>(surface.width) * surface.height * 3);
  for (std::size_t i = 0; i < rgb.size() / 3; ++i) {
    const std::uint32_t p = surface.pixels[i];
    rgb[i * 3] = static_cast<png_byte>(p >> 16);
    rgb[i * 3 + 1] = static_cast<png_byte>(p >> 8);
    rgb[i * 3 + 2] = static_cast<png_byte>(p);
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(surface.width);
  image.height = static_cast<png_uint_32>(surface.height);
  image.format = PNG_FORMAT_RGB;
  const bool ok = png_image_write_to_file(&image, hostPath, 0, rgb.data(), 0, nullptr) != 0;
  png_image_free(&image);
  return ok;
}

}  // namespace device::internal
