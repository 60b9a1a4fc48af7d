// How a program installs itself onto the device (not Win32): the program hands the device an
// install description, and the device creates the folders it names and copies the shipped data
// into the program folder, the way a device's installer would. The device names no program of
// its own; without a description nothing is installed and programs live in "\Program Files".
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace device {

struct InstallDescription {
  // The device folder of the program and of the programs it starts (CreateProcess), without a
  // trailing '\'. GetModuleFileName reports the running program in it.
  std::u16string programFolder = u"\\Program Files";
  // Device folders created on every start when missing (a default documents folder, say).
  std::vector<std::u16string> dataFolders;
  // A file name (at the top of the shipped data) whose presence in the program folder says
  // "installed". It is copied last, so that its presence means every other file is in place.
  // Empty: nothing is installed.
  std::u16string markerFile;
  // Host folders that may hold the shipped data, in order; the first that exists is installed.
  // A relative folder is taken from the folder of the running host executable.
  std::vector<std::filesystem::path> shippedData;
  // Host folders that hold the executables of the programs in the program folder, in order
  // (CreateProcess looks there); a relative folder is taken from the folder of the running
  // host executable. Empty: only that folder itself.
  std::vector<std::filesystem::path> programHostFolders;
  // When this host environment variable is set, its value is the only data folder (a test
  // decides exactly what is installed; a folder that does not exist installs nothing).
  std::string dataOverrideVariable;
  // The image's folder under $XDG_DATA_HOME (or ~/.local/share) when $<prefix>_DEVICE is unset.
  std::string imageName = "device";
  // The prefix of the host environment variables the device reads: <prefix>_DEVICE (the image
  // folder), <prefix>_SHOTS (where screenshots go), <prefix>_HEADLESS (no window even with a
  // display), <prefix>_SCALE (the window's scale).
  std::string environmentPrefix = "DEVICE";
};

// The description in force for this process. Set before the device starts (the process entry
// and the test driver start it); programs that share a device image give the same one.
void SetInstallDescription(const InstallDescription& description);
const InstallDescription& CurrentInstallDescription();

// The name of the host environment variable <prefix>_<suffix> of the description in force
// ("DEVICE" gives the image folder's variable), and its value (null when unset or empty).
std::string DeviceVariableName(const char* suffix);
const char* DeviceVariable(const char* suffix);

// Sets the description while a program's static objects are constructed, so that it is in
// force before the process entry or a test's driver starts the device:
//     const device::InstallRegistration registration{MyDescription()};
struct InstallRegistration {
  explicit InstallRegistration(const InstallDescription& description) { SetInstallDescription(description); }
};

}  // namespace device
