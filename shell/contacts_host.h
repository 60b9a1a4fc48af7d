// Opening the contact windows from the start window: the shell's window stack, main screen and
// menu bar handed to the contact windows (a layer below the shell) as their ContactWindowsHost.
#pragma once

#include <device/windows.h>

// The contacts band: the contact list, modeless, over the start window (the band has waited
// for the contacts).
void OpenContactListWindow(HWND mainWindow);
// The new-contact band: the contact menu without a contact, modeless, over the start window.
void OpenNewContactWindow(HWND mainWindow);
