// What the contact windows need from the program's shell, a layer above the contacts: the
// window stack, the main screen as the editor of one contact entry, and the soft-key menu bar.
// The shell hands this table to the window it opens, and each window hands it on to the
// windows it opens in turn.
#pragma once

#include "contacts/poom/poom_interface.h"

#include <device/windows.h>

#include <cstdint>

// The main screen's text room (characters with the terminator).
constexpr int kFieldEditRoom = 1000;

// The menu bar kinds of the contact windows (the menu bar's own numbering).
enum ContactMenuKind : std::int32_t {
  kContactListMenuKind = 2,
  kContactMenuMenuKind = 3,
  kContactDetailsMenuKind = 4,
};

// Every member is set.
struct ContactWindowsHost {
  void (*pushWindow)(HWND window);
  void (*popWindow)(HWND window);
  HWND (*topWindow)();
  // Runs the main screen modally over `owner` as the editor of one text titled `title`
  // (calculator keypad first when `numeric`); `text` (room characters) is the text on entry
  // and the accepted text on return. Afterwards the main screen is set up for the contact list
  // again. Returns 1 accepted, 0 cancelled, -1 when it could not be opened.
  int (*editText)(HWND owner, const WCHAR* title, WCHAR* text, int room, bool numeric);
  // Creates the menu bar of `kind` over `owner`: along the top (grid false), or as the pop-up
  // grid that VK_RETURN opens when the menu is not always shown.
  HWND (*createMenu)(HWND owner, std::int32_t kind, bool grid);
  // The start window, whose full-screen timer the contacts setup restarts when it closes.
  HWND (*startWindow)();
};

// What the contact windows are created with (the lParam of their WM_INITDIALOG).
struct ContactWindowParams {
  const ContactWindowsHost* host;  // outlives every contact window
  ContactRecord* record;           // the contact shown or edited; null for a new contact
};
