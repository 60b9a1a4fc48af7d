// The device's handle table for kernel objects (open files, find searches, processes, threads)
// and the mapping of host errors to Win32 last-error codes.
//
// A handle is a small number, never a pointer, so that a closed or forged handle is detected
// instead of touching freed memory. Objects are shared: a call that looked an object up keeps
// it alive even if another thread closes the handle meanwhile.
#pragma once

#include <device/kernel.h>

#include <memory>

namespace device::internal {

struct KernelObject {
  virtual ~KernelObject() = default;
  // Blocks until the object is signalled (a process or thread has ended) or `milliseconds`
  // of host time have passed. Objects that cannot be waited on answer WAIT_FAILED.
  virtual DWORD Wait(DWORD milliseconds) { return WAIT_FAILED; }
};

HANDLE AddKernelObject(std::shared_ptr<KernelObject> object);

// The object behind `handle`, or null (with ERROR_INVALID_HANDLE set) when the handle is not
// open or holds another kind of object.
std::shared_ptr<KernelObject> FindKernelObject(HANDLE handle);

template <typename T>
std::shared_ptr<T> FindKernelObjectOf(HANDLE handle) {
  auto object = std::dynamic_pointer_cast<T>(FindKernelObject(handle));
  if (!object) SetLastError(ERROR_INVALID_HANDLE);
  return object;
}

// Removes the handle; false when it was not open.
bool RemoveKernelObject(HANDLE handle);

// The Win32 error that best describes a host errno value.
DWORD ErrorFromErrno(int error);

// Sets the last error from errno and returns false, for one-line failure returns.
bool FailFromErrno();

// Sets the last error and returns false.
inline bool Fail(DWORD error) {
  SetLastError(error);
  return false;
}

}  // namespace device::internal
