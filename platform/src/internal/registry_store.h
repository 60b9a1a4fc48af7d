// The registry's database as the device image sees it.
#pragma once

namespace device::internal {

// Opens (creating if missing) registry.sqlite of the current device image; false when it cannot.
bool OpenDeviceRegistry();

// Test fault: lets `changes` more registry changes commit, then fails the next one (as a full
// disk would) and stops failing; -1 turns the fault off.
void FailRegistryChangeAfter(int changes);

// At the end of a process: checkpoints the registry's write-ahead log into registry.sqlite, so
// that the file alone holds every value, and closes the connection (a later call opens it again).
void CloseDeviceRegistry();

}  // namespace device::internal
