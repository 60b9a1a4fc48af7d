// The device's one clock, as the active backend keeps it.
//
// The SDL backend reads real time; the headless backend keeps a virtual clock that moves only
// when the test driver or a demo script advances it, so that timers and sleeps are exact.
#pragma once

#include <cstdint>

namespace device::internal {

// Milliseconds since the device started.
std::uint64_t NowMs();

// Blocks the calling thread for `ms` milliseconds of device time. In headless mode a
// sleeping thread wakes when the virtual clock has been advanced past its wake-up time.
void SleepMs(std::uint32_t ms);

}  // namespace device::internal
