// The program entry of tavrel. The device's process entry calls it (in a window, or headless
// with --script FILE); how Tavrel installs itself onto the device is handed over by the
// install module (install/tavrel_install.h), which every program of Tavrel links. The headless
// demo is a script, data/demo/demo.script.
#include "shell/startup.h"

int WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show) {
  return RunTavrel(instance);
}
