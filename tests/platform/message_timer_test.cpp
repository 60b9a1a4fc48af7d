// Timers on the virtual clock: period, order, replacement, killing, and their place behind
// posted messages.
#include "window_test_support.h"

#include <gtest/gtest.h>

using namespace wmtest;

namespace {

class Timers : public ::testing::Test, public Fixture {
 protected:
  std::vector<std::pair<UINT_PTR, std::uint64_t>> fired;  // id, device time
  void SetUp() override {
    recorder.hooks[WM_TIMER] = [this](HWND, WPARAM id, LPARAM) -> LRESULT {
      fired.emplace_back(id, driver.Now());
      return 0;
    };
  }
};

TEST_F(Timers, FiresOncePerIntervalOfAdvancedTime) {
  HWND w = Create(0, 0, 0, 10, 10);
  SetTimer(w, 1, 300, nullptr);
  driver.AdvanceTime(299);
  EXPECT_TRUE(fired.empty());
  driver.AdvanceTime(1);
  ASSERT_EQ(fired.size(), 1u);
  EXPECT_EQ(fired[0].second, 300u);
  driver.AdvanceTime(900);
  ASSERT_EQ(fired.size(), 4u);
  EXPECT_EQ(fired[3].second, 1200u);
}

TEST_F(Timers, KillStopsAndResettingReplacesTheInterval) {
  HWND w = Create(0, 0, 0, 10, 10);
  SetTimer(w, 1, 300, nullptr);
  driver.AdvanceTime(200);
  SetTimer(w, 1, 300, nullptr);  // restarts: next at 500, not 300
  driver.AdvanceTime(299);
  EXPECT_TRUE(fired.empty());
  driver.AdvanceTime(1);
  EXPECT_EQ(fired.size(), 1u);
  SetTimer(w, 1, 50, nullptr);
  driver.AdvanceTime(100);
  EXPECT_EQ(fired.size(), 3u);
  EXPECT_TRUE(KillTimer(w, 1));
  EXPECT_FALSE(KillTimer(w, 1));
  driver.AdvanceTime(1000);
  EXPECT_EQ(fired.size(), 3u);
}

TEST_F(Timers, SeveralTimersFireInDueOrder) {
  HWND w = Create(0, 0, 0, 10, 10);
  SetTimer(w, 1, 100, nullptr);
  SetTimer(w, 2, 150, nullptr);
  driver.AdvanceTime(300);
  EXPECT_EQ(fired, (std::vector<std::pair<UINT_PTR, std::uint64_t>>{
                       {1, 100}, {2, 150}, {1, 200}, {1, 300}, {2, 300}}));
}

TEST_F(Timers, TimerComesOnlyWhenNothingIsPosted) {
  HWND w = Create(0, 0, 0, 10, 10);
  SetTimer(w, 1, 100, nullptr);
  recorder.all = true;
  recorder.Clear();
  PostMessage(w, WM_USER, 0, 0);
  driver.AdvanceTime(100);
  auto sequence = recorder.MessagesFor(w);
  EXPECT_EQ(sequence, (std::vector<UINT>{WM_USER, WM_TIMER}));
}

TEST_F(Timers, TimerProcedureIsCalledByDispatch) {
  static int calls = 0;
  calls = 0;
  HWND w = Create(0, 0, 0, 10, 10);
  SetTimer(w, 5, 100, [](HWND, UINT msg, UINT_PTR id, DWORD) {
    if (msg == WM_TIMER && id == 5) ++calls;
  });
  driver.AdvanceTime(250);
  EXPECT_EQ(calls, 2);
  EXPECT_TRUE(fired.empty());  // the procedure, not the window, got them
}

}  // namespace
