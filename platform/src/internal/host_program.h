// Where the running program lives on the host and on the device.
#pragma once

#include <device/win_types.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace device::internal {

// The running host executable (/proc/self/exe).
std::filesystem::path HostExecutablePath();

// The name of the built-in library behind a module handle ("richink.dll"), or empty when the
// handle is not one of them.
std::u16string_view BuiltInLibraryName(HMODULE module);

// The device folder of the device's programs, without a trailing '\' (from the install
// description).
std::u16string_view ProgramFolder();

}  // namespace device::internal
