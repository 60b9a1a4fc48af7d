// Device path resolution: where the device image is, and how a case-insensitive, UTF-16 device
// path finds its case-sensitive, UTF-8 host file.
//
// Names are compared with full Unicode case folding. Windows' other name rules (trailing dots
// and spaces dropped, reserved names such as "CON", 8.3 short names) are not imitated.
#include "internal/device_paths.h"

#include <device/files.h>
#include <device/install.h>

#include "internal/wide_text.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

namespace fs = std::filesystem;

namespace device::internal {
namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool IsForbiddenInName(char16_t c, bool allowWildcards) {
  if (c < 0x20) return true;
  switch (c) {
    case u'<': case u'>': case u':': case u'"': case u'|': return true;
    case u'*': case u'?': return !allowWildcards;
    default: return false;
  }
}

// Splits into components and applies "." and "..".
std::vector<std::u16string> SplitComponents(std::u16string_view path) {
  std::vector<std::u16string> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = start;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    std::u16string part(path.substr(start, end - start));
    if (part == u"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != u".") {
      parts.push_back(std::move(part));
    }
    start = end + 1;
  }
  return parts;
}

bool IsFolder(const fs::path& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool Exists(const fs::path& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0;
}

// The host name of `name` inside `folder`: the exact spelling when present, else the first
// entry equal to it ignoring case.
std::optional<std::string> FindHostName(const fs::path& folder, std::u16string_view name,
                                        const std::string& utf8Name) {
  if (Exists(folder / utf8Name)) return utf8Name;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
  if (!dir) return std::nullopt;
  const std::u16string folded = FoldCase(name);
  while (const dirent* entry = ::readdir(dir.get())) {
    std::string_view hostName(entry->d_name);
    if (hostName == "." || hostName == "..") continue;
    if (FoldCase(Utf8ToUtf16(hostName)) == folded) return std::string(hostName);
  }
  return std::nullopt;
}

}  // namespace

fs::path DeviceFsRoot() { return ::device::DeviceImageRoot() / "fs"; }

bool ResolveDevicePath(LPCWSTR path, ResolvedPath& out, bool wildcardLeaf) {
  out = ResolvedPath{};
  if (!path) {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  std::vector<std::u16string> parts = SplitComponents(path);
  std::vector<std::string> utf8Parts(parts.size());
  for (std::size_t i = 0; i < parts.size(); ++i) {
    bool isLeaf = i + 1 == parts.size();
    for (char16_t c : parts[i]) {
      if (IsForbiddenInName(c, wildcardLeaf && isLeaf)) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
      }
    }
    if (!Utf16ToUtf8(parts[i], utf8Parts[i])) {
      SetLastError(ERROR_INVALID_NAME);
      return false;
    }
  }

  out.host = DeviceFsRoot();
  if (parts.empty()) {
    out.isRoot = true;
    out.exists = IsFolder(out.host);
    out.parentExists = out.exists;
    return true;
  }
  out.leaf = parts.back();
  bool found = IsFolder(out.host);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    bool isLeaf = i + 1 == parts.size();
    if (isLeaf) out.parentExists = found && IsFolder(out.host);
    std::optional<std::string> hostName;
    if (found && !(isLeaf && wildcardLeaf)) hostName = FindHostName(out.host, parts[i], utf8Parts[i]);
    found = hostName.has_value();
    out.host /= found ? *hostName : utf8Parts[i];
  }
  out.exists = found;
  return true;
}

DWORD MissingPathError(const ResolvedPath& path) {
  return path.parentExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

}  // namespace device::internal

namespace device {

fs::path DeviceImageRoot() {
  if (const char* root = DeviceVariable("DEVICE")) return fs::path(root);
  const std::string& name = CurrentInstallDescription().imageName;
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) return fs::path(data) / name;
  const char* home = std::getenv("HOME");
  return fs::path(home && *home ? home : "/tmp") / ".local" / "share" / name;
}

fs::path HostPathOf(LPCWSTR devicePath) {
  internal::ResolvedPath resolved;
  if (!internal::ResolveDevicePath(devicePath, resolved)) return {};
  return resolved.host;
}

}  // namespace device
