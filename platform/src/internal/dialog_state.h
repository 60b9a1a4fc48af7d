// The dialog manager's own record of each dialog, shared by its modules (dialog,
// dialog_template, dialog_keys, dialog_items, message_box, shell).
//
// The record hangs off the dialog window's extra bytes after the three documented slots
// (DWL_MSGRESULT, DWL_DLGPROC, DWL_USER), so GWL_USERDATA stays free for the program.
#pragma once

#include <device/dialogs.h>

#include <vector>

namespace device::internal {

struct MessageBoxRequest;  // message_box.cpp

constexpr int kDialogStateOffset = static_cast<int>(3 * sizeof(LONG_PTR));
constexpr int kDialogExtraBytes = static_cast<int>(4 * sizeof(LONG_PTR));

struct DialogState {
  HFONT font = nullptr;        // the dialog's font, given to every control
  bool ownsFont = false;       // made from the template's face (deleted with the dialog)
  SIZE baseUnits{4, 8};        // pixels per 4 horizontal and 8 vertical dialog units
  HWND savedFocus = nullptr;   // the control to give the focus back to on activation
  int defaultId = 0;           // DM_SETDEFID; 0: look for a BS_DEFPUSHBUTTON
  bool modal = false;
  bool ended = false;          // EndDialog was called
  INT_PTR result = 0;          // EndDialog's value
  HWND disabledOwner = nullptr;  // the owner a modal dialog disabled; re-enabled by EndDialog
  bool doneButton = false;     // SHInitDialog asked for the Done button in the caption
  bool donePressed = false;    // the pen went down on the Done button and is still on it
  bool doneTracking = false;   // the pen went down on the Done button and is not up yet
  const MessageBoxRequest* messageBox = nullptr;  // set while the dialog is a message box
};

// The record of a dialog ("#32770" window), or null for any other window.
DialogState* DialogStateOf(HWND hwnd);

// Dialog templates (dialog_template.cpp).
const DialogTemplate* FindDialogTemplate(LPCWSTR name);
// The font a template asks for (owned = true: the caller deletes it) or the device font.
HFONT CreateTemplateFont(const DialogTemplate& dialog, bool* owned);
SIZE DialogBaseUnitsOf(HFONT font);
RECT DialogUnitsToPixels(const SIZE& baseUnits, int x, int y, int cx, int cy);

// Creation shared by the modal and modeless calls (dialog.cpp). A modal dialog disables
// `owner`'s top-level window before WM_INITDIALOG and stays hidden until shown by the loop.
HWND CreateDialogWindow(HINSTANCE instance, const DialogTemplate& dialog, HWND owner,
                        DLGPROC proc, LPARAM param, bool modal);
INT_PTR RunModalDialog(HWND dialog);

// Focus and groups (dialog_keys.cpp).
// Gives `control` the focus the way the dialog manager does: an edit control's whole text
// is selected when it gets the focus from the keyboard.
void SetDialogFocus(HWND dialog, HWND control);
// The controls of the group `control` belongs to, in order, hidden and disabled ones too:
// a group starts at a WS_GROUP control and runs up to the next one.
std::vector<HWND> GroupMembers(HWND control);

// The Done button (dialog.cpp).
void EnableDoneButton(HWND dialog);

// Registers every class a dialog may need from the platform (dialogs, edits, buttons,
// statics, list and combo boxes); each only once.
void EnsureDialogClasses();

}  // namespace device::internal
