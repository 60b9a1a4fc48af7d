// Starting the SDL2 backend (backends/sdl), for the process entry.
#pragma once

#include <cstdint>
#include <string>

namespace device::internal {

// Opens the device window (titled `title`) and installs the SDL backend. Returns false,
// leaving nothing installed, when SDL cannot open a window; `error` (when given) then says why.
bool StartSdlBackend(const char* title, std::string* error = nullptr);
// The window's icon: 0xAARRGGBB pixels, row-major. The window must be open.
void SetSdlWindowIcon(const std::uint32_t* pixels, int width, int height);
void StopSdlBackend();

}  // namespace device::internal
