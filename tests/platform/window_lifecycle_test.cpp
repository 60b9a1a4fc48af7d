// Creating and destroying windows: the exact message sequences, creation parameters, failed
// creation, owned pop-ups and the hand-over of activation.
#include "window_test_support.h"

#include <gtest/gtest.h>

using namespace wmtest;

namespace {

class WindowLifecycle : public ::testing::Test, public Fixture {};

TEST_F(WindowLifecycle, CreatingVisibleTopLevel_SendsCreationThenShowThenActivation) {
  HWND w = Create(WS_VISIBLE, 0, 0, 100, 80);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(recorder.Messages(),
            (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW,
                               WM_ACTIVATE, WM_SETFOCUS}));
  EXPECT_EQ(GetActiveWindow(), w);
  EXPECT_EQ(GetFocus(), w);
}

TEST_F(WindowLifecycle, CreatingHiddenChild_SendsOnlyCreationAndGeometry) {
  HWND parent = Create(WS_VISIBLE, 0, 0, 100, 80);
  recorder.Clear();
  HWND child = Create(WS_CHILD, 10, 20, 30, 40, parent);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(recorder.log, (std::vector<Logged>{{child, WM_NCCREATE, 0},
                                               {child, WM_CREATE, 0},
                                               {child, WM_SIZE, SIZE_RESTORED},
                                               {child, WM_MOVE, 0}}));
  EXPECT_FALSE(IsWindowVisible(child));
  EXPECT_EQ(GetFocus(), parent);  // children are not activated or focused by creation
}

TEST_F(WindowLifecycle, CreateStructCarriesParametersAndSizeMoveCarryClientGeometry) {
  HWND parent = Create(WS_VISIBLE | WS_BORDER, 5, 6, 100, 80);
  int param = 42;
  CREATESTRUCTW seen{};
  LPARAM sizeArg = 0, moveArg = 0;
  recorder.hooks[WM_CREATE] = [&](HWND, WPARAM, LPARAM l) -> LRESULT {
    seen = *reinterpret_cast<CREATESTRUCTW*>(l);
    return 0;
  };
  recorder.hooks[WM_SIZE] = [&](HWND, WPARAM, LPARAM l) -> LRESULT { sizeArg = l; return 0; };
  recorder.hooks[WM_MOVE] = [&](HWND, WPARAM, LPARAM l) -> LRESULT { moveArg = l; return 0; };
  HWND child = CreateWindowEx(0, kRecordingClass, u"kid", WS_CHILD | WS_BORDER, 10, 20, 30, 40,
                              parent, reinterpret_cast<HMENU>(7), nullptr, &param);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(seen.lpCreateParams, &param);
  EXPECT_EQ(seen.x, 10);
  EXPECT_EQ(seen.cy, 40);
  EXPECT_EQ(seen.hwndParent, parent);
  EXPECT_EQ(std::u16string(seen.lpszName), u"kid");
  // Client of a bordered 30 x 40 window is 28 x 38, at (11, 21) in the parent's client area.
  EXPECT_EQ(sizeArg, MAKELPARAM(28, 38));
  EXPECT_EQ(moveArg, MAKELPARAM(11, 21));
  EXPECT_EQ(GetDlgCtrlID(child), 7);
  EXPECT_EQ(driver.WindowText(child), u"kid");
  RECT r;
  GetWindowRect(child, &r);
  EXPECT_EQ(r.left, 5 + 1 + 10);  // parent at 5, its border 1, child at 10
  GetClientRect(child, &r);
  EXPECT_EQ(r.right, 28);
}

TEST_F(WindowLifecycle, CreateReturningMinusOne_FailsAndDestroysTheWindow) {
  HWND created = nullptr;
  recorder.hooks[WM_CREATE] = [&](HWND h, WPARAM, LPARAM) -> LRESULT {
    created = h;
    return -1;
  };
  EXPECT_EQ(Create(WS_VISIBLE, 0, 0, 10, 10), nullptr);
  EXPECT_EQ(recorder.MessagesFor(created),
            (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}));
  EXPECT_FALSE(IsWindow(created));
}

