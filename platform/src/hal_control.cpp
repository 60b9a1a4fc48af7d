// The hardware-abstraction layer's control entry, KernelIoControl.
//
// Implemented: IOCTL_HAL_REBOOT, which the button tools send after changing the hardware-button
// bindings. A desktop host cannot restart the device, so the request is written to standard
// error and counted for tests; the caller goes on as it would after a reboot that has not yet
// happened. Not implemented: every other control code (ERROR_NOT_SUPPORTED).
#include <device/kernel.h>

#include <atomic>
#include <cstdio>

namespace {
std::atomic<int> rebootRequests{0};
}  // namespace

BOOL KernelIoControl(DWORD ioControlCode, LPVOID inBuffer, DWORD inSize, LPVOID outBuffer, DWORD outSize,
                     DWORD* bytesReturned) {
  if (bytesReturned != nullptr) *bytesReturned = 0;
  if (ioControlCode != IOCTL_HAL_REBOOT) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
  }
  ++rebootRequests;
  std::fprintf(stderr, "device: reboot requested\n");
  return TRUE;
}

namespace device {
int RebootRequestCount() { return rebootRequests.load(); }
}  // namespace device
