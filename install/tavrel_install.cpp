// Compiled into every executable that links the tavrel_install target (an interface source),
// so that its registration runs in each of them; see tavrel_install.h.
#include "install/tavrel_install.h"

device::InstallDescription TavrelInstallDescription() {
  device::InstallDescription description;
  description.programFolder = u"\\Program Files\\Tavrel";
  description.dataFolders = {u"\\My Documents\\Tavrels"};
  description.markerFile = u"keyboard.txt";
  // Beside the program in a build tree (the build folder links data/ at its top), and
  // share/tavrel of an installed tree (bin/tavrel, libexec/tavrel/assign).
  description.shippedData = {"data", "../data", "../../data", "../share/tavrel", "../../share/tavrel"};
  // The device programs: beside each other in a build tree; in an installed tree tavrel is in
  // bin/ and the button tools in libexec/tavrel/, so each looks in the other's folder too.
  description.programHostFolders = {".", "../libexec/tavrel", "../../bin"};
  description.dataOverrideVariable = "TAVREL_DATA";
  description.imageName = "tavrel";
  description.environmentPrefix = "TAVREL";  // TAVREL_DEVICE, TAVREL_SHOTS, TAVREL_HEADLESS, TAVREL_SCALE
  return description;
}

namespace {

const device::InstallRegistration registration{TavrelInstallDescription()};

}  // namespace
