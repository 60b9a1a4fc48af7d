// The device image on the host: created on first start, and the shipped data installed into the
// program folder the way installing the program onto a device would. What to install, and
// where, comes from the program's install description (device/install.h).
//
// Installing is atomic as seen by the next start: the shipped data are copied into a staging
// folder inside the image (outside the device file system), every file synced; then each entry
// the program folder lacks is renamed into place, so that a file in the program folder is
// always whole; the marker file comes last. An install cut short (a kill, a full disk) leaves
// no marker, and the next start removes the staging folder it left and installs what is
// missing. Files already in the program folder are never replaced, so the dictionaries a
// person's use has taught stay when the data are installed again. One install runs at a time
// per image (a lock file), since the device's programs may start together.
#include <device/files.h>
#include <device/install.h>
#include <device/pim.h>
#include <device/shell.h>

#include "internal/host_program.h"
#include "internal/registry_store.h"
#include "internal/wide_text.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>

namespace fs = std::filesystem;

namespace {

constexpr char kInstallLock[] = "install.lock";
constexpr char kStagingPrefix[] = "install-staging-";

device::InstallDescription& Description() {
  static auto* description = new device::InstallDescription;  // set during static construction
  return *description;
}

bool IsFolder(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

bool Exists(const fs::path& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

fs::path HostPath(std::u16string_view devicePath) {
  std::string utf8;
  if (!device::internal::Utf16ToUtf8(devicePath, utf8)) return {};
  fs::path path = device::DeviceImageRoot() / "fs";
  std::size_t start = 0;
  while (start <= utf8.size()) {
    std::size_t end = utf8.find_first_of("\\/", start);
    if (end == std::string::npos) end = utf8.size();
    if (end > start) path /= utf8.substr(start, end - start);
    start = end + 1;
  }
  return path;
}

// Held for the whole of an install; the kernel lets go of it if the process dies.
class InstallLock {
 public:
  explicit InstallLock(const fs::path& file) : fd_(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
    while (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
  }
  ~InstallLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  InstallLock(const InstallLock&) = delete;
  InstallLock& operator=(const InstallLock&) = delete;

 private:
  int fd_;
};

// Flushes a file or a folder (its entries) to the disk.
bool Sync(const fs::path& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool synced = ::fsync(fd) == 0;
  ::close(fd);
  return synced;
}

// The shipped data folder, or empty when there is none.
fs::path FindShippedData(const device::InstallDescription& description) {
  if (!description.dataOverrideVariable.empty()) {
    const char* data = std::getenv(description.dataOverrideVariable.c_str());
    if (data && *data) return IsFolder(data) ? fs::path(data) : fs::path();
  }
  const fs::path beside = device::internal::HostExecutablePath().parent_path();
  for (const fs::path& candidate : description.shippedData) {
    const fs::path folder = candidate.is_absolute() ? candidate : beside / candidate;
    if (IsFolder(folder)) return folder.lexically_normal();
  }
  return {};
}

// Copies the tree `from` into the new folder `to`, syncing every file and folder; `leaveOut`
// (a top-level name) is not copied.
bool CopyTree(const fs::path& from, const fs::path& to, const fs::path& leaveOut) {
  std::error_code error;
  for (fs::directory_iterator it(from, error), end; !error && it != end; it.increment(error)) {
    const fs::path name = it->path().filename();
    if (!leaveOut.empty() && name == leaveOut) continue;
    if (it->is_directory(error)) {
      if (!fs::create_directory(to / name, error) || !CopyTree(it->path(), to / name, {})) return false;
    } else if (it->is_regular_file(error)) {
      if (!fs::copy_file(it->path(), to / name, error) || !Sync(to / name)) return false;
    }
  }
  return !error && Sync(to);
}

// Renames every entry of `staging` that `target` lacks into it; folders both have are merged,
// files `target` has are kept.
bool MoveInto(const fs::path& staging, const fs::path& target) {
  std::error_code error;
  for (fs::directory_iterator it(staging, error), end; !error && it != end; it.increment(error)) {
    const fs::path destination = target / it->path().filename();
    if (!Exists(destination)) {
      fs::rename(it->path(), destination, error);
      if (error) return false;
    } else if (IsFolder(destination) && it->is_directory(error)) {
      if (!MoveInto(it->path(), destination)) return false;
    }
  }
  return !error && Sync(target);
}

// Staging folders of installs that did not finish; only called under the install lock, so
// none of them is still being filled.
void RemoveStagingLeftOvers(const fs::path& root) {
  std::error_code error;
  std::vector<fs::path> leftOvers;
  for (fs::directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
    if (it->path().filename().string().rfind(kStagingPrefix, 0) == 0) leftOvers.push_back(it->path());
  }
  for (const fs::path& folder : leftOvers) fs::remove_all(folder, error);
}

bool Install(const fs::path& data, const fs::path& programFolder, const fs::path& marker) {
  const fs::path root = device::DeviceImageRoot();
  std::string pattern = (root / (std::string(kStagingPrefix) + "XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) return false;
  const fs::path staging = pattern;
  const fs::path markerName = marker.filename();
  std::error_code error;
  bool installed = CopyTree(data, staging, markerName) && MoveInto(staging, programFolder);
  if (installed && Exists(data / markerName)) {
    installed = fs::copy_file(data / markerName, staging / markerName, error) && Sync(staging / markerName);
    if (installed) fs::rename(staging / markerName, marker, error);
    installed = installed && !error && Sync(programFolder);
  }
  fs::remove_all(staging, error);
  return installed;
}

void InstallShippedData(const device::InstallDescription& description, const fs::path& programFolder) {
  if (description.markerFile.empty()) return;
  const fs::path marker = HostPath(description.programFolder + u"\\" + description.markerFile);
  if (marker.empty() || Exists(marker)) return;
  InstallLock lock(device::DeviceImageRoot() / kInstallLock);
  if (Exists(marker)) return;  // another program of the image installed it meanwhile
  RemoveStagingLeftOvers(device::DeviceImageRoot());
  const fs::path data = FindShippedData(description);
  if (!data.empty()) Install(data, programFolder, marker);
}

}  // namespace

namespace device {

void SetInstallDescription(const InstallDescription& description) { Description() = description; }

const InstallDescription& CurrentInstallDescription() { return Description(); }

std::string DeviceVariableName(const char* suffix) { return Description().environmentPrefix + "_" + suffix; }

const char* DeviceVariable(const char* suffix) {
  const char* value = std::getenv(DeviceVariableName(suffix).c_str());
  return value && *value ? value : nullptr;
}

bool EnsureDeviceImage() {
  const InstallDescription& description = Description();
  const fs::path programFolder = HostPath(description.programFolder);
  std::error_code error;
  fs::create_directories(programFolder, error);
  if (!IsFolder(programFolder)) return false;
  for (const std::u16string& folder : description.dataFolders) {
    const fs::path host = HostPath(folder);
    fs::create_directories(host, error);
    if (!IsFolder(host)) return false;
  }
  InstallShippedData(description, programFolder);
  internal::OpenDeviceRegistry();
  RegisterPimStore();
  CreateShellButtonKeys();
  return true;
}

}  // namespace device

namespace device::internal {

std::u16string_view ProgramFolder() { return Description().programFolder; }

}  // namespace device::internal
