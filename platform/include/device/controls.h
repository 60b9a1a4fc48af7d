// The device's standard controls: messages, styles and notifications of the BUTTON, STATIC,
// LISTBOX and COMBOBOX classes, the messages every control shares with the dialog manager
// (WM_COMMAND, WM_SETFONT, WM_GETDLGCODE), and the EDIT control's header when it is present.
//
// Implemented (Win32 semantics, only what the programs use):
//   BUTTON    BS_PUSHBUTTON, BS_DEFPUSHBUTTON, BS_CHECKBOX, BS_AUTOCHECKBOX, BS_RADIOBUTTON,
//             BS_AUTORADIOBUTTON, BS_GROUPBOX; BM_GETCHECK, BM_SETCHECK, BM_GETSTATE,
//             BM_SETSTATE, BM_CLICK, BM_SETSTYLE; BN_CLICKED
//   STATIC    SS_LEFT (word-wrapped), SS_CENTER, SS_RIGHT, SS_LEFTNOWORDWRAP, SS_NOPREFIX
//   LISTBOX   LBS_NOTIFY, LBS_SORT, LBS_NOINTEGRALHEIGHT, WS_VSCROLL; the LB_ messages below;
//             LBN_SELCHANGE, LBN_DBLCLK (a second tap on the selected item), LBN_SETFOCUS,
//             LBN_KILLFOCUS
//   COMBOBOX  CBS_DROPDOWNLIST (with CBS_SORT); the CB_ messages below; CBN_SELCHANGE,
//             CBN_DROPDOWN, CBN_CLOSEUP
// Not implemented: owner drawing, multiple selection, tab stops in list items, editable
// combo boxes (CBS_SIMPLE, CBS_DROPDOWN), bitmap and icon buttons, WM_CTLCOLOR* messages.
#pragma once

#include <device/control_messages.h>
#include <device/user.h>

// The EDIT control lives in its own header; included here so that one include gives a
// dialog procedure every standard control.
#include <device/edit.h>


// --- WM_COMMAND helpers ---
// The control id, the notification code and the control of a WM_COMMAND.
constexpr int CommandId(WPARAM wParam) { return LOWORD(wParam); }
constexpr int CommandCode(WPARAM wParam) { return HIWORD(wParam); }
inline HWND CommandControl(LPARAM lParam) { return reinterpret_cast<HWND>(lParam); }

// --- BUTTON ---
constexpr DWORD BS_PUSHBUTTON = 0x00000000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x00000001;
constexpr DWORD BS_CHECKBOX = 0x00000002;
constexpr DWORD BS_AUTOCHECKBOX = 0x00000003;
constexpr DWORD BS_RADIOBUTTON = 0x00000004;
constexpr DWORD BS_GROUPBOX = 0x00000007;
constexpr DWORD BS_AUTORADIOBUTTON = 0x00000009;
constexpr DWORD BS_TYPEMASK = 0x0000000F;
constexpr DWORD BS_LEFTTEXT = 0x00000020;  // check boxes and radio buttons: text left of the box

constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;  // wParam BST_UNCHECKED / BST_CHECKED
constexpr UINT BM_GETSTATE = 0x00F2;  // BST_ check bits | BST_PUSHED | BST_FOCUS
constexpr UINT BM_SETSTATE = 0x00F3;  // wParam TRUE: pushed look
constexpr UINT BM_SETSTYLE = 0x00F4;  // wParam the new BS_ type, lParam redraw
constexpr UINT BM_CLICK = 0x00F5;

constexpr WPARAM BST_UNCHECKED = 0x0000;
constexpr WPARAM BST_CHECKED = 0x0001;
constexpr LRESULT BST_PUSHED = 0x0004;
constexpr LRESULT BST_FOCUS = 0x0008;

constexpr WORD BN_CLICKED = 0;

// --- STATIC ---
constexpr DWORD SS_LEFT = 0x00000000;
constexpr DWORD SS_CENTER = 0x00000001;
constexpr DWORD SS_RIGHT = 0x00000002;
constexpr DWORD SS_LEFTNOWORDWRAP = 0x0000000C;
constexpr DWORD SS_TYPEMASK = 0x0000001F;
constexpr DWORD SS_NOPREFIX = 0x00000080;  // accepted: the device draws no mnemonic prefixes

// --- LISTBOX ---
constexpr DWORD LBS_NOTIFY = 0x0001;
constexpr DWORD LBS_SORT = 0x0002;
constexpr DWORD LBS_NOINTEGRALHEIGHT = 0x0100;
constexpr DWORD LBS_STANDARD = LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_BORDER;

constexpr UINT LB_ADDSTRING = 0x0180;
constexpr UINT LB_INSERTSTRING = 0x0181;
constexpr UINT LB_DELETESTRING = 0x0182;
constexpr UINT LB_RESETCONTENT = 0x0184;
constexpr UINT LB_SETCURSEL = 0x0186;
constexpr UINT LB_GETCURSEL = 0x0188;
constexpr UINT LB_GETTEXT = 0x0189;
constexpr UINT LB_GETTEXTLEN = 0x018A;
constexpr UINT LB_GETCOUNT = 0x018B;
constexpr UINT LB_GETTOPINDEX = 0x018E;
constexpr UINT LB_FINDSTRING = 0x018F;  // wParam start after (-1: from the top), lParam prefix
constexpr UINT LB_SETTOPINDEX = 0x0197;
constexpr UINT LB_GETITEMDATA = 0x0199;
constexpr UINT LB_SETITEMDATA = 0x019A;
constexpr UINT LB_GETITEMHEIGHT = 0x01A1;
constexpr UINT LB_FINDSTRINGEXACT = 0x01A2;

constexpr LRESULT LB_OKAY = 0;
constexpr LRESULT LB_ERR = -1;
constexpr LRESULT LB_ERRSPACE = -2;

constexpr WORD LBN_ERRSPACE = static_cast<WORD>(-2);
constexpr WORD LBN_SELCHANGE = 1;
constexpr WORD LBN_DBLCLK = 2;
constexpr WORD LBN_SETFOCUS = 4;
constexpr WORD LBN_KILLFOCUS = 5;

// --- COMBOBOX ---
constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
constexpr DWORD CBS_SORT = 0x0100;

constexpr UINT CB_GETCURSEL = 0x0147;
constexpr UINT CB_GETLBTEXT = 0x0148;
constexpr UINT CB_GETLBTEXTLEN = 0x0149;
constexpr UINT CB_INSERTSTRING = 0x014A;
constexpr UINT CB_RESETCONTENT = 0x014B;
constexpr UINT CB_FINDSTRINGEXACT = 0x0158;
constexpr UINT CB_SETCURSEL = 0x014E;
constexpr UINT CB_SHOWDROPDOWN = 0x014F;
constexpr UINT CB_GETITEMDATA = 0x0150;
constexpr UINT CB_SETITEMDATA = 0x0151;
constexpr UINT CB_GETDROPPEDSTATE = 0x0157;
constexpr UINT CB_ADDSTRING = 0x0143;
constexpr UINT CB_DELETESTRING = 0x0144;
constexpr UINT CB_GETCOUNT = 0x0146;

constexpr LRESULT CB_OKAY = 0;
constexpr LRESULT CB_ERR = -1;
constexpr LRESULT CB_ERRSPACE = -2;

constexpr WORD CBN_SELCHANGE = 1;
constexpr WORD CBN_DROPDOWN = 7;
constexpr WORD CBN_CLOSEUP = 8;
