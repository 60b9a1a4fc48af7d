// Starting the SDL2 backend (backends/sdl), for the process entry.
#pragma once

#include <cstdint>
#include <string>

namespace device::internal {

// Opens the device window (titled `title`) and installs the SDL backend. Returns false,
// leaving nothing installed, when SDL cannot open a window; `error` (when given) then says why.
bool StartSdlBackend(const char* title, std::string* error = nullptr);
// Gives the open window the icon in a PNG file; false when the file is not a readable PNG.
bool SetSdlWindowIcon(const char* pngFile);
void StopSdlBackend();

}  // namespace device::internal
