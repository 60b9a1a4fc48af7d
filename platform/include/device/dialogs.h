// The device's dialogs: dialog templates kept as data, modal and modeless dialogs, dialog
// procedures, the keyboard interface of dialogs, and message boxes.
//
// Implemented (Win32 semantics, only what the programs use):
//   templates  DialogTemplate / DialogItem records registered by the program at start-up
//              (RegisterDialogTemplates) and found by id through MAKEINTRESOURCE(id)
//   dialogs    DialogBoxParam, DialogBoxIndirectParam, CreateDialogParam,
//              CreateDialogIndirectParam, EndDialog, DefDlgProc, IsDialogMessage,
//              WM_INITDIALOG, DWL_MSGRESULT / DWL_DLGPROC / DWL_USER, DM_GETDEFID /
//              DM_SETDEFID, WM_NEXTDLGCTL, GetNextDlgTabItem, GetNextDlgGroupItem,
//              MapDialogRect, GetDialogBaseUnits
//   items      GetDlgItem, SetDlgItemText, GetDlgItemText, SetDlgItemInt, GetDlgItemInt,
//              SendDlgItemMessage, CheckDlgButton, IsDlgButtonChecked, CheckRadioButton
//   boxes      MessageBox with MB_OK, MB_OKCANCEL, MB_YESNO, MB_YESNOCANCEL, the four icons,
//              MB_DEFBUTTON1..3, MB_SETFOREGROUND, MB_TOPMOST, MB_APPLMODAL
// The dialog class is "#32770": white background (as the pocket device draws dialogs), the
// caption of WS_CAPTION, and the shell's Done ("ok") button in the caption when SHInitDialog
// asked for one (<device/shell.h>).
// Differences from Win32: templates are records, not resource bytes, and one table serves the
// whole process (the instance handle is not looked at). Shift+Tab does not exist (the device
// has no shift state), so Tab moves forward only. Not implemented: DS_CONTROL child dialogs,
// mnemonics, WM_CTLCOLORDLG, dialog classes of the program's own (DialogTemplate::className is
// for the items only), system-modal boxes, MB_HELP, MB_ABORTRETRYIGNORE.
#pragma once

#include <device/controls.h>
#include <device/user.h>

#include <cstddef>
#include <cstdint>
#include <span>

using INT_PTR = std::intptr_t;
using DLGPROC = BOOL(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);

// --- dialog messages ---
constexpr UINT WM_INITDIALOG = 0x0110;  // wParam the control to get the focus, lParam the parameter
constexpr UINT WM_NEXTDLGCTL = 0x0028;  // lParam FALSE: wParam 0 next, 1 previous tab stop
constexpr UINT DM_GETDEFID = WM_USER + 0;
constexpr UINT DM_SETDEFID = WM_USER + 1;
constexpr WORD DC_HASDEFID = 0x534B;

// --- dialog window data (SetWindowLong offsets; pointer-sized, see user.h) ---
constexpr int DWL_MSGRESULT = 0;
constexpr int DWL_DLGPROC = static_cast<int>(sizeof(LONG_PTR));
constexpr int DWL_USER = static_cast<int>(2 * sizeof(LONG_PTR));
constexpr int DWLP_MSGRESULT = DWL_MSGRESULT;
constexpr int DWLP_DLGPROC = DWL_DLGPROC;
constexpr int DWLP_USER = DWL_USER;

// --- dialog styles ---
constexpr DWORD DS_ABSALIGN = 0x0001;   // the template's x, y are screen coordinates
constexpr DWORD DS_SETFONT = 0x0040;    // accepted: a template with a face always uses it
constexpr DWORD DS_MODALFRAME = 0x0080;
constexpr DWORD DS_SETFOREGROUND = 0x0200;
constexpr DWORD DS_CENTER = 0x0800;     // centred on the screen

// --- standard command ids ---
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
constexpr int IDC_STATIC = -1;

// One control of a dialog template. Coordinates and sizes are in dialog units. The style is
// used as written, with WS_CHILD added: write WS_VISIBLE (and WS_TABSTOP, WS_GROUP) in the
// table as a resource script would get them by default.
struct DialogItem {
  int id;                 // control id; IDC_STATIC for labels that are never addressed
  LPCWSTR className;      // u"BUTTON", u"EDIT", u"LISTBOX", u"COMBOBOX", u"STATIC" or a program class
  LPCWSTR text;           // window text; may be null
  DWORD style;
  short x, y, cx, cy;
  DWORD exStyle = 0;
};

