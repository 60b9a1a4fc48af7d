// Device start-up, shared by the process entry and the test driver.
#pragma once

namespace device::internal {

// Called on the UI thread once the device image (<prefix>_DEVICE) is settled: installs the
// image, registers the system window classes and starts serving this process's windows to
// the other processes of the image. Safe to call again for another image.
void StartDevice();

}  // namespace device::internal
