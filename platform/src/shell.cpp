// The shell stand-ins: SHFullScreen, SHInitDialog, SHSipPreference, GXOpenInput, GXCloseInput,
// and the recorded state tests read through device::GetShellState (see device/shell.h).
//
// SHFullScreen applies each show/hide pair it is given (hide wins when a caller passes both,
// as the flags are applied hide last) and remembers the window. SHInitDialog sizes a dialog to
// the screen for any of its size flags, adds the Done button (dialog.cpp draws it) and lowers
// the input panel for SHIDIF_SIPDOWN. SHSipPreference raises or lowers the input panel.
#include "internal/dialog_state.h"

#include <device/shell.h>

namespace {

device::ShellState& State() {
  static device::ShellState state;
  return state;
}

void Apply(bool& shown, DWORD flags, DWORD show, DWORD hide) {
  if (flags & show) shown = true;
  if (flags & hide) shown = false;
}

}  // namespace

BOOL SHFullScreen(HWND hwnd, DWORD flags) {
  if (!IsWindow(hwnd)) return FALSE;
  device::ShellState& s = State();
  Apply(s.taskBarShown, flags, SHFS_SHOWTASKBAR, SHFS_HIDETASKBAR);
  Apply(s.sipButtonShown, flags, SHFS_SHOWSIPBUTTON, SHFS_HIDESIPBUTTON);
  Apply(s.startIconShown, flags, SHFS_SHOWSTARTICON, SHFS_HIDESTARTICON);
  s.fullScreenWindow = hwnd;
  s.lastFullScreenFlags = flags;
  ++s.fullScreenCalls;
  return TRUE;
}

BOOL SHInitDialog(PSHINITDLGINFO info) {
  if (!info || !(info->dwMask & SHIDIM_FLAGS)) return FALSE;
  HWND dialog = info->hDlg;
  if (!device::internal::DialogStateOf(dialog)) return FALSE;
  DWORD flags = info->dwFlags;
  if (flags & SHIDIF_DONEBUTTON) device::internal::EnableDoneButton(dialog);
  if (flags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR)) {
    SetWindowPos(dialog, nullptr, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (flags & SHIDIF_SIPDOWN) State().sipShown = false;
  return TRUE;
}

BOOL SHSipPreference(HWND hwnd, SIPSTATE state) {
  switch (state) {
    case SIP_UP: State().sipShown = true; return TRUE;
    case SIP_DOWN:
    case SIP_FORCEDOWN: State().sipShown = false; return TRUE;
    default: return TRUE;
  }
}

int GXOpenInput() {
  State().gameInputOpen = true;
  return 1;
}

int GXCloseInput() {
  State().gameInputOpen = false;
  return 1;
}

namespace device {

ShellState GetShellState() { return State(); }

void ResetShellState() { State() = ShellState{}; }

}  // namespace device
