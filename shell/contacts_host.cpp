// The shell's part of the contact windows: their window stack entries, the main screen that
// edits one contact entry, and their menu bars (kinds 2, 3 and 4).
#include "shell/contacts_host.h"

#include "contacts/contact_list_window.h"
#include "contacts/contact_menu_window.h"
#include "shell/edit_mode.h"
#include "shell/edit_request.h"
#include "shell/main_screen.h"
#include "shell/menu_bar.h"
#include "shell/startup.h"
#include "shell/window_stack.h"

namespace {

static_assert(std::int32_t{kContactListMenuKind} == std::int32_t{kMenuContactList} &&
              std::int32_t{kContactMenuMenuKind} == std::int32_t{kMenuContactMenu} &&
              std::int32_t{kContactDetailsMenuKind} == std::int32_t{kMenuContactDetails});
static_assert(kFieldEditRoom == kEditTextRoom);

// The main screen edits the entry with EditMode 0 ("Ok" and "Cancel"); the contact windows are
// open again afterwards (EditMode 2).
int EditContactEntry(HWND owner, const WCHAR* title, WCHAR* text, int room, bool numeric) {
  EditRequest request{};
  CopyBounded(request.title, kEditTitleRoom, title);
  CopyBounded(request.text, kEditTextRoom, text);
  request.numeric = numeric ? 1 : 0;
  EditMode = kEditField;
  const int result = OpenMainScreen(owner, &request);
  EditMode = kEditContactList;
  CopyBounded(text, room, request.text);
  return result;
}

// The bar lies along the top; the grid pops up in the middle of the screen.
HWND CreateContactMenu(HWND owner, std::int32_t kind, bool grid) {
  MenuSpec menu{kind, grid ? 1 : 0, grid ? 1 : 0};
  return CreateWindowEx(0, kMenuClassName, kMenuTitle, grid ? kMenuGridStyle : kMenuBarStyle, 0, grid ? 150 : 0, 240,
                        30, owner, nullptr, ProgramInstance, &menu);
}

HWND StartWindow() { return MainWindow; }

constexpr ContactWindowsHost kContactWindowsHost{PushWindow, PopWindow, TopWindow, EditContactEntry, CreateContactMenu,
                                                 StartWindow};

}  // namespace

void OpenContactListWindow(HWND mainWindow) { OpenContactSearchWindow(ProgramInstance, mainWindow, &kContactWindowsHost); }

void OpenNewContactWindow(HWND mainWindow) { OpenNewContactMenu(ProgramInstance, mainWindow, &kContactWindowsHost); }
