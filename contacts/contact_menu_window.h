// ContactMenuWindow, the contact menu: edits one contact entry by entry. Twelve buttons a page
// show the entries of the user's FieldSelection with their values; a tap opens the main screen
// as the editor of that entry; the kind-3 menu offers Setup (ContactSetupDialog), the pages,
// Save and Back. Template 110 (the same empty full-screen template as the folder browser).
// The details window runs it modally on its contact; the start window's new-contact band
// creates it modeless without a contact.
//
// Where it does more than the plain description:
// - It edits a copy of the contact and writes the copy back only when Save has stored it, so
//   Back leaves the details window showing the contact as it is stored.
// - A new contact reloads the contact list through ReloadContacts, which first waits for a
//   load still running, so that clearing and loading never overlap.
// - An edited contact whose replacement the store refused (the old contact is still stored, or
//   was gone already) leaves the contact list as it was.
#pragma once

#include "contacts/contact_windows_host.h"

#include <device/windows.h>

// Posted to itself after the setup dialog: hide the shell's bars again.
constexpr UINT kContactMenuFullScreenMessage = WM_USER + 1;

BOOL CALLBACK ContactMenuWindowProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

// Runs the contact menu modally over `owner` on params->record; returns when it closes.
void RunContactMenuWindow(HINSTANCE instance, HWND owner, const ContactWindowParams* params);
// Creates the contact menu over `owner` (modeless) for a new contact; null when it could not
// be made.
HWND OpenNewContactMenu(HINSTANCE instance, HWND owner, const ContactWindowsHost* host);
