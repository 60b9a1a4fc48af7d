// Files and folders of the device: CreateFile, ReadFile, WriteFile, GetFileSize,
// SetFilePointer, SetEndOfFile, FlushFileBuffers, DeleteFile, MoveFile, MoveFileEx, CopyFile,
// GetTempFileName, CreateDirectory, RemoveDirectory, GetFileAttributes.
//
// Not implemented: share-mode enforcement (several opens of one file all succeed, as the device
// has no other users than our three programs), overlapped I/O, file times set by the caller,
// attributes other than folder and read-only, and templates.
#include <device/files.h>

#include "internal/device_paths.h"
#include "internal/kernel_objects.h"
#include "internal/wide_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

namespace fs = std::filesystem;
using namespace device::internal;

namespace {

struct OpenFile : KernelObject {
  explicit OpenFile(int descriptor) : fd(descriptor) {}
  ~OpenFile() override { ::close(fd); }
  int fd;
};

bool IsFolder(const fs::path& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

int OpenFlags(DWORD access, DWORD disposition) {
  int flags = O_CLOEXEC;
  bool read = access & GENERIC_READ, write = access & GENERIC_WRITE;
  flags |= write ? (read ? O_RDWR : O_WRONLY) : O_RDONLY;
  switch (disposition) {
    case CREATE_NEW: return flags | O_CREAT | O_EXCL;
    case CREATE_ALWAYS: return flags | O_CREAT | O_TRUNC;
    case OPEN_ALWAYS: return flags | O_CREAT;
    case TRUNCATE_EXISTING: return flags | O_TRUNC;
    default: return flags;
  }
}

// Makes a rename or a new file survive a host crash by syncing the folder that names it.
void SyncFolderOf(const fs::path& path) {
  int fd = ::open(path.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

// "<folder>\<first three of prefix><hex>.TMP", as Win32 spells temporary names.
std::u16string TempFileName(std::u16string_view folder, LPCWSTR prefix, UINT unique) {
  std::u16string name(folder);
  if (name.empty() || (name.back() != u'\\' && name.back() != u'/')) name += u'\\';
  for (int i = 0; i < 3 && prefix != nullptr && prefix[i] != 0; ++i) name += prefix[i];
  constexpr char16_t kHex[] = u"0123456789ABCDEF";
  std::u16string digits;
  for (UINT n = unique & 0xFFFF; n != 0; n >>= 4) digits.insert(digits.begin(), kHex[n & 0xF]);
  return name + digits + u".TMP";
}

UINT FailWithZero(DWORD error) {
  SetLastError(error);
  return 0;
}

// Where the search for a free number starts: the clock mixed with the process, so that two
// processes starting at the same moment rarely try the same names.
UINT FirstTempNumber() {
  UINT start = (GetTickCount() ^ (static_cast<UINT>(::getpid()) * 2654435761u)) & 0xFFFF;
  return start == 0 ? 1 : start;
}

}  // namespace

HANDLE CreateFile(LPCWSTR fileName, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES attributes,
                  DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile) {
  if (creationDisposition < CREATE_NEW || creationDisposition > TRUNCATE_EXISTING ||
      (creationDisposition == TRUNCATE_EXISTING && !(access & GENERIC_WRITE))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  ResolvedPath path;
  if (!ResolveDevicePath(fileName, path)) return INVALID_HANDLE_VALUE;
  if (path.isRoot || (path.exists && IsFolder(path.host))) {
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  bool creates = creationDisposition == CREATE_NEW || creationDisposition == CREATE_ALWAYS ||
                 creationDisposition == OPEN_ALWAYS;
  if (!path.exists && (!creates || !path.parentExists)) {
    SetLastError(MissingPathError(path));
    return INVALID_HANDLE_VALUE;
  }
  if (path.exists && creationDisposition == CREATE_NEW) {
    SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
  }
  int fd = ::open(path.host.c_str(), OpenFlags(access, creationDisposition), 0644);
  if (fd < 0) {
    DWORD error = ErrorFromErrno(errno);
    SetLastError(error == ERROR_ALREADY_EXISTS ? ERROR_FILE_EXISTS : error);
    return INVALID_HANDLE_VALUE;
  }
  // Win32 reports through the last error whether an "always" disposition found the file.
  bool reportsExisting = creationDisposition == CREATE_ALWAYS || creationDisposition == OPEN_ALWAYS;
  SetLastError(reportsExisting && path.exists ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return AddKernelObject(std::make_shared<OpenFile>(fd));
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, DWORD* bytesRead, LPOVERLAPPED overlapped) {
  if (bytesRead) *bytesRead = 0;
  auto open = FindKernelObjectOf<OpenFile>(file);
  if (!open) return FALSE;
  if (!buffer && bytesToRead) return Fail(ERROR_INVALID_PARAMETER);
  DWORD total = 0;
  auto* bytes = static_cast<char*>(buffer);
  while (total < bytesToRead) {
    ssize_t got = ::read(open->fd, bytes + total, bytesToRead - total);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return FailFromErrno();
    if (got == 0) break;
    total += static_cast<DWORD>(got);
  }
  if (bytesRead) *bytesRead = total;
  return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, DWORD* bytesWritten,
               LPOVERLAPPED overlapped) {
  if (bytesWritten) *bytesWritten = 0;
  auto open = FindKernelObjectOf<OpenFile>(file);
  if (!open) return FALSE;
  if (!buffer && bytesToWrite) return Fail(ERROR_INVALID_PARAMETER);
  DWORD total = 0;
  const auto* bytes = static_cast<const char*>(buffer);
  while (total < bytesToWrite) {
    ssize_t put = ::write(open->fd, bytes + total, bytesToWrite - total);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) {
      if (bytesWritten) *bytesWritten = total;
      return FailFromErrno();
    }
    total += static_cast<DWORD>(put);
  }
  if (bytesWritten) *bytesWritten = total;
  return TRUE;
}

DWORD GetFileSize(HANDLE file, DWORD* sizeHigh) {
  auto open = FindKernelObjectOf<OpenFile>(file);
  struct stat info;
  if (!open || ::fstat(open->fd, &info) != 0) {
    if (open) FailFromErrno();
    return INVALID_FILE_SIZE;
  }
  auto size = static_cast<std::uint64_t>(info.st_size);
  if (sizeHigh) *sizeHigh = static_cast<DWORD>(size >> 32);
  SetLastError(ERROR_SUCCESS);  // a size whose low half is 0xFFFFFFFF is told apart by this
  return static_cast<DWORD>(size);
}

DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD moveMethod) {
  auto open = FindKernelObjectOf<OpenFile>(file);
  if (!open) return INVALID_SET_FILE_POINTER;
  // Without a high half the distance is a signed 32-bit value; with one, the two halves form
  // a signed 64-bit distance.
  std::int64_t move = distanceHigh
      ? static_cast<std::int64_t>((static_cast<std::uint64_t>(static_cast<DWORD>(*distanceHigh)) << 32) |
                                  static_cast<DWORD>(distance))
      : distance;
  int whence = moveMethod == FILE_CURRENT ? SEEK_CUR : moveMethod == FILE_END ? SEEK_END : SEEK_SET;
  if (moveMethod > FILE_END) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  off_t base = whence == SEEK_SET ? 0 : ::lseek(open->fd, 0, whence);
  if (base < 0 || base + move < 0) {
    SetLastError(base < 0 ? ErrorFromErrno(errno) : ERROR_NEGATIVE_SEEK);
    return INVALID_SET_FILE_POINTER;
  }
  off_t position = ::lseek(open->fd, base + move, SEEK_SET);
  if (position < 0) {
    FailFromErrno();
    return INVALID_SET_FILE_POINTER;
  }
  if (distanceHigh) *distanceHigh = static_cast<LONG>(static_cast<std::uint64_t>(position) >> 32);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(position);
}

BOOL SetEndOfFile(HANDLE file) {
  auto open = FindKernelObjectOf<OpenFile>(file);
  if (!open) return FALSE;
  off_t position = ::lseek(open->fd, 0, SEEK_CUR);
  if (position < 0 || ::ftruncate(open->fd, position) != 0) return FailFromErrno();
  return TRUE;
}

BOOL FlushFileBuffers(HANDLE file) {
  auto open = FindKernelObjectOf<OpenFile>(file);
  if (!open) return FALSE;
  if (::fsync(open->fd) != 0) return FailFromErrno();
  return TRUE;
}

BOOL DeleteFile(LPCWSTR fileName) {
  ResolvedPath path;
  if (!ResolveDevicePath(fileName, path)) return FALSE;
  if (!path.exists) return Fail(MissingPathError(path));
  if (path.isRoot || IsFolder(path.host)) return Fail(ERROR_ACCESS_DENIED);
  if (::unlink(path.host.c_str()) != 0) return FailFromErrno();
  return TRUE;
}

BOOL MoveFile(LPCWSTR existingFileName, LPCWSTR newFileName) {
  return MoveFileEx(existingFileName, newFileName, 0);
}

BOOL MoveFileEx(LPCWSTR existingFileName, LPCWSTR newFileName, DWORD flags) {
  ResolvedPath from, to;
  if (!ResolveDevicePath(existingFileName, from) || !ResolveDevicePath(newFileName, to)) return FALSE;
  if (!from.exists) return Fail(MissingPathError(from));
  if (from.isRoot || to.isRoot) return Fail(ERROR_ACCESS_DENIED);
  if (!to.parentExists) return Fail(ERROR_PATH_NOT_FOUND);
  fs::path target = to.host;
  std::error_code error;
  if (to.exists && fs::equivalent(from.host, to.host, error)) {
    // The same entry under another case: rename it to the spelling the caller gave.
    std::string spelled;
    Utf16ToUtf8(to.leaf, spelled);
    target = to.host.parent_path() / spelled;
  } else if (to.exists) {
    if (!(flags & MOVEFILE_REPLACE_EXISTING)) return Fail(ERROR_ALREADY_EXISTS);
    if (IsFolder(from.host) || IsFolder(to.host)) return Fail(ERROR_ACCESS_DENIED);
  }
  // rename(2) replaces an existing target atomically: no moment without a file of that name.
  if (::rename(from.host.c_str(), target.c_str()) != 0) return FailFromErrno();
  SyncFolderOf(target);
  if (from.host.parent_path() != target.parent_path()) SyncFolderOf(from.host);
  return TRUE;
}

BOOL CopyFile(LPCWSTR existingFileName, LPCWSTR newFileName, BOOL failIfExists) {
  ResolvedPath from, to;
  if (!ResolveDevicePath(existingFileName, from) || !ResolveDevicePath(newFileName, to)) return FALSE;
  if (!from.exists) return Fail(MissingPathError(from));
  if (from.isRoot || IsFolder(from.host) || to.isRoot) return Fail(ERROR_ACCESS_DENIED);
  if (!to.parentExists) return Fail(ERROR_PATH_NOT_FOUND);
  if (to.exists) {
    std::error_code error;
    if (failIfExists) return Fail(ERROR_FILE_EXISTS);
    if (IsFolder(to.host) || fs::equivalent(from.host, to.host, error)) return Fail(ERROR_ACCESS_DENIED);
  }
  std::error_code error;
  fs::copy_file(from.host, to.host, fs::copy_options::overwrite_existing, error);
  if (error) return Fail(ErrorFromErrno(error.value()));
  return TRUE;
}

UINT GetTempFileName(LPCWSTR pathName, LPCWSTR prefix, UINT unique, LPWSTR tempFileName) {
  const std::u16string_view folder(pathName != nullptr ? pathName : u"");
  if (pathName == nullptr || tempFileName == nullptr) return FailWithZero(ERROR_INVALID_PARAMETER);
  if (folder.size() > MAX_PATH - 14) return FailWithZero(ERROR_BUFFER_OVERFLOW);
  auto copyOut = [tempFileName](const std::u16string& name) {
    std::copy(name.begin(), name.end(), tempFileName);
    tempFileName[name.size()] = 0;
  };
  if (unique != 0) {
    copyOut(TempFileName(folder, prefix, unique));
    return unique;
  }
  const UINT first = FirstTempNumber();
  UINT number = first;
  do {
    const std::u16string name = TempFileName(folder, prefix, number);
    HANDLE file = CreateFile(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      CloseHandle(file);
      copyOut(name);
      return number;
    }
    if (GetLastError() != ERROR_FILE_EXISTS) return 0;
    number = number == 0xFFFF ? 1 : number + 1;
  } while (number != first);
  return FailWithZero(ERROR_FILE_EXISTS);
}

BOOL CreateDirectory(LPCWSTR pathName, LPSECURITY_ATTRIBUTES attributes) {
  ResolvedPath path;
  if (!ResolveDevicePath(pathName, path)) return FALSE;
  if (path.exists) return Fail(ERROR_ALREADY_EXISTS);
  if (!path.parentExists) return Fail(ERROR_PATH_NOT_FOUND);
  if (::mkdir(path.host.c_str(), 0755) != 0) return FailFromErrno();
  return TRUE;
}

BOOL RemoveDirectory(LPCWSTR pathName) {
  ResolvedPath path;
  if (!ResolveDevicePath(pathName, path)) return FALSE;
  if (!path.exists) return Fail(MissingPathError(path));
  if (path.isRoot) return Fail(ERROR_ACCESS_DENIED);
  if (!IsFolder(path.host)) return Fail(ERROR_DIRECTORY);
  if (::rmdir(path.host.c_str()) != 0) return FailFromErrno();
  return TRUE;
}

DWORD GetFileAttributes(LPCWSTR fileName) {
  ResolvedPath path;
  if (!ResolveDevicePath(fileName, path)) return INVALID_FILE_ATTRIBUTES;
  struct stat info;
  if (!path.exists || ::stat(path.host.c_str(), &info) != 0) {
    SetLastError(MissingPathError(path));
    return INVALID_FILE_ATTRIBUTES;
  }
  if (S_ISDIR(info.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
  // FILE_ATTRIBUTE_NORMAL is only valid alone, so a read-only file reports READONLY instead.
  return ::access(path.host.c_str(), W_OK) == 0 ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY;
}
