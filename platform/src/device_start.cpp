// Device start-up: what every process of the device does before its program runs, whether
// it was started by the process entry or by the test driver. The system classes are
// registered here rather than on first use, so that GetClassInfo and CreateWindow find
// "EDIT", "BUTTON" and the others before any dialog exists, as on the device.
#include "internal/device_start.h"

#include <device/files.h>

#include "internal/backend.h"
#include "internal/remote_windows.h"
#include "internal/system_classes.h"

namespace device::internal {

void StartDevice() {
  MarkUiThread();  // before the window server can post into the queue from its thread
  EnsureDeviceImage();
  RegisterDialogClass();
  RegisterEditClass();
  RegisterButtonClass();
  RegisterStaticClass();
  RegisterListBoxClass();
  RegisterComboBoxClass();
  RegisterRichInkClass();
  StartRemoteWindowServer();
}

}  // namespace device::internal
