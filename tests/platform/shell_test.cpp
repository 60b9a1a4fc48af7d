// The shell stand-ins record what the device would show: task bar, input-panel button and
// Start icon from SHFullScreen, the input panel, and the game input.
#include "dialog_test_support.h"

#include <device/shell.h>

#include <gtest/gtest.h>

namespace {

class Shell : public ::testing::Test {
 protected:
  device::Driver driver;
  HWND host = dlgtest::CreateHost();
  void SetUp() override { device::ResetShellState(); }
};

TEST_F(Shell, FullScreenFlagsHideAndShowEachPartAndRememberTheWindow) {
  device::ShellState start = device::GetShellState();
  EXPECT_TRUE(start.taskBarShown && start.sipButtonShown && start.startIconShown);

  EXPECT_TRUE(SHFullScreen(host, 0x2A));  // everything hidden
  device::ShellState s = device::GetShellState();
  EXPECT_FALSE(s.taskBarShown);
  EXPECT_FALSE(s.sipButtonShown);
  EXPECT_FALSE(s.startIconShown);
  EXPECT_EQ(s.fullScreenWindow, host);

  EXPECT_TRUE(SHFullScreen(host, SHFS_SHOWTASKBAR | SHFS_SHOWSIPBUTTON));  // the others keep theirs
  s = device::GetShellState();
  EXPECT_TRUE(s.taskBarShown);
  EXPECT_TRUE(s.sipButtonShown);
  EXPECT_FALSE(s.startIconShown);

  EXPECT_TRUE(SHFullScreen(host, 0x29));  // task bar shown, the input-panel button and Start icon hidden
  s = device::GetShellState();
  EXPECT_TRUE(s.taskBarShown);
  EXPECT_FALSE(s.sipButtonShown);
  EXPECT_FALSE(s.startIconShown);
  EXPECT_EQ(s.lastFullScreenFlags, 0x29u);
  EXPECT_EQ(s.fullScreenCalls, 3);

  DestroyWindow(host);
  EXPECT_FALSE(SHFullScreen(host, SHFS_HIDETASKBAR));
  EXPECT_EQ(device::GetShellState().fullScreenCalls, 3);
  EXPECT_TRUE(device::GetShellState().taskBarShown);
}

TEST_F(Shell, InputPanelAndGameInputAreRecorded) {
  EXPECT_TRUE(SHSipPreference(host, SIP_UP));
  EXPECT_TRUE(device::GetShellState().sipShown);
  SHSipPreference(host, SIP_DOWN);
  EXPECT_FALSE(device::GetShellState().sipShown);
  EXPECT_EQ(GXOpenInput(), 1);
  EXPECT_TRUE(device::GetShellState().gameInputOpen);
  EXPECT_EQ(GXCloseInput(), 1);
  EXPECT_FALSE(device::GetShellState().gameInputOpen);
}

TEST_F(Shell, InitDialogRefusesWindowsThatAreNoDialogs) {
  SHINITDLGINFO info{SHIDIM_FLAGS, host, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN};
  EXPECT_FALSE(SHInitDialog(&info));
  EXPECT_FALSE(SHInitDialog(nullptr));
}

}  // namespace
