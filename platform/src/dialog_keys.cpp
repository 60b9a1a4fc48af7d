// The keyboard interface of dialogs: IsDialogMessage, GetNextDlgTabItem,
// GetNextDlgGroupItem, and the focus and group rules they share with the buttons.
//
// IsDialogMessage takes a message meant for the dialog or one of its controls. For a key-down
// it first asks the focus control (WM_GETDLGCODE) which keys it keeps; of the others, Tab
// moves the focus to the next WS_TABSTOP control, the arrow keys move it within the control's
// group (checking an auto radio button it lands on), Enter sends WM_COMMAND for the focused
// push button, else for the default button (DM_GETDEFID), else IDOK, and Escape sends
// WM_COMMAND IDCANCEL. Every other message is dispatched. A control is reachable when it is
// visible and enabled. Not implemented: Shift+Tab (the device keeps no shift state),
// mnemonics, DLGC_WANTCHARS filtering.
#include "internal/dialog_state.h"

#include <device/edit.h>

#include <algorithm>

namespace device::internal {

namespace {

std::vector<HWND> Controls(HWND dialog) {
  std::vector<HWND> out;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) out.push_back(c);
  return out;
}

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE)); }

// The control's own styles, as Win32 looks at them: a dialog still hidden while it is being
// made has reachable controls.
bool Reachable(HWND hwnd) { return (StyleOf(hwnd) & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE; }

LRESULT DialogCode(HWND control, MSG* msg) {
  return SendMessage(control, WM_GETDLGCODE, msg ? msg->wParam : 0, reinterpret_cast<LPARAM>(msg));
}

void MoveInGroup(HWND dialog, HWND focus, bool previous) {
  HWND next = GetNextDlgGroupItem(dialog, focus, previous ? TRUE : FALSE);
  if (!next || next == focus) return;
  SetDialogFocus(dialog, next);
  if ((DialogCode(next, nullptr) & DLGC_RADIOBUTTON) &&
      (StyleOf(next) & BS_TYPEMASK) == BS_AUTORADIOBUTTON) {
    SendMessage(next, BM_CLICK, 0, 0);
  }
}

void PressEnter(HWND dialog) {
  HWND focus = GetFocus();
  if (focus && IsChild(dialog, focus) &&
      (DialogCode(focus, nullptr) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
    SendMessage(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(focus)), BN_CLICKED),
                reinterpret_cast<LPARAM>(focus));
    return;
  }
  LRESULT def = SendMessage(dialog, DM_GETDEFID, 0, 0);
  int id = HIWORD(static_cast<DWORD_PTR>(def)) == DC_HASDEFID ? LOWORD(static_cast<DWORD_PTR>(def)) : IDOK;
  HWND button = GetDlgItem(dialog, id);
  if (button && !IsWindowEnabled(button)) return;
  SendMessage(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
              reinterpret_cast<LPARAM>(button));
}

// True when the key was the dialog's to handle.
bool OnDialogKey(HWND dialog, MSG* msg) {
  HWND focus = GetFocus();
  LRESULT code = focus && (focus == dialog || IsChild(dialog, focus)) ? DialogCode(msg->hwnd, msg) : 0;
  if (code & DLGC_WANTMESSAGE) return false;
  switch (msg->wParam) {
    case VK_TAB:
      if (code & DLGC_WANTTAB) return false;
      if (HWND next = GetNextDlgTabItem(dialog, focus, FALSE)) SetDialogFocus(dialog, next);
      return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      if (code & DLGC_WANTARROWS) return false;
      if (focus && IsChild(dialog, focus)) MoveInGroup(dialog, focus, msg->wParam == VK_LEFT || msg->wParam == VK_UP);
      return true;
    case VK_RETURN:
      PressEnter(dialog);
      return true;
    case VK_ESCAPE:
      SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                  reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
      return true;
    default:
      return false;
  }
}

}  // namespace

void SetDialogFocus(HWND dialog, HWND control) {
  if (DialogCode(control, nullptr) & DLGC_HASSETSEL) SendMessage(control, EM_SETSEL, 0, -1);
  SetFocus(control);
}

std::vector<HWND> GroupMembers(HWND control) {
  HWND parent = GetParent(control);
  std::vector<HWND> all = Controls(parent);
  auto at = std::find(all.begin(), all.end(), control);
  if (at == all.end()) return {};
  auto start = at;
  while (start != all.begin() && !(StyleOf(*start) & WS_GROUP)) --start;
  auto end = at + 1;
  while (end != all.end() && !(StyleOf(*end) & WS_GROUP)) ++end;
  return std::vector<HWND>(start, end);
}

}  // namespace device::internal

using namespace device::internal;

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  std::vector<HWND> all = Controls(dialog);
  if (all.empty()) return nullptr;
  if (previous) std::reverse(all.begin(), all.end());
  auto at = std::find(all.begin(), all.end(), control);
  size_t start = at == all.end() ? all.size() - 1 : static_cast<size_t>(at - all.begin());
  for (size_t step = 1; step <= all.size(); ++step) {
    HWND c = all[(start + step) % all.size()];
    if ((StyleOf(c) & WS_TABSTOP) && Reachable(c)) return c;
  }
  return nullptr;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
  if (!control || !IsChild(dialog, control)) return nullptr;
  std::vector<HWND> group = GroupMembers(control);
  if (previous) std::reverse(group.begin(), group.end());
  auto at = std::find(group.begin(), group.end(), control);
  size_t start = static_cast<size_t>(at - group.begin());
  for (size_t step = 1; step <= group.size(); ++step) {
    HWND c = group[(start + step) % group.size()];
    if (Reachable(c)) return c;
  }
  return control;
}

BOOL IsDialogMessage(HWND dialog, MSG* msg) {
  if (!msg || !IsWindow(dialog)) return FALSE;
  if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) return FALSE;
  if (msg->message == WM_KEYDOWN && OnDialogKey(dialog, msg)) return TRUE;
  TranslateMessage(msg);
  DispatchMessage(msg);
  return TRUE;
}
