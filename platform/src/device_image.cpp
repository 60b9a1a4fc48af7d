// The device image on the host: created on first start, and the shipped data installed into the
// program folder the way installing the program onto a device would.
//
// Installation copies the data folder recursively without overwriting files that are already
// there (learned dictionaries stay), and copies keyboard.txt last, so that an interrupted
// installation is simply repeated at the next start.
#include <device/files.h>
#include <device/pim.h>

#include "internal/host_program.h"
#include "internal/registry_store.h"

#include <cstdlib>

namespace fs = std::filesystem;

namespace {

constexpr const char* kMarkerFile = "keyboard.txt";

bool IsFolder(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

// The shipped data folder. $TAVREL_DATA, when set, is the only candidate, so a test decides
// exactly what is installed.
fs::path FindDataFolder() {
  if (const char* data = std::getenv("TAVREL_DATA"); data && *data) return IsFolder(data) ? fs::path(data) : fs::path();
  fs::path beside = device::internal::HostExecutablePath().parent_path();
  for (const fs::path& candidate : {beside / "data", beside.parent_path() / "data", beside.parent_path().parent_path() / "data"}) {
    if (IsFolder(candidate)) return candidate;
  }
  // The source tree the device was built from, for programs run from a build folder that has
  // no copy of the data. Named by the build (not derived from __FILE__, whose spelling a
  // prefix map or a relative build may change).
  fs::path source = fs::path(TAVREL_SOURCE_DIR) / "data";
  return source.is_absolute() && IsFolder(source) ? source : fs::path();
}

void InstallData(const fs::path& from, const fs::path& to) {
  std::error_code error;
  fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::skip_existing, error);
  if (fs::exists(from / kMarkerFile, error))
    fs::copy_file(from / kMarkerFile, to / kMarkerFile, fs::copy_options::overwrite_existing, error);
}

}  // namespace

namespace device {

bool EnsureDeviceImage() {
  const fs::path fsRoot = DeviceImageRoot() / "fs";
  const fs::path programFolder = fsRoot / "Program Files" / "Tavrel";
  std::error_code error;
  fs::create_directories(programFolder, error);
  fs::create_directories(fsRoot / "My Documents" / "Tavrels", error);
  if (!IsFolder(programFolder) || !IsFolder(fsRoot / "My Documents" / "Tavrels")) return false;
  if (!fs::exists(programFolder / kMarkerFile, error)) {
    fs::path data = FindDataFolder();
    if (!data.empty()) InstallData(data, programFolder);
  }
  internal::OpenDeviceRegistry();
  RegisterPimStore();
  return true;
}

}  // namespace device
