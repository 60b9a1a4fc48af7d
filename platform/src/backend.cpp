// The installed host backend, the device clock (internal/clock.h) and which thread is the
// UI thread. Until a backend is installed, the headless one serves (a test that creates
// windows without a driver still gets a clock and a queue).
#include "internal/backend.h"
#include "internal/clock.h"
#include "internal/headless.h"

#include <atomic>
#include <thread>

namespace device::internal {

namespace {
std::atomic<Backend*> installed{nullptr};
std::atomic<std::thread::id> uiThread{};
}  // namespace

void SetBackend(Backend* backend) { installed.store(backend); }

Backend* CurrentBackend() {
  Backend* b = installed.load();
  return b ? b : &Headless();
}

void MarkUiThread() { uiThread.store(std::this_thread::get_id()); }

bool OnUiThread() {
  std::thread::id ui = uiThread.load();
  return ui == std::thread::id{} || ui == std::this_thread::get_id();
}

std::uint64_t NowMs() { return CurrentBackend()->NowMs(); }

void SleepMs(std::uint32_t ms) { CurrentBackend()->SleepMs(ms); }

}  // namespace device::internal