// A dialog template: what a DIALOG resource holds. `style` is the dialog window's style
// (typically WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME); x, y are relative to the
// owner's client area unless DS_ABSALIGN or DS_CENTER says otherwise.
struct DialogTemplate {
  int id;
  LPCWSTR caption;
  DWORD style;
  short x, y, cx, cy;
  LPCWSTR fontFace;       // null: the device's dialog font
  WORD pointSize;         // of fontFace, at the screen's 96 dots per inch
  std::span<const DialogItem> items;
  DWORD exStyle = 0;
};

// Adds templates to the process-wide table (an id registered again replaces the older
// template). The records must outlive their use; constexpr tables do.
void RegisterDialogTemplates(const DialogTemplate* const* table, size_t count);

// --- dialogs ---
// Modal: disables the owner's top-level window, runs its own message loop until EndDialog,
// re-enables the owner, destroys the dialog and returns EndDialog's value. -1 when the template
// is missing or the dialog could not be made; 0 when the dialog was destroyed without EndDialog
// or the quit message arrived (which is posted again for the outer loop).
INT_PTR DialogBoxParam(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc,
                       LPARAM param);
INT_PTR DialogBoxIndirectParam(HINSTANCE instance, const DialogTemplate* dialog, HWND owner,
                               DLGPROC proc, LPARAM param);
inline INT_PTR DialogBox(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc) {
  return DialogBoxParam(instance, templateName, owner, proc, 0);
}
// Modeless: returns the dialog after WM_INITDIALOG; it is shown when the template has
// WS_VISIBLE. The program destroys it with DestroyWindow; EndDialog only hides it.
HWND CreateDialogParam(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc,
                       LPARAM param);
HWND CreateDialogIndirectParam(HINSTANCE instance, const DialogTemplate* dialog, HWND owner,
                               DLGPROC proc, LPARAM param);
inline HWND CreateDialog(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc) {
  return CreateDialogParam(instance, templateName, owner, proc, 0);
}
BOOL EndDialog(HWND dialog, INT_PTR result);
// The dialog class's window procedure: calls the dialog procedure first and does the
// default handling of what it leaves (returns FALSE for).
LRESULT DefDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
// Handles Tab, the arrow keys, Enter and Escape for `dialog` and dispatches every other
// message meant for it or its controls; FALSE when `msg` concerns another window.
BOOL IsDialogMessage(HWND dialog, MSG* msg);
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);
// Dialog units to pixels with the dialog's font: x * base width / 4, y * base height / 8.
BOOL MapDialogRect(HWND dialog, LPRECT rect);
// The device dialog font's base units: width in the low word, height in the high word.
LONG GetDialogBaseUnits();

// --- dialog items ---
HWND GetDlgItem(HWND dialog, int id);
BOOL SetDlgItemText(HWND dialog, int id, LPCWSTR text);
UINT GetDlgItemText(HWND dialog, int id, LPWSTR buffer, int maxCount);
BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
// Leading and trailing blanks are allowed; anything else that is not a digit (or a leading
// minus when signed) fails with 0 and *translated FALSE.
UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
LRESULT SendDlgItemMessage(HWND dialog, int id, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
// Checks `check` and unchecks every other button whose id lies in first..last.
BOOL CheckRadioButton(HWND dialog, int first, int last, int check);

// --- message boxes ---
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_TYPEMASK = 0x0000000F;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x00000040;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_ICONMASK = 0x000000F0;
constexpr UINT MB_DEFBUTTON1 = 0x00000000;
constexpr UINT MB_DEFBUTTON2 = 0x00000100;
constexpr UINT MB_DEFBUTTON3 = 0x00000200;
constexpr UINT MB_DEFMASK = 0x00000F00;
constexpr UINT MB_APPLMODAL = 0x00000000;
constexpr UINT MB_SETFOREGROUND = 0x00010000;
constexpr UINT MB_TOPMOST = 0x00040000;
// MB_OK (0) is declared in user.h for MessageBeep.

// A modal box centred on the screen: caption, an icon, the text wrapped to the box and the
// buttons of `type`. Returns the id of the button chosen (IDOK, IDCANCEL, IDYES, IDNO).
// Escape answers IDCANCEL when there is a Cancel button, IDOK for a box with only OK, and
// nothing otherwise. The owner (may be null) is disabled while the box is open.
int MessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
