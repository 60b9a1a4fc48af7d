// ViewNoteWindowClass: the notes list's preview control, subclassed. Installed by the notes
// list on its control 1057; everything but the pen-up notice is the platform edit control's.
#include "notes/view_note_window.h"

#include "common/messages.h"

#include <device/dialogs.h>

namespace {

constexpr WCHAR kEditClass[] = u"EDIT";

// The edit control's procedure, looked up on every message so that the preview always behaves
// as the device's current edit control does.
LRESULT CallEdit(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WNDCLASSW edit{};
  if (!GetClassInfo(nullptr, kEditClass, &edit) || edit.lpfnWndProc == nullptr) {
    return DefWindowProc(hwnd, msg, wParam, lParam);
  }
  return CallWindowProc(edit.lpfnWndProc, hwnd, msg, wParam, lParam);
}

LRESULT OnPenUp(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallEdit(hwnd, WM_LBUTTONUP, wParam, lParam);
  SendMessage(GetParent(hwnd), PreviewToggleMessage, 0, 0);
  return result;
}

}  // namespace

LRESULT CALLBACK ViewNoteWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_LBUTTONUP: return OnPenUp(hwnd, wParam, lParam);
    default: return CallEdit(hwnd, msg, wParam, lParam);
  }
}
