// The window stack: the top is the last window pushed; popping a window that is not on top
// leaves the stack alone and says "window stack" in a box owned by that window.
#include "shell_test_support.h"

#include <device/message_box_probe.h>

#include <gtest/gtest.h>

namespace {

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

HWND MakeWindow(const WCHAR* title) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = PlainProc;
  wc.lpszClassName = u"StackTestWindow";
  RegisterClass(&wc);
  return CreateWindowEx(0, u"StackTestWindow", title, WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
}

TEST(WindowStack, PopOfAWindowBelowTheTopShowsWindowStackAndChangesNothing) {
  HWND lower = nullptr, upper = nullptr;
  HWND topAfterBadPop = nullptr, topAfterPops = reinterpret_cast<HWND>(1);
  int countAfterBadPop = -1;
  device::RunProgramWithScript(
      [&] {
        shell_test::ResetProcessState();
        EXPECT_EQ(TopWindow(), nullptr);
        lower = MakeWindow(u"lower");
        upper = MakeWindow(u"upper");
        PushWindow(lower);
        PushWindow(upper);
        PopWindow(lower);  // the box is answered by the script
        topAfterBadPop = TopWindow();
        countAfterBadPop = TheWindowStack.count;
        PopWindow(upper);
        PopWindow(lower);
        topAfterPops = TopWindow();
        return 0;
      },
      [&](device::Driver& d) {
        HWND box = device::FindMessageBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(device::MessageBoxText(box), u"window stack");
        EXPECT_EQ(device::MessageBoxCaption(box), u"tavrel");
        EXPECT_EQ(device::MessageBoxType(box) & MB_TYPEMASK, MB_OK);
        EXPECT_EQ(GetWindow(box, GW_OWNER), lower);
        device::PressMessageBoxButton(box, IDOK);
        d.RunUntilIdle();
        EXPECT_EQ(device::FindMessageBox(), nullptr) << "a second box: the good pops complained";
      });
  EXPECT_EQ(topAfterBadPop, upper);
  EXPECT_EQ(countAfterBadPop, 2);
  EXPECT_EQ(topAfterPops, nullptr);
}

}  // namespace
