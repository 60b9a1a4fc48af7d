// ContactDetailsWindow: every set field of one contact under fixed labels, page by page, with
// the kind-4 menu (Edit, previous and next page, Delete after a Yes/No question, Back). A
// modeless dialog (template 121) that the contact list opens over itself with the contact read
// in full; a tap anywhere but the menu closes it. When it closes it tells its parent
// (kDetailsClosedMessage), which searches again. Its title (no caption shows it) is the
// contact's "File as".
#pragma once

#include "contacts/contact_windows_host.h"

#include <device/windows.h>

BOOL CALLBACK ContactDetailsWindowProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

// Creates the details window over `owner` (modeless) showing params->record, which must
// outlive the window; null when it could not be made.
HWND OpenContactDetailsWindow(HINSTANCE instance, HWND owner, const ContactWindowParams* params);
