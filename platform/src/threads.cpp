// Threads and the device clock: CreateThread, Sleep, GetTickCount, and waiting on a thread.
//
// A device thread is a detached std::thread: the programs never join their threads, and the
// process may end while one still runs. Not implemented: suspended starts, thread priorities,
// TerminateThread, GetExitCodeThread.
#include <device/kernel.h>

#include "internal/clock.h"
#include "internal/kernel_objects.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

using namespace device::internal;

namespace {

struct DeviceThread : KernelObject {
  DWORD Wait(DWORD milliseconds) override {
    std::unique_lock lock(mutex);
    if (milliseconds == INFINITE) {
      ended.wait(lock, [this] { return done; });
      return WAIT_OBJECT_0;
    }
    return ended.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return done; }) ? WAIT_OBJECT_0
                                                                                                   : WAIT_TIMEOUT;
  }

  void Finish(DWORD code) {
    std::lock_guard lock(mutex);
    exitCode = code;
    done = true;
    ended.notify_all();
  }

  std::mutex mutex;
  std::condition_variable ended;
  bool done = false;
  DWORD exitCode = STILL_ACTIVE;
};

std::atomic<DWORD> nextThreadId{1};

}  // namespace

HANDLE CreateThread(LPSECURITY_ATTRIBUTES attributes, DWORD stackSize, LPTHREAD_START_ROUTINE start,
                    LPVOID parameter, DWORD creationFlags, DWORD* threadId) {
  if (!start) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto thread = std::make_shared<DeviceThread>();
  HANDLE handle = AddKernelObject(thread);
  if (threadId) *threadId = nextThreadId++;
  // The thread keeps its own reference, so closing the handle early is harmless.
  std::thread([thread, start, parameter] { thread->Finish(start(parameter)); }).detach();
  return handle;
}

void Sleep(DWORD milliseconds) { SleepMs(milliseconds); }

DWORD GetTickCount() { return static_cast<DWORD>(NowMs()); }
