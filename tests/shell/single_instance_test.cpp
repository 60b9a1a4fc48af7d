// A second start of the program, as its own process on the same device: it raises the running
// instance and exits with 0, doing nothing else.
#include "shell_test_support.h"

#include "settings/registry_settings.h"
#include "shell/main_window.h"
#include "shell/menu_bar.h"

#include <device/registry.h>

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

extern char** environ;

namespace {

// Runs the program as a second process on this device image (the driver's environment is
// passed on, so it joins the image) and returns its exit status, or -1.
int StartSecondInstance(const device::Driver& d) {
  const std::string shots = (std::filesystem::path(d.DeviceFolder()) / "second-shots").string();
  setenv("TAVREL_HEADLESS", "1", 1);
  setenv("TAVREL_SHOTS", shots.c_str(), 1);
  char program[] = TAVREL_PROGRAM;
  char* argv[] = {program, nullptr};
  pid_t child = 0;
  const int spawned = posix_spawn(&child, program, nullptr, nullptr, argv, environ);
  unsetenv("TAVREL_HEADLESS");
  unsetenv("TAVREL_SHOTS");
  if (spawned != 0) return -1;
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// The running instance has its grid menu open (active, with the focus); the second start
// raises and activates the start window and ends with 0 without starting anything: no
// first-run assignment is recorded by it.
TEST(SingleInstance, ASecondStartRaisesTheRunningInstanceAndExitsWith0) {
  shell_test::RunTavrel(
      [](device::Driver& d) {
        HWND main = d.Find(kMainWindowClass, kMainWindowTitle);
        d.PressKey(VK_RETURN);
        HWND grid = d.Find(kMenuClassName, kMenuTitle);
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(GetActiveWindow(), grid);

        EXPECT_EQ(StartSecondInstance(d), 0);
        d.RunUntilIdle();  // the raise request arrives in this instance's queue
        EXPECT_EQ(GetActiveWindow(), main);
        DWORD assign = 7;
        EXPECT_FALSE(ReadDwordSetting(u"Assign", &assign)) << "the second start ran its own timers";
      },
      [] {
        DWORD off = 0;
        WriteSetting(u"Menu", REG_DWORD, &off, sizeof off);
      });
}

}  // namespace
