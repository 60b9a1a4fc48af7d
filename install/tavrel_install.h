// How Tavrel installs itself onto the device: its program folder (where tavrel, assign and
// keyreset live and keyboard.txt, the dictionaries and the gx images are installed), its
// default notes folder, the marker file that says the data are installed, and where the
// shipped data are found on the host. Every program of Tavrel, and every test that runs Tavrel
// code on a device, links this module; it hands the description to the device while the
// program's static objects are constructed, before the device starts.
#pragma once

#include <device/install.h>

device::InstallDescription TavrelInstallDescription();

// The version every program of Tavrel reports (--version).
inline constexpr char kTavrelVersion[] = "1.0.0";
