// Folder search: FindFirstFile, FindNextFile, FindClose.
//
// The folder is read once, at FindFirstFile, and the matches are handed out one by one, so a
// program may delete the files it is shown while it walks them. '*' and '?' match on the long
// name only, ignoring case; there are no 8.3 short names to match against. "*.*" matches every
// name, with or without a dot, as on Windows. Attribute-filtered searches are not implemented.
#include <device/files.h>

#include "internal/device_paths.h"
#include "internal/kernel_objects.h"
#include "internal/wide_text.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <vector>

using namespace device::internal;

namespace {

struct FindSearch : KernelObject {
  std::vector<WIN32_FIND_DATAW> matches;
  std::size_t next = 0;
};

std::u32string CodePoints(std::u16string_view text) {
  std::u32string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    out += c;
  }
  return out;
}

// Classic wildcard matching with one backtrack point: on a mismatch after a '*', the star
// swallows one more character and matching resumes. Linear in practice for file names.
bool WildcardMatch(std::u32string_view pattern, std::u32string_view name) {
  std::size_t p = 0, n = 0, starP = std::u32string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == U'*') {
      starP = p++;
      starN = n;
    } else if (starP != std::u32string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == U'*') ++p;
  return p == pattern.size();
}

FILETIME FileTimeOf(const timespec& time) {
  // 100-nanosecond intervals since 1601-01-01, the epoch of Win32 file times.
  constexpr std::uint64_t kSecondsFrom1601To1970 = 11644473600ULL;
  std::uint64_t ticks = (static_cast<std::uint64_t>(time.tv_sec) + kSecondsFrom1601To1970) * 10000000ULL +
                        static_cast<std::uint64_t>(time.tv_nsec) / 100;
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

WIN32_FIND_DATAW FindDataOf(const std::u16string& name, const struct stat& info) {
  WIN32_FIND_DATAW data{};
  data.dwFileAttributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
  data.ftCreationTime = FileTimeOf(info.st_ctim);
  data.ftLastAccessTime = FileTimeOf(info.st_atim);
  data.ftLastWriteTime = FileTimeOf(info.st_mtim);
  auto size = S_ISDIR(info.st_mode) ? 0 : static_cast<std::uint64_t>(info.st_size);
  data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
  data.nFileSizeLow = static_cast<DWORD>(size);
  std::size_t length = std::min<std::size_t>(name.size(), MAX_PATH - 1);
  std::copy_n(name.data(), length, data.cFileName);
  data.cFileName[length] = 0;
  return data;
}

std::vector<WIN32_FIND_DATAW> ListMatches(const ResolvedPath& folder, std::u16string_view pattern) {
  std::vector<WIN32_FIND_DATAW> matches;
  const std::u32string foldedPattern = pattern == u"*.*" ? U"*" : CodePoints(FoldCase(pattern));
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.host.parent_path().c_str()), ::closedir);
  if (!dir) return matches;
  while (const dirent* entry = ::readdir(dir.get())) {
    std::string_view hostName(entry->d_name);
    if (hostName == "." || hostName == "..") continue;
    std::u16string name = Utf8ToUtf16(hostName);
    if (name.size() >= MAX_PATH || !WildcardMatch(foldedPattern, CodePoints(FoldCase(name)))) continue;
    struct stat info;
    if (::fstatat(::dirfd(dir.get()), entry->d_name, &info, 0) != 0) continue;  // a dangling link
    matches.push_back(FindDataOf(name, info));
  }
  return matches;
}

}  // namespace

HANDLE FindFirstFile(LPCWSTR fileName, LPWIN32_FIND_DATAW findData) {
  ResolvedPath path;
  if (!ResolveDevicePath(fileName, path, /*wildcardLeaf=*/true)) return INVALID_HANDLE_VALUE;
  if (!findData) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  // "\" alone (or "\Folder\") names no entry to find.
  if (path.isRoot || !path.parentExists) {
    SetLastError(path.isRoot ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  auto search = std::make_shared<FindSearch>();
  search->matches = ListMatches(path, path.leaf);
  if (search->matches.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  *findData = search->matches[search->next++];
  return AddKernelObject(std::move(search));
}

BOOL FindNextFile(HANDLE find, LPWIN32_FIND_DATAW findData) {
  auto search = FindKernelObjectOf<FindSearch>(find);
  if (!search) return FALSE;
  if (!findData) return Fail(ERROR_INVALID_PARAMETER);
  if (search->next >= search->matches.size()) return Fail(ERROR_NO_MORE_FILES);
  *findData = search->matches[search->next++];
  return TRUE;
}

BOOL FindClose(HANDLE find) {
  if (!FindKernelObjectOf<FindSearch>(find)) return FALSE;
  RemoveKernelObject(find);
  return TRUE;
}
