// The registry's database as the device image sees it.
#pragma once

namespace device::internal {

// Opens (creating if missing) registry.sqlite of the current device image; false when it cannot.
bool OpenDeviceRegistry();

}  // namespace device::internal
