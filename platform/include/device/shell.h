// The device's shell stand-ins: full-screen state (SHFullScreen), dialog initialisation
// (SHInitDialog), the soft input panel (SHSipPreference) and the game input library
// (GXOpenInput / GXCloseInput).
//
// The device draws no task bar, input-panel button or Start icon; SHFullScreen records which
// of them the shell would show, and for which window it was last asked, so that tests can
// read the state (device::GetShellState). SHInitDialog sizes a dialog to the screen and gives
// it the Done ("ok") button in its caption, which sends WM_COMMAND IDOK; a dialog without a
// caption gets one, because the pocket shell shows the Done button in its title bar.
// GXOpenInput records that the program takes the application buttons (virtual keys
// 0xC1..0xC4); the device delivers them as key messages in any case.
// Not implemented: menu bars (SHCreateMenuBar), SHIDIF_WANTSCROLLBAR, the input panel itself.
#pragma once

#include <device/user.h>

// --- SHFullScreen ---
constexpr DWORD SHFS_SHOWTASKBAR = 0x0001;
constexpr DWORD SHFS_HIDETASKBAR = 0x0002;
constexpr DWORD SHFS_SHOWSIPBUTTON = 0x0004;
constexpr DWORD SHFS_HIDESIPBUTTON = 0x0008;
constexpr DWORD SHFS_SHOWSTARTICON = 0x0010;
constexpr DWORD SHFS_HIDESTARTICON = 0x0020;

// FALSE for a window that does not exist; otherwise applies each show/hide pair given.
BOOL SHFullScreen(HWND hwnd, DWORD state);

// --- SHInitDialog ---
constexpr DWORD SHIDIM_FLAGS = 0x0001;
constexpr DWORD SHIDIF_DONEBUTTON = 0x0001;
constexpr DWORD SHIDIF_SIZEDLG = 0x0002;
constexpr DWORD SHIDIF_SIZEDLGFULLSCREEN = 0x0004;
constexpr DWORD SHIDIF_SIPDOWN = 0x0008;
constexpr DWORD SHIDIF_FULLSCREENNOMENUBAR = 0x0010;
constexpr DWORD SHIDIF_EMPTYMENU = 0x0020;

struct SHINITDLGINFO {
  DWORD dwMask;   // SHIDIM_FLAGS
  HWND hDlg;
  DWORD dwFlags;  // SHIDIF_*
};
using PSHINITDLGINFO = SHINITDLGINFO*;

// Any of the size flags sizes the dialog to the whole screen (the device has no task bar
// or menu bar to leave room for); SHIDIF_DONEBUTTON adds the Done button; SHIDIF_SIPDOWN
// hides the input panel. FALSE for a window that is not a dialog.
BOOL SHInitDialog(PSHINITDLGINFO info);

// --- soft input panel ---
enum SIPSTATE { SIP_UP = 0, SIP_DOWN = 1, SIP_FORCEDOWN = 2, SIP_UNCHANGED = 3, SIP_INPUTDIALOG = 4 };
BOOL SHSipPreference(HWND hwnd, SIPSTATE state);

// --- game input (gx.dll) ---
int GXOpenInput();   // 1: the application buttons now reach the program as key messages
int GXCloseInput();  // 1

namespace device {

// What the shell shows, as the last calls left it. At device start everything is shown and
// no window has asked for anything.
struct ShellState {
  bool taskBarShown = true;
  bool sipButtonShown = true;
  bool startIconShown = true;
  HWND fullScreenWindow = nullptr;  // the window of the last SHFullScreen call
  DWORD lastFullScreenFlags = 0;
  int fullScreenCalls = 0;
  bool sipShown = false;            // the input panel itself
  bool gameInputOpen = false;
};
ShellState GetShellState();
void ResetShellState();  // back to the start state (the test driver's fresh device)

// The shell's hardware-button keys HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shell\Keys\40C1 ..
// 40C5: for button k, `Name` (its display name), `ResetCmd` (its factory command) and
// `Default` (the command the button starts). The device image's first start creates the five
// keys with their factory commands; a key that exists is left as it is. True when all exist.
bool CreateShellButtonKeys();

}  // namespace device
