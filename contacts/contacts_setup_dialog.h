// ContactSetupDialog: which entries of the contact field table the contact menu shows, and in
// which order. A standard dialog (template 111) with the "Use these:" list (the
// FieldSelection) and the "Don't use these:" list, Up, Down, Remove and Add, and the shell's
// Done button. The contact menu runs it modally on its two lists; closing it stores the
// selection (`contactdata`, `dataperpage`).
#pragma once

#include "contacts/contact_fields.h"
#include "contacts/contact_windows_host.h"

#include <device/windows.h>

struct ContactSetupParams {
  const ContactWindowsHost* host;
  FieldEntryList* selection;  // the contact menu's FieldSelection
  FieldEntryList* unused;     // the contact menu's list of entries not in use
};

BOOL CALLBACK ContactSetupDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

// Runs the dialog modally over `owner`; returns when it is closed.
void RunContactSetupDialog(HINSTANCE instance, HWND owner, const ContactSetupParams* params);
