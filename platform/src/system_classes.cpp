// Shared registration of the standard control classes.
#include "internal/system_classes.h"

namespace device::internal {

void RegisterControlClass(LPCWSTR name, WNDPROC procedure) {
  WNDCLASSW wc{};
  if (GetClassInfo(nullptr, name, &wc)) return;
  wc.lpfnWndProc = procedure;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  RegisterClass(&wc);
}

}  // namespace device::internal