TEST_F(WindowLifecycle, UnknownClassOrChildWithoutParent_Fails) {
  EXPECT_EQ(CreateWindowEx(0, u"NoSuchClass", u"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                           nullptr),
            nullptr);
  EXPECT_EQ(Create(WS_CHILD, 0, 0, 1, 1, nullptr), nullptr);
}

TEST_F(WindowLifecycle, DestroyingParent_DestroysChildrenParentsFirstAndFreesChildrenFirst) {
  HWND other = Create(WS_VISIBLE, 0, 0, 50, 50);
  HWND parent = Create(WS_VISIBLE, 0, 0, 100, 100);
  HWND child = Create(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent);
  HWND grandchild = Create(WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, child);
  SetFocus(child);
  recorder.Clear();
  EXPECT_TRUE(DestroyWindow(parent));
  EXPECT_EQ(recorder.log, (std::vector<Logged>{
                              {parent, WM_ACTIVATE, WA_INACTIVE},
                              {other, WM_ACTIVATE, WA_ACTIVE},
                              {child, WM_KILLFOCUS, reinterpret_cast<WPARAM>(other)},
                              {other, WM_SETFOCUS, reinterpret_cast<WPARAM>(child)},
                              {parent, WM_DESTROY, 0},
                              {child, WM_DESTROY, 0},
                              {grandchild, WM_DESTROY, 0},
                              {grandchild, WM_NCDESTROY, 0},
                              {child, WM_NCDESTROY, 0},
                              {parent, WM_NCDESTROY, 0}}));
  EXPECT_FALSE(IsWindow(parent));
  EXPECT_FALSE(IsWindow(grandchild));
  EXPECT_EQ(GetActiveWindow(), other);
}

TEST_F(WindowLifecycle, DestroyingVisibleChild_HidesItFirstAndGivesFocusToParent) {
  HWND parent = Create(WS_VISIBLE, 0, 0, 100, 100);
  HWND child = Create(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent);
  SetFocus(child);
  recorder.Clear();
  DestroyWindow(child);
  EXPECT_EQ(recorder.log, (std::vector<Logged>{{child, WM_SHOWWINDOW, FALSE},
                                               {child, WM_KILLFOCUS, reinterpret_cast<WPARAM>(parent)},
                                               {parent, WM_SETFOCUS, reinterpret_cast<WPARAM>(child)},
                                               {child, WM_DESTROY, 0},
                                               {child, WM_NCDESTROY, 0}}));
  EXPECT_EQ(GetWindow(parent, GW_CHILD), nullptr);
}

TEST_F(WindowLifecycle, DestroyingOwner_DestroysOwnedPopupsFirst) {
  HWND owner = Create(WS_VISIBLE, 0, 0, 100, 100);
  HWND popup = Create(WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, owner);
  EXPECT_EQ(GetWindow(popup, GW_OWNER), owner);
  EXPECT_EQ(GetParent(popup), owner);
  recorder.Clear();
  DestroyWindow(owner);
  auto destroys = recorder.log;
  std::erase_if(destroys, [](const Logged& l) { return l.msg != WM_DESTROY; });
  EXPECT_EQ(destroys, (std::vector<Logged>{{popup, WM_DESTROY, 0}, {owner, WM_DESTROY, 0}}));
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(WindowLifecycle, ClosingThroughDefWindowProc_DestroysAndTimersDie) {
  HWND w = Create(WS_VISIBLE, 0, 0, 10, 10);
  SetTimer(w, 1, 100, nullptr);
  PostMessage(w, WM_CLOSE, 0, 0);
  driver.RunUntilIdle();
  EXPECT_FALSE(IsWindow(w));
  recorder.all = true;
  recorder.Clear();
  driver.AdvanceTime(500);
  EXPECT_TRUE(recorder.log.empty());
}

TEST_F(WindowLifecycle, ChildrenKeepCreationOrderAsZOrder) {
  HWND parent = Create(WS_VISIBLE, 0, 0, 100, 100);
  HWND first = Create(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, parent, u"", 1);
  HWND second = Create(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, parent, u"", 2);
  EXPECT_EQ(GetWindow(parent, GW_CHILD), first);
  EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
  EXPECT_EQ(GetWindow(second, GW_HWNDNEXT), nullptr);
  EXPECT_EQ(GetParent(first), parent);
  EXPECT_TRUE(IsChild(parent, second));
}

}  // namespace
