// Messages and codes that every control shares with the dialog manager (WM_COMMAND,
// WM_SETFONT, WM_GETDLGCODE and its answers) and the scroll-bar codes of the edit and list box
// controls. Included by <device/edit.h> and <device/controls.h>.
#pragma once

#include <device/user.h>

constexpr UINT WM_SETFONT = 0x0030;      // wParam font (null: the control's default), lParam redraw
constexpr UINT WM_GETFONT = 0x0031;
constexpr UINT WM_GETDLGCODE = 0x0087;   // lParam: the MSG being looked at, or null
constexpr UINT WM_COMMAND = 0x0111;      // wParam MAKEWPARAM(id, notification), lParam control

// WM_GETDLGCODE answers: which keys a control keeps from the dialog manager.
constexpr LRESULT DLGC_WANTARROWS = 0x0001;
constexpr LRESULT DLGC_WANTTAB = 0x0002;
constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
constexpr LRESULT DLGC_WANTMESSAGE = 0x0004;
constexpr LRESULT DLGC_HASSETSEL = 0x0008;
constexpr LRESULT DLGC_DEFPUSHBUTTON = 0x0010;
constexpr LRESULT DLGC_UNDEFPUSHBUTTON = 0x0020;
constexpr LRESULT DLGC_RADIOBUTTON = 0x0040;
constexpr LRESULT DLGC_WANTCHARS = 0x0080;
constexpr LRESULT DLGC_STATIC = 0x0100;
constexpr LRESULT DLGC_BUTTON = 0x2000;

constexpr WPARAM MAKEWPARAM(WORD low, WORD high) {
  return static_cast<WPARAM>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16));
}
constexpr LRESULT MAKELRESULT(WORD low, WORD high) {
  return static_cast<LRESULT>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16));
}

// --- scroll-bar messages and codes (the edit and list box controls) ---
constexpr UINT WM_VSCROLL = 0x0115;  // wParam MAKEWPARAM(SB_* code, thumb position)

constexpr WORD SB_LINEUP = 0;
constexpr WORD SB_LINEDOWN = 1;
constexpr WORD SB_PAGEUP = 2;
constexpr WORD SB_PAGEDOWN = 3;
constexpr WORD SB_THUMBPOSITION = 4;
constexpr WORD SB_THUMBTRACK = 5;
constexpr WORD SB_TOP = 6;
constexpr WORD SB_BOTTOM = 7;
constexpr WORD SB_ENDSCROLL = 8;
