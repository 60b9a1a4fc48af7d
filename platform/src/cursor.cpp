// Cursors: LoadCursor (the system cursors IDC_ARROW and IDC_WAIT), SetCursor, GetCursor.
//
// A pen device has no pointer; the chosen cursor is only recorded, and the SDL backend shows
// a busy pointer while IDC_WAIT is set. Cursor resources of programs are not supported.
#include "internal/backend.h"

#include <device/user.h>

#include <atomic>

namespace {
// Handles of the system cursors are their resource numbers.
std::atomic<HCURSOR> current{nullptr};
}  // namespace

HCURSOR LoadCursor(HINSTANCE instance, LPCWSTR name) {
  if (instance || (name != IDC_ARROW && name != IDC_WAIT)) return nullptr;
  return reinterpret_cast<HCURSOR>(const_cast<LPWSTR>(name));
}

HCURSOR SetCursor(HCURSOR cursor) { return current.exchange(cursor); }

HCURSOR GetCursor() { return current.load(); }

namespace device::internal {
bool IsWaitCursorShown() {
  return current.load() == reinterpret_cast<HCURSOR>(const_cast<LPWSTR>(IDC_WAIT));
}
}  // namespace device::internal
