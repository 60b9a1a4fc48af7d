// Pen and key routing: hit testing through the z-order of overlapping top-level windows and
// children, client coordinates, capture, disabled windows, keys to the focus window.
#include "window_test_support.h"

#include <gtest/gtest.h>

using namespace wmtest;

namespace {

struct Pen {
  HWND hwnd;
  UINT msg;
  int x;
  int y;
  bool operator==(const Pen&) const = default;
};

class WindowInput : public ::testing::Test, public Fixture {
 protected:
  std::vector<Pen> pen;
  std::vector<std::pair<HWND, UINT>> keys;  // window, message
  std::vector<WPARAM> keyCodes;
  void SetUp() override {
    for (UINT m : {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP}) {
      recorder.hooks[m] = [this, m](HWND h, WPARAM, LPARAM l) -> LRESULT {
        pen.push_back(Pen{h, m, GET_X_LPARAM(l), GET_Y_LPARAM(l)});
        return 0;
      };
    }
    for (UINT m : {WM_KEYDOWN, WM_KEYUP, WM_CHAR}) {
      recorder.hooks[m] = [this, m](HWND h, WPARAM w, LPARAM) -> LRESULT {
        keys.emplace_back(h, m);
        keyCodes.push_back(w);
        return 0;
      };
    }
  }
};

TEST_F(WindowInput, TapGoesToTopmostWindowUnderThePenInClientCoordinates) {
  HWND lower = Create(WS_VISIBLE, 0, 0, 200, 200);
  HWND upper = Create(WS_VISIBLE | WS_BORDER, 50, 50, 100, 100);
  HWND child = Create(WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, upper);
  driver.Tap(20, 20);     // only the lower window is there
  driver.Tap(70, 70);     // upper's child: 50 + border 1 + 10 = 61
  driver.Tap(140, 140);   // upper, outside the child
  EXPECT_EQ(pen, (std::vector<Pen>{{lower, WM_LBUTTONDOWN, 20, 20}, {lower, WM_LBUTTONUP, 20, 20},
                                   {child, WM_LBUTTONDOWN, 9, 9}, {child, WM_LBUTTONUP, 9, 9},
                                   {upper, WM_LBUTTONDOWN, 89, 89}, {upper, WM_LBUTTONUP, 89, 89}}));
  EXPECT_EQ(WindowFromPoint(POINT{70, 70}), child);
  EXPECT_EQ(ChildWindowFromPoint(upper, POINT{12, 12}), child);
  EXPECT_EQ(ChildWindowFromPoint(upper, POINT{80, 80}), upper);
  EXPECT_EQ(ChildWindowFromPoint(upper, POINT{500, 5}), nullptr);
  EXPECT_EQ(WindowFromPoint(POINT{230, 300}), nullptr);
}

TEST_F(WindowInput, RaisingAWindowChangesWhoGetsThePen) {
  HWND a = Create(WS_VISIBLE, 0, 0, 100, 100);
  HWND b = Create(WS_VISIBLE, 0, 0, 100, 100);
  EXPECT_EQ(WindowFromPoint(POINT{5, 5}), b);
  BringWindowToTop(a);
  EXPECT_EQ(WindowFromPoint(POINT{5, 5}), a);
  EXPECT_EQ(GetForegroundWindow(), a);
  SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(WindowFromPoint(POINT{5, 5}), b);
  ShowWindow(b, SW_HIDE);
  EXPECT_EQ(WindowFromPoint(POINT{5, 5}), a);
}

TEST_F(WindowInput, OwnedPopupStaysAboveItsOwner) {
  HWND owner = Create(WS_VISIBLE, 0, 0, 100, 100);
  HWND popup = Create(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, owner);
  HWND other = Create(WS_VISIBLE, 0, 0, 100, 100);
  EXPECT_EQ(WindowFromPoint(POINT{5, 5}), other);
  SetForegroundWindow(owner);
  EXPECT_EQ(WindowFromPoint(POINT{5, 5}), popup);
  EXPECT_EQ(WindowFromPoint(POINT{80, 80}), owner);
}

TEST_F(WindowInput, CaptureTakesThePenWhereverItGoes) {
  HWND left = Create(WS_VISIBLE, 0, 0, 100, 100);
  HWND right = Create(WS_VISIBLE, 120, 0, 100, 100);
  recorder.hooks[WM_LBUTTONDOWN] = [&](HWND h, WPARAM, LPARAM l) -> LRESULT {
    pen.push_back(Pen{h, WM_LBUTTONDOWN, GET_X_LPARAM(l), GET_Y_LPARAM(l)});
    SetCapture(h);
    return 0;
  };
  driver.Stroke(10, 10, 130, 10, 0);
  ASSERT_EQ(pen.size(), 3u);
  EXPECT_EQ(pen[1], (Pen{left, WM_MOUSEMOVE, 130, 10}));
  EXPECT_EQ(pen[2], (Pen{left, WM_LBUTTONUP, 130, 10}));
  EXPECT_EQ(GetCapture(), left);
  recorder.Clear();
  ReleaseCapture();
  EXPECT_EQ(recorder.log, (std::vector<Logged>{{left, WM_CAPTURECHANGED, 0}}));
  pen.clear();
  driver.PenUp(130, 10);
  EXPECT_EQ(pen, (std::vector<Pen>{{right, WM_LBUTTONUP, 10, 10}}));
}

TEST_F(WindowInput, DisabledWindowsGetNoPenAndNoKeys) {
  HWND owner = Create(WS_VISIBLE, 0, 0, 200, 200);
  HWND child = Create(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, owner);
  EnableWindow(child, FALSE);
  driver.Tap(10, 10);  // a disabled child passes the pen to its parent
  ASSERT_EQ(pen.size(), 2u);
  EXPECT_EQ(pen[0].hwnd, owner);
  SetFocus(owner);
  EXPECT_FALSE(EnableWindow(owner, FALSE));  // was enabled
  EXPECT_FALSE(IsWindowEnabled(owner));
  EXPECT_EQ(GetFocus(), nullptr);
  pen.clear();
  driver.Tap(100, 100);
  driver.PressKey(VK_RETURN);
  EXPECT_TRUE(pen.empty());
  EXPECT_TRUE(keys.empty());
  EXPECT_TRUE(EnableWindow(owner, TRUE));  // was disabled
  driver.Tap(100, 100);
  EXPECT_EQ(pen.size(), 2u);
}

TEST_F(WindowInput, KeysAndCharactersGoToTheFocusWindow) {
  HWND top = Create(WS_VISIBLE, 0, 0, 200, 200);
  HWND edit = Create(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top);
  driver.PressKey(VK_APP1);  // focus on the top-level window after creation
  recorder.Clear();
  EXPECT_EQ(SetFocus(edit), top);
  EXPECT_EQ(recorder.log, (std::vector<Logged>{{top, WM_KILLFOCUS, reinterpret_cast<WPARAM>(edit)},
                                               {edit, WM_SETFOCUS, reinterpret_cast<WPARAM>(top)}}));
  driver.KeyDown(VK_LEFT);
  driver.TypeChar(u'q');
  driver.KeyUp(VK_LEFT);
  EXPECT_EQ(keys, (std::vector<std::pair<HWND, UINT>>{{top, WM_KEYDOWN}, {top, WM_KEYUP},
                                                      {edit, WM_KEYDOWN}, {edit, WM_CHAR},
                                                      {edit, WM_KEYUP}}));
  EXPECT_EQ(keyCodes, (std::vector<WPARAM>{VK_APP1, VK_APP1, VK_LEFT, u'q', VK_LEFT}));
}

TEST_F(WindowInput, ActivationMessagesNameTheOtherWindow) {
  HWND a = Create(WS_VISIBLE, 0, 0, 100, 100);
  HWND b = Create(WS_VISIBLE, 0, 0, 100, 100);
  recorder.Clear();
  EXPECT_EQ(SetActiveWindow(a), b);
  EXPECT_EQ(recorder.log, (std::vector<Logged>{{b, WM_ACTIVATE, WA_INACTIVE},
                                               {a, WM_ACTIVATE, WA_ACTIVE},
                                               {b, WM_KILLFOCUS, reinterpret_cast<WPARAM>(a)},
                                               {a, WM_SETFOCUS, reinterpret_cast<WPARAM>(b)}}));
  ShowWindow(a, SW_HIDE);
  EXPECT_EQ(GetActiveWindow(), b);
  EXPECT_EQ(GetFocus(), b);
}

}  // namespace
