// Sending and posting: synchronous sends, queue order, WM_QUIT, PeekMessage without removal,
// posting from another thread, and a modal loop nested inside a sent message.
#include "window_test_support.h"

#include <gtest/gtest.h>

#include <thread>

using namespace wmtest;

namespace {

constexpr UINT kPing = WM_USER + 1;
constexpr UINT kEndModal = WM_USER + 2;
constexpr UINT kRunModal = WM_USER + 3;

class MessageQueue : public ::testing::Test, public Fixture {
 protected:
  std::vector<WPARAM> pings;
  void SetUp() override {
    recorder.hooks[kPing] = [this](HWND, WPARAM w, LPARAM) -> LRESULT {
      pings.push_back(w);
      return static_cast<LRESULT>(w * 2);
    };
  }
};

TEST_F(MessageQueue, SendIsSynchronousAndPostWaitsForThePump) {
  HWND w = Create(0, 0, 0, 10, 10);
  EXPECT_EQ(SendMessage(w, kPing, 21, 0), 42);
  EXPECT_EQ(pings, (std::vector<WPARAM>{21}));
  EXPECT_TRUE(PostMessage(w, kPing, 1, 0));
  EXPECT_TRUE(PostMessage(w, kPing, 2, 0));
  EXPECT_EQ(pings.size(), 1u);
  driver.RunUntilIdle();
  EXPECT_EQ(pings, (std::vector<WPARAM>{21, 1, 2}));
}

TEST_F(MessageQueue, PostingToDeadWindowFailsAndSendAnswersZero) {
  HWND w = Create(0, 0, 0, 10, 10);
  DestroyWindow(w);
  EXPECT_FALSE(PostMessage(w, kPing, 1, 0));
  EXPECT_EQ(SendMessage(w, kPing, 1, 0), 0);
}

TEST_F(MessageQueue, PeekWithoutRemoveLeavesMessageAndQuitComesAfterPostedMessages) {
  HWND w = Create(0, 0, 0, 10, 10);
  PostQuitMessage(3);
  PostMessage(w, kPing, 9, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, kPing);
  ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, kPing);
  EXPECT_EQ(msg.hwnd, w);
  EXPECT_FALSE(GetMessage(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, FiltersSelectByWindowAndRange) {
  HWND a = Create(0, 0, 0, 10, 10);
  HWND b = Create(0, 0, 0, 10, 10);
  PostMessage(a, kPing, 1, 0);
  PostMessage(b, kPing, 2, 0);
  PostMessage(a, kEndModal, 3, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, b, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 2u);
  ASSERT_TRUE(PeekMessage(&msg, nullptr, kEndModal, kEndModal, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 1u);
}

TEST_F(MessageQueue, PostFromAnotherThreadArrivesInOrder) {
  HWND w = Create(0, 0, 0, 10, 10);
  std::thread worker([w] {
    for (WPARAM i = 0; i < 100; ++i) PostMessage(w, kPing, i, 0);
  });
  worker.join();
  driver.RunUntilIdle();
  ASSERT_EQ(pings.size(), 100u);
  for (WPARAM i = 0; i < 100; ++i) EXPECT_EQ(pings[i], i);
}

// A handler that runs its own loop, as a modal dialog does, must see the messages that the
// outer loop would have dispatched, and the outer loop goes on after it returns.
TEST_F(MessageQueue, ModalLoopInsideSentMessagePumpsTheSameQueue) {
  HWND w = Create(0, 0, 0, 10, 10);
  std::vector<std::string> trace;
  recorder.hooks[kRunModal] = [&](HWND h, WPARAM, LPARAM) -> LRESULT {
    trace.push_back("modal start");
    PostMessage(h, kPing, 2, 0);
    PostMessage(h, kEndModal, 0, 0);
    MSG msg;
    while (GetMessage(&msg, nullptr, 0, 0)) {
      if (msg.message == kEndModal) break;
      DispatchMessage(&msg);
    }
    trace.push_back("modal end");
    return 7;
  };
  PostMessage(w, kPing, 1, 0);
  EXPECT_EQ(SendMessage(w, kRunModal, 0, 0), 7);
  PostMessage(w, kPing, 3, 0);
  driver.RunUntilIdle();
  EXPECT_EQ(pings, (std::vector<WPARAM>{1, 2, 3}));
  EXPECT_EQ(trace, (std::vector<std::string>{"modal start", "modal end"}));
}

TEST_F(MessageQueue, WindowTextGoesThroughTheProcedure) {
  HWND w = Create(0, 0, 0, 10, 10, nullptr, u"first");
  EXPECT_TRUE(SetWindowText(w, u"second"));
  WCHAR buffer[4];
  EXPECT_EQ(GetWindowText(w, buffer, 4), 3);
  EXPECT_EQ(std::u16string(buffer), u"sec");
  EXPECT_EQ(GetWindowTextLength(w), 6);
  recorder.hooks[WM_GETTEXT] = [](HWND, WPARAM max, LPARAM l) -> LRESULT {
    auto* out = reinterpret_cast<LPWSTR>(l);
    out[0] = u'x';
    out[1] = 0;
    return 1;
  };
  EXPECT_EQ(driver.WindowText(w), u"x");
  EXPECT_EQ(FindWindow(kRecordingClass, u"second"), w);
  EXPECT_EQ(FindWindow(nullptr, u"nothing"), nullptr);
}

}  // namespace
