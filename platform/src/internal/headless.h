// The headless backend: the screen stays in memory and the clock is virtual.
//
// Time moves only through Advance (the test driver) or a SleepMs on the UI thread (the
// sleeping UI thread lets that much device time pass). When the UI thread has nothing to do
// it calls the idle handler if one is set (the driver's lock-step hand-off); otherwise it
// waits until another thread posts a message.
#pragma once

#include "internal/backend.h"

#include <condition_variable>
#include <functional>
#include <mutex>

namespace device::internal {

class HeadlessBackend final : public Backend {
 public:
  std::uint64_t NowMs() override;
  void SleepMs(std::uint32_t ms) override;
  void Poll() override {}
  void WaitForWork(std::optional<std::uint64_t> nextTimerDue) override;
  void Wake() override;

  // Moves the virtual clock to `ms` (never backwards) and wakes sleeping threads.
  void SetNow(std::uint64_t ms);
  void ResetClock();
  // Called on the UI thread instead of waiting when it is idle; null removes it.
  void SetIdleHandler(std::function<void()> handler);

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  std::uint64_t now_ = 0;
  std::uint64_t wakes_ = 0;  // counts Wake calls, so a waiter sees one that came meanwhile
  std::function<void()> idle_;
};

HeadlessBackend& Headless();

}  // namespace device::internal
