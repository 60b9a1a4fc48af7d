// The headless backend (see internal/headless.h): virtual clock, no window, no host input
// except what the test driver queues.
#include "internal/headless.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace device::internal {

HeadlessBackend& Headless() {
  static HeadlessBackend backend;
  return backend;
}

std::uint64_t HeadlessBackend::NowMs() {
  std::lock_guard<std::mutex> guard(lock_);
  return now_;
}

// The UI thread lets the time pass itself; other threads wait for the virtual clock, but
// never longer than the same span of real time, so a worker that sleeps cannot hang a test
// whose UI thread is blocked waiting for that worker.
void HeadlessBackend::SleepMs(std::uint32_t ms) {
  if (OnUiThread()) {
    SetNow(NowMs() + ms);
    std::this_thread::yield();
    return;
  }
  std::unique_lock<std::mutex> guard(lock_);
  std::uint64_t until = now_ + ms;
  changed_.wait_for(guard, std::chrono::milliseconds(ms), [&] { return now_ >= until; });
}

void HeadlessBackend::WaitForWork(std::optional<std::uint64_t> nextTimerDue) {
  std::function<void()> idle;
  std::unique_lock<std::mutex> guard(lock_);
  idle = idle_;
  if (idle) {
    guard.unlock();
    idle();
    return;
  }
  // Without a script nothing moves the clock; only another thread can still post. A test
  // that pumps messages itself and then enters a modal loop would wait here for ever, so
  // after a long quiet spell say so and stop instead of hanging.
  std::uint64_t seen = wakes_;
  bool woke = changed_.wait_for(guard, std::chrono::seconds(20), [&] {
    return wakes_ != seen || (nextTimerDue && now_ >= *nextTimerDue);
  });
  if (!woke) {
    std::fprintf(stderr,
                 "device: GetMessage waits with nothing queued, nothing to paint and no due "
                 "timer on the virtual clock; a modal loop needs RunProgramWithScript\n");
    std::abort();
  }
}

void HeadlessBackend::Wake() {
  {
    std::lock_guard<std::mutex> guard(lock_);
    ++wakes_;
  }
  changed_.notify_all();
}

void HeadlessBackend::SetNow(std::uint64_t ms) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (ms > now_) now_ = ms;
  }
  changed_.notify_all();
}

void HeadlessBackend::ResetClock() {
  std::lock_guard<std::mutex> guard(lock_);
  now_ = 0;
}

void HeadlessBackend::SetIdleHandler(std::function<void()> handler) {
  std::lock_guard<std::mutex> guard(lock_);
  idle_ = std::move(handler);
}

}  // namespace device::internal
