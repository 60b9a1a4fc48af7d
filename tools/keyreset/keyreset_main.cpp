// keyreset: gives the hardware button bound to the program named on the command line (its
// full path) its factory command back and removes the program's AssignedButtonKey. It shows
// nothing, does not restart the device, and returns 1. With an empty command line nothing is
// read, written or deleted.
#include "tools/assign/button_registry.h"

#include <device/registry.h>
#include <device/windows.h>

int WinMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int) {
  const std::u16string path = commandLine != nullptr ? commandLine : u"";
  if (path.empty()) return 1;
  const std::u16string assignedKey = AssignedButtonKey(path);
  const int button = ReadAssignedButton(assignedKey);
  if (button != 0) RestoreFactoryCommand(button);
  RegDeleteKey(HKEY_LOCAL_MACHINE, assignedKey.c_str());
  return 1;
}
