// Handles and last errors: GetLastError, SetLastError, CloseHandle, WaitForSingleObject.
//
// One table serves files, finds, processes and threads. DuplicateHandle and waiting on several
// objects are not implemented (the programs do not use them).
#include "internal/kernel_objects.h"

#include <cerrno>
#include <mutex>
#include <unordered_map>

namespace device::internal {
namespace {

thread_local DWORD lastError = ERROR_SUCCESS;

struct HandleTable {
  std::mutex mutex;
  std::unordered_map<std::uintptr_t, std::shared_ptr<KernelObject>> objects;
  // Handle values step by 4 from a base far from null and from INVALID_HANDLE_VALUE, like the
  // handle values of the desktop kernel; they are never reused within a run.
  std::uintptr_t next = 0x1000;
};

HandleTable& Table() {
  static HandleTable table;
  return table;
}

}  // namespace

HANDLE AddKernelObject(std::shared_ptr<KernelObject> object) {
  auto& table = Table();
  std::lock_guard lock(table.mutex);
  std::uintptr_t value = table.next;
  table.next += 4;
  table.objects.emplace(value, std::move(object));
  return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> FindKernelObject(HANDLE handle) {
  auto& table = Table();
  std::lock_guard lock(table.mutex);
  auto found = table.objects.find(reinterpret_cast<std::uintptr_t>(handle));
  if (found == table.objects.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return found->second;
}

bool RemoveKernelObject(HANDLE handle) {
  std::shared_ptr<KernelObject> removed;  // destroyed outside the lock: a destructor may block
  {
    auto& table = Table();
    std::lock_guard lock(table.mutex);
    auto found = table.objects.find(reinterpret_cast<std::uintptr_t>(handle));
    if (found == table.objects.end()) return false;
    removed = std::move(found->second);
    table.objects.erase(found);
  }
  return true;
}

DWORD ErrorFromErrno(int error) {
  switch (error) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY: return ERROR_ACCESS_DENIED;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case EBADF: return ERROR_INVALID_HANDLE;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case ENAMETOOLONG: return ERROR_INVALID_NAME;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ERROR_GEN_FAILURE;
  }
}

bool FailFromErrno() { return Fail(ErrorFromErrno(errno)); }

}  // namespace device::internal

using namespace device::internal;

DWORD GetLastError() { return lastError; }

void SetLastError(DWORD error) { lastError = error; }

BOOL CloseHandle(HANDLE object) {
  if (!RemoveKernelObject(object)) return Fail(ERROR_INVALID_HANDLE);
  return TRUE;
}

DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) {
  auto found = FindKernelObject(object);
  if (!found) return WAIT_FAILED;
  DWORD result = found->Wait(milliseconds);
  if (result == WAIT_FAILED) SetLastError(ERROR_INVALID_HANDLE);
  return result;
}
