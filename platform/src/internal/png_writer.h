// Writes a surface as an 8-bit RGB PNG on the host; used for screenshots.
#pragma once

#include "internal/screen.h"

namespace device::internal {

// Returns false when the file cannot be written; a partial file may then remain.
bool WriteSurfacePng(const char* hostPath, const Surface& surface);

}  // namespace device::internal
