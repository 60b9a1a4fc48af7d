// The program entry of tavrel. The device's process entry calls it (in a window, or headless
// with --script FILE) and answers --help and --version with the identity registered here; how
// Tavrel installs itself onto the device is handed over by the install module
// (install/tavrel_install.h), which every program of Tavrel links. The headless demo is a
// script, data/demo/demo.script.
#include "install/tavrel_install.h"
#include "shell/startup.h"

#include <device/program_info.h>

namespace {

const device::ProgramInfoRegistration kIdentity{{
    "tavrel",
    kTavrelVersion,
    "a pen-operated note-taker with word prediction",
    "The device image is $TAVREL_DEVICE (default ~/.local/share/tavrel); the first start\n"
    "installs the shipped data into it. A second tavrel on the same image raises the first.\n",
    "Tavrel",
    // Installed (bin/ beside share/), else the source tree above a build folder inside it.
    {"../share/icons/hicolor/64x64/apps/tavrel.png", "../../desktop/icons/tavrel-64.png"},
}};

}  // namespace

int WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show) {
  return RunTavrel(instance);
}
