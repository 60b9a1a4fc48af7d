// Where the running program lives on the host and on the device.
#pragma once

#include <filesystem>
#include <string>

namespace device::internal {

// The running host executable (/proc/self/exe).
std::filesystem::path HostExecutablePath();

// The device folder of the device's programs, without a trailing '\'.
inline constexpr char16_t kProgramFolder[] = u"\\Program Files\\Tavrel";

}  // namespace device::internal
