// ContactSearchWindow, the contact list: a modeless dialog (template 112) that the start
// window's contacts band opens once the contacts are loaded. The user types on the window's own
// on-screen keyboard; three result rows show the contacts whose "File as" has a word starting
// with the typed text, with counters, two arrows page through them, and a tap on a row opens
// that contact's details (ContactDetailsWindow).
//
// Where it does more than the plain description:
// - A full search text (99 characters) takes no further characters.
// - The window's title (no caption shows it) is the search text as the last search left it.
// - When the details close, the "edit" label they put on the menu goes away again; the
//   language name stays.
#pragma once

#include "contacts/contact_windows_host.h"

#include <device/windows.h>

// Sent by ContactDetailsWindow to its parent when it closes.
constexpr UINT kDetailsClosedMessage = WM_USER + 101;

BOOL CALLBACK ContactSearchWindowProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

// Creates the contact list over `owner` (modeless); null when it could not be made. The
// caller has waited for the contacts.
HWND OpenContactSearchWindow(HINSTANCE instance, HWND owner, const ContactWindowsHost* host);
