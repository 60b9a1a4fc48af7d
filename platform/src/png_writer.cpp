// Screenshot writer (first cut: stub).
#include "internal/png_writer.h"
namespace device::internal {
bool WriteSurfacePng(const char* hostPath, const Surface& surface) { return false; }
}  // namespace device::internal
