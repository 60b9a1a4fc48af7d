// Device paths ("\My Documents\Notes\a.txt") to host paths inside the device image.
#pragma once

#include <device/win_types.h>

#include <filesystem>
#include <string>

namespace device::internal {

struct ResolvedPath {
  std::filesystem::path host;  // existing components in their host spelling, the rest as given
  bool exists = false;         // the whole path names an existing entry
  bool parentExists = false;   // every component but the last is an existing folder
  bool isRoot = false;         // the path is the device root "\"
  std::u16string leaf;         // the last component as the caller spelled it
};

// Resolves a device path component by component, case-insensitively (an exact host match wins).
// '\' and '/' separate components; "." is dropped and ".." steps up, never above the root; a
// path without a leading separator is taken from the root, as the device has no current
// folder. With `wildcardLeaf` the last component may hold '*' and '?' and is not looked up.
// Fails with ERROR_INVALID_NAME (null path, forbidden character, unpaired surrogate).
bool ResolveDevicePath(LPCWSTR path, ResolvedPath& out, bool wildcardLeaf = false);

// The error for a path that does not exist: ERROR_FILE_NOT_FOUND when only the last component
// is missing, ERROR_PATH_NOT_FOUND when a folder on the way is.
DWORD MissingPathError(const ResolvedPath& path);

// The host folder behind the device root: <device image>/fs.
std::filesystem::path DeviceFsRoot();

}  // namespace device::internal
