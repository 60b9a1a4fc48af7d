// The dialog is run from a message the window posts to itself on creation, so that the window
// exists (and its creation has returned) before the modal dialog's loop runs.
#include "tools/assign/assign_window.h"

#include "tools/assign/assign_dialog.h"

namespace {

constexpr UINT kRunDialogMessage = WM_USER + 1;

LRESULT OnCreate(HWND hwnd, LPARAM createStruct) {
  const auto* create = reinterpret_cast<const CREATESTRUCTW*>(createStruct);
  SetWindowLong(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  PostMessage(hwnd, kRunDialogMessage, 0, 0);
  return 0;
}

LRESULT OnRunDialog(HWND hwnd) {
  RunAssignDialog(hwnd, reinterpret_cast<const AssignRequest*>(GetWindowLong(hwnd, GWL_USERDATA)));
  DestroyWindow(hwnd);
  return 0;
}

LRESULT OnCommand(HWND hwnd, int id) {
  if (id == IDOK) DestroyWindow(hwnd);
  return 0;
}

LRESULT OnDestroy() {
  PostQuitMessage(0);
  return 0;
}

}  // namespace

LRESULT CALLBACK AssignWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE: return OnCreate(hwnd, lParam);
    case kRunDialogMessage: return OnRunDialog(hwnd);
    case WM_COMMAND: return OnCommand(hwnd, LOWORD(wParam));
    case WM_DESTROY: return OnDestroy();
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}
