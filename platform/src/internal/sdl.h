// Starting the SDL2 backend (backends/sdl), for the process entry.
#pragma once

namespace device::internal {

// Opens the device window (titled `title`) and installs the SDL backend. Returns false,
// leaving nothing installed, when SDL cannot open a window.
bool StartSdlBackend(const char* title);
void StopSdlBackend();

}  // namespace device::internal
