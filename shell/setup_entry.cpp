#include "shell/setup_entry.h"

#include "settings/setup_dialog.h"
#include "shell/edit_mode.h"
#include "shell/main_screen.h"
#include "shell/program_folder.h"
#include "shell/window_stack.h"

#include <device/kernel.h>

namespace {

// A predefined text is typed in the main screen, editing one text for another window.
bool EditTextInMainScreen(HWND owner, const WCHAR* title, WCHAR* text, int room) {
  EditRequest request{};
  CopyBounded(request.title, kEditTitleRoom, title);
  CopyBounded(request.text, kEditTextRoom, text);
  EditMode = kEditField;
  if (OpenMainScreen(owner, &request) != 1) return false;
  CopyBounded(text, room, request.text);
  return true;
}

constexpr SetupServices kSetupServices{EditTextInMainScreen, StartAssignTool, PushWindow, PopWindow};

}  // namespace

void OpenSetupDialog(HWND mainWindow) { RunSetupDialog(mainWindow, &kSetupServices); }

void StartAssignTool() {
  WCHAR tool[kPathRoom];
  WCHAR self[kPathRoom] = {};
  if (!ProgramFolderPath(u"assign.exe", tool)) return;
  GetModuleFileName(nullptr, self, kPathRoom);
  STARTUPINFOW startup{sizeof(STARTUPINFOW)};
  PROCESS_INFORMATION process{};
  if (!CreateProcess(tool, self, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}
