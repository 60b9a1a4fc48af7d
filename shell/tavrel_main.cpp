// The program entry of tavrel and its headless demo: the start window, then the grid menu
// that opens on Enter when the menu bar is not shown always.
#include "settings/settings_store.h"
#include "shell/startup.h"

#include <device/driver.h>

int WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show) {
  return RunTavrel(instance);
}

// Played against the program when it runs without a display (scripts/run).
void DemoScript(device::Driver& driver) {
  driver.RunUntilIdle();
  driver.AdvanceTime(300);  // full-screen and first-run timers
  driver.Screenshot("tavrel-start");
  // The grid menu opens on Enter only with `Menu` off; the demo switches it off in the
  // settings block as the setup dialog would (the start window reads it when Enter comes).
  TheSettings().Menu = 0;
  driver.PressKey(VK_RETURN);
  driver.AdvanceTime(400);
  driver.Screenshot("tavrel-grid-menu");
}
