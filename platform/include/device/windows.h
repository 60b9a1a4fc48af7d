// The device's Win32-style API in one include, as application code sees it.
#pragma once

#include <device/win_types.h>
#include <device/user.h>      // windows, messages, timers, input, carets, cursors
#include <device/gdi.h>       // device contexts, bitmaps, brushes, fonts, text, images
#include <device/kernel.h>    // errors, handles, processes, threads, time, module path, libraries
#include <device/files.h>     // device file system and the wide C runtime streams
#include <device/registry.h>  // the device registry
#include <device/controls.h>  // EDIT, LISTBOX, COMBOBOX, BUTTON, STATIC
#include <device/dialogs.h>   // dialog templates, modal and modeless dialogs, MessageBox
#include <device/shell.h>     // full-screen state, input panel, hardware-button input
