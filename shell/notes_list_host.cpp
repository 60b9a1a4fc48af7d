// The shell's part of the notes list: its window stack entries, the main screen it runs for
// editing and searching, and its kind-1 menu as bar or grid.
#include "shell/notes_list_host.h"

#include "notes/notes_list.h"
#include "shell/edit_mode.h"
#include "shell/edit_request.h"
#include "shell/main_screen.h"
#include "shell/menu_bar.h"
#include "shell/startup.h"
#include "shell/window_stack.h"

namespace {

int RunMainScreenForList(HWND owner, std::int32_t editMode, const WCHAR* title, WCHAR* text, int room) {
  EditRequest request{};
  CopyBounded(request.title, kEditTitleRoom, title);
  CopyBounded(request.text, kEditTextRoom, text);
  EditMode = editMode;
  const int result = OpenMainScreen(owner, &request);
  EditMode = kEditNotesList;
  CopyBounded(text, room, request.text);
  return result;
}

// The bar lies along the top of the list; the grid pops up in the middle of the screen.
HWND CreateNotesMenu(HWND owner, bool grid) {
  MenuSpec menu{kMenuNotesList, 0, grid ? 1 : 0};
  return CreateWindowEx(0, kMenuClassName, kMenuTitle, grid ? kMenuGridStyle : kMenuBarStyle, 0, grid ? 150 : 0, 240,
                        30, owner, nullptr, ProgramInstance, &menu);
}

constexpr NotesListHost kNotesListHost{PushWindow, PopWindow, TopWindow, RunMainScreenForList, CreateNotesMenu};

}  // namespace

void OpenNotesListWindow(HWND mainWindow) { OpenNotesList(ProgramInstance, mainWindow, &kNotesListHost); }
