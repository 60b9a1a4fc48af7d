// Named mutexes: CreateMutex, ReleaseMutex and waiting on one (WaitForSingleObject).
//
// A named mutex is shared by every process of the device image, so that programs can keep one
// another out (a second start of a program, say). Each name is a lock file in <image>/locks;
// the host kernel's advisory lock (flock) on it is the ownership, and it lets go by itself
// when the owning process ends. Within one process every handle of a name refers to one
// object, owned by the process rather than by a thread (the device's programs have one user-
// interface thread); ownership counts, as a Win32 mutex does for its owner.
// Differs from Win32: the object "already exists" (ERROR_ALREADY_EXISTS) when this process has
// it open or another process owns it; a mutex that other processes hold open without owning it
// is not seen as existing. A mutex whose owner died is simply free again
// (no WAIT_ABANDONED). Not implemented: unnamed mutexes, OpenMutex, security attributes.
#include <device/files.h>
#include <device/kernel.h>

#include "internal/kernel_objects.h"
#include "internal/wide_text.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>

namespace fs = std::filesystem;
using namespace device::internal;

namespace {

class NamedMutex : public KernelObject {
 public:
  explicit NamedMutex(int fd) : fd_(fd) {}
  ~NamedMutex() override { ::close(fd_); }

  // Takes ownership without blocking; false when another process owns it.
  bool TryAcquire() {
    std::lock_guard<std::mutex> guard(lock_);
    if (count_ > 0 || ::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
      ++count_;
      return true;
    }
    return false;
  }

  DWORD Wait(DWORD milliseconds) override {
    if (TryAcquire()) return WAIT_OBJECT_0;
    if (milliseconds == INFINITE) return BlockingAcquire();
    // A finite wait looks again at short intervals of host time (flock has no timeout).
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    auto pause = std::chrono::milliseconds(1);
    while (Clock::now() < deadline) {
      std::this_thread::sleep_for(pause);
      if (TryAcquire()) return WAIT_OBJECT_0;
      pause = std::min(pause * 2, std::chrono::milliseconds(20));
    }
    return WAIT_TIMEOUT;
  }

  bool Release() {
    std::lock_guard<std::mutex> guard(lock_);
    if (count_ == 0) return false;
    if (--count_ == 0) ::flock(fd_, LOCK_UN);
    return true;
  }

 private:
  DWORD BlockingAcquire() {
    int result = 0;
    while ((result = ::flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (result != 0) return WAIT_FAILED;
    std::lock_guard<std::mutex> guard(lock_);
    ++count_;
    return WAIT_OBJECT_0;
  }

  int fd_;
  std::mutex lock_;
  int count_ = 0;  // how often this process owns it
};

// The objects this process has open, by lock file; weak, so closing the last handle frees one.
std::mutex openLock;
std::map<fs::path, std::weak_ptr<NamedMutex>>& OpenMutexes() {
  static auto* open = new std::map<fs::path, std::weak_ptr<NamedMutex>>;
  return *open;
}

// A file name for any mutex name: letters, digits, '-' and '_' as they are, every other UTF-16
// unit as "%xxxx", so that two names never share a file.
std::string LockFileName(std::u16string_view name) {
  std::string file;
  for (char16_t c : name) {
    const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
                       c == u'-' || c == u'_';
    if (plain) {
      file += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "%%%04x", static_cast<unsigned>(c));
      file += escaped;
    }
  }
  return file + ".lock";
}

std::shared_ptr<NamedMutex> OpenNamedMutex(const fs::path& file, bool& existed) {
  std::lock_guard<std::mutex> guard(openLock);
  std::shared_ptr<NamedMutex> mutex = OpenMutexes()[file].lock();
  existed = mutex != nullptr;
  if (mutex) return mutex;
  std::error_code ignored;
  fs::create_directories(file.parent_path(), ignored);
  int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  mutex = std::make_shared<NamedMutex>(fd);
  OpenMutexes()[file] = mutex;
  return mutex;
}

}  // namespace

HANDLE CreateMutex(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCWSTR name) {
  if (!name || !*name) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  const fs::path file = device::DeviceImageRoot() / "locks" / LockFileName(name);
  bool existed = false;
  std::shared_ptr<NamedMutex> mutex = OpenNamedMutex(file, existed);
  if (!mutex) {
    FailFromErrno();
    return nullptr;
  }
  // A new object is taken even without initialOwner, to learn whether another process owns
  // it; one this process has open already is never taken here, as on Win32.
  bool ownedElsewhere = false;
  if (!existed) {
    ownedElsewhere = !mutex->TryAcquire();
    if (!ownedElsewhere && !initialOwner) mutex->Release();
  }
  HANDLE handle = AddKernelObject(mutex);
  SetLastError(existed || ownedElsewhere ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}

BOOL ReleaseMutex(HANDLE mutex) {
  auto object = FindKernelObjectOf<NamedMutex>(mutex);
  if (!object) return FALSE;
  return object->Release() ? TRUE : Fail(ERROR_NOT_OWNER);
}
